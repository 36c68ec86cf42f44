#pragma once

#include <array>

namespace velnor {

using Vec3 = std::array<float, 3>;     // x, y, z in world units (0.1 m), z up
using Colour = std::array<float, 4>;   // red, green, blue, alpha, each 0-1
using Rotation = std::array<float, 4>; // angle in degrees, then the axis x, y, z

// The base of every drawable primitive of the world and of the cars.
class SceneObject {
public:
    SceneObject() { resetObject(); }

    void resetObject();

    void setPosition(float x, float y, float z) { position_ = {x, y, z}; }
    void moveOffset(float dx, float dy, float dz);
    void setOffset(float x, float y, float z) { offset_ = {x, y, z}; }
    void setColour(float r, float g, float b, float a) { colour_ = {r, g, b, a}; }
    void setAlpha(float a) { colour_[3] = a; }
    void setRotation(float angle, float x, float y, float z) { rotation_ = {angle, x, y, z}; }

    const Vec3& position() const { return position_; } // the object's own placement
    const Vec3& offset() const { return offset_; }     // a grid cell, or the car's position
    const Colour& colour() const { return colour_; }
    const Rotation& rotation() const { return rotation_; } // angle 0: no rotation

protected:
    Vec3 position_;
    Vec3 offset_;
    Colour colour_;
    Rotation rotation_;
};

} // namespace velnor
