#include "world/cylinder.h"

namespace velnor {

void Cylinder::reset() {
    resetObject();
    radius_ = 0;
    halfHeight_ = 0;
    sides_ = kMaxSides;
    used_ = 0;
}

} // namespace velnor
