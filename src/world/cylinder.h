#pragma once

#include "world/scene_object.h"

namespace velnor {

// A cylinder along its local y axis through `position`: the caps lie at position ± halfHeight
// along local y, the radius in the local x-z plane. World transform: translate by offset, apply
// the rotation, then the local points. A building cylinder is turned 90° about x to stand upright.
class Cylinder : public SceneObject {
public:
    static constexpr int kMaxSides = 16;

    Cylinder() { reset(); }

    void reset();

    void setRadius(float radius) { radius_ = radius; }
    void setHalfHeight(float halfHeight) { halfHeight_ = halfHeight; }
    void setSides(int sides) { sides_ = sides; }
    void setUsed(int used) { used_ = used; }

    float radius() const { return radius_; }
    float halfHeight() const { return halfHeight_; }
    int sides() const { return sides_; } // drawn as at most 16
    bool isUsed() const { return used_ != 0; }

private:
    float radius_;
    float halfHeight_;
    int sides_;
    int used_;
};

} // namespace velnor
