#pragma once

#include "world/scene_object.h"

#include <array>

namespace velnor {

// The view of the race: a target that follows the car, an eye at a distance, azimuth and
// elevation from it, and the light, which moves with the car as well. Four views; in views 0 and
// 1 the eye swings round behind the car as it turns. Distances in world units, angles in degrees.
class Camera {
public:
    static constexpr int kViews = 4;

    // What a frame is drawn with, derived from the camera's state.
    struct View {
        Vec3 eye;
        Vec3 target;
        Vec3 up; // perpendicular to the line of sight, in its vertical plane; unit length
        float nearPlane;
        float farPlane;
        double fovy;
        std::array<int, 4> viewport; // left, bottom, width, height in pixels
    };

    Camera() { reset(); }

    // The placement at race start: target (0, 0, 20), the light high to one side, view 0.
    void reset();
    void setViewport(float left, float bottom, float width, float height);
    // Applies `mode` (0-3, any other value as 3), or the next view in turn for -1.
    void setViewMode(int mode);
    void moveTarget(float dx, float dy, float dz);
    void moveLight(float dx, float dy, float dz);
    // In the following views the eye stays behind the car: azimuth = heading + 180.
    void followHeading(float heading);

    // The eye, clip planes, up vector and viewport of this frame.
    View applyCamera() const;

    const Vec3& target() const { return target_; }
    float viewDistance() const { return viewDistance_; }
    double azimuth() const { return azimuth_; }
    const std::array<float, 4>& light() const { return light_; }
    const std::array<float, 4>& viewport() const { return viewport_; }
    int nextMode() const { return nextMode_; }

private:
    Vec3 target_{};
    double fovy_ = 40;
    float viewDistance_ = 0;
    double azimuth_ = 0;
    float elevation_ = 0;
    std::array<float, 4> light_{};    // x, y, z, w = 1: a point light
    std::array<float, 4> viewport_{}; // left, bottom, width, height
    int nextMode_ = 0;
    int following_ = 0;
};

} // namespace velnor
