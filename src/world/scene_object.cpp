#include "world/scene_object.h"

namespace velnor {

void SceneObject::resetObject() {
    position_ = {0, 0, 0};
    offset_ = {0, 0, 0};
    colour_ = {0, 0, 0, 1};
    rotation_ = {0, 0, 0, 0};
}

void SceneObject::moveOffset(float dx, float dy, float dz) {
    offset_[0] += dx;
    offset_[1] += dy;
    offset_[2] += dz;
}

} // namespace velnor
