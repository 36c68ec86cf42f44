#include "world/box.h"

namespace velnor {

void Box::reset() {
    resetObject();
    for (Vec3& vertex : vertices_)
        vertex = {0, 0, 0};
    used_ = 0;
}

void Box::setVertex(int i, float x, float y, float z) {
    if (validCorner(i))
        vertices_[i] = {x, y, z};
}

void Box::setVertexX(int i, float x) {
    if (validCorner(i))
        vertices_[i][0] = x;
}

void Box::setVertexY(int i, float y) {
    if (validCorner(i))
        vertices_[i][1] = y;
}

void Box::setVertexZ(int i, float z) {
    if (validCorner(i))
        vertices_[i][2] = z;
}

} // namespace velnor
