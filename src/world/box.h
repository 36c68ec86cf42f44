#pragma once

#include "world/scene_object.h"

namespace velnor {

// A box of eight corners: 0-3 the top face counter-clockwise seen from above, starting towards +x
// and +y; 4-7 below 0-3 in the same order. Its world points are position + offset + the rotation
// (about position + offset) applied to a corner.
class Box : public SceneObject {
public:
    static constexpr int kCorners = 8;

    Box() { reset(); }

    void reset();

    void setVertex(int i, float x, float y, float z); // i 0-7; others ignored
    void setVertexX(int i, float x);
    void setVertexY(int i, float y);
    void setVertexZ(int i, float z);
    const Vec3& vertex(int i) const { return vertices_[i]; } // i 0-7
    float vertexX(int i) const { return vertices_[i][0]; }
    float vertexY(int i) const { return vertices_[i][1]; }
    float vertexZ(int i) const { return vertices_[i][2]; }

    void setUsed(int used) { used_ = used; }
    bool isUsed() const { return used_ != 0; } // drawn; set when a file gives a corner

protected:
    static bool validCorner(int i) { return i >= 0 && i < kCorners; }

    Vec3 vertices_[kCorners];
    int used_;
};

} // namespace velnor
