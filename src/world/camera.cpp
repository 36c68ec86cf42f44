#include "world/camera.h"

#include <cmath>
#include <numbers>

namespace velnor {

void Camera::reset() {
    target_ = {0, 0, 20};
    fovy_ = 40;
    light_ = {2000, 1000, 1000, 1};
    viewport_ = {0, 0, 640, 480};
    nextMode_ = 0;
    setViewMode(-1);
}

void Camera::setViewport(float left, float bottom, float width, float height) {
    viewport_ = {left, bottom, width, height};
}

void Camera::setViewMode(int mode) {
    const int view = mode == -1 ? nextMode_ : mode;
    switch (view) {
    case 0: // behind the car
        viewDistance_ = 160;
        elevation_ = 12;
        azimuth_ = 180;
        following_ = 1;
        break;
    case 1: // close behind, low
        viewDistance_ = 10;
        elevation_ = 1;
        azimuth_ = 180;
        following_ = 1;
        target_[2] = 12;
        break;
    case 2: // fixed, high
        viewDistance_ = 200;
        elevation_ = 25;
        azimuth_ = -30;
        following_ = 0;
        break;
    default:
        viewDistance_ = 200;
        elevation_ = 20;
        azimuth_ = 120;
        following_ = 0;
        break;
    }
    nextMode_ = view >= 0 && view < kViews - 1 ? view + 1 : 0;
}

void Camera::moveTarget(float dx, float dy, float dz) {
    target_[0] += dx;
    target_[1] += dy;
    target_[2] += dz;
}

void Camera::moveLight(float dx, float dy, float dz) {
    light_[0] += dx;
    light_[1] += dy;
    light_[2] += dz;
}

void Camera::followHeading(float heading) {
    if (following_ == 1)
        azimuth_ = heading + 180.0;
}

Camera::View Camera::applyCamera() const {
    const double el = elevation_ * std::numbers::pi / 180;
    const double az = azimuth_ * std::numbers::pi / 180;
    Vec3 eye = {static_cast<float>(target_[0] + viewDistance_ * std::cos(el) * std::cos(az)),
                static_cast<float>(target_[1] + viewDistance_ * std::cos(el) * std::sin(az)),
                static_cast<float>(target_[2] + viewDistance_ * std::sin(el))};

    View view;
    const float dx = target_[0] - eye[0];
    const float dy = target_[1] - eye[1];
    const float dz = target_[2] - eye[2];
    Vec3 up = {-dx * dz, -dy * dz, dx * dx + dy * dy};
    const float length = std::sqrt(up[0] * up[0] + up[1] * up[1] + up[2] * up[2]);
    if (length > 0)
        up = {up[0] / length, up[1] / length, up[2] / length};
    else
        up = {1, 0, 0}; // looking straight down (or no distance): any horizontal "up" will do
    if (eye[2] == target_[2])
        eye[2] += 0.1f;
    view.eye = eye;
    view.target = target_;
    view.up = up;
    view.nearPlane = 0.2f * viewDistance_;
    view.farPlane = viewDistance_ + 1000;
    view.fovy = fovy_;
    for (int i = 0; i < 4; ++i)
        view.viewport[i] = static_cast<int>(viewport_[i]);
    return view;
}

} // namespace velnor
