#include "world/camera.h"

#include <cmath>
#include <gtest/gtest.h>

namespace velnor {
namespace {

TEST(CameraTest, ViewsInTurn) {
    Camera camera;
    camera.reset();
    EXPECT_EQ(camera.viewDistance(), 160);
    EXPECT_EQ(camera.nextMode(), 1);
    const float distances[] = {10, 200, 200, 160};
    for (const float distance : distances) {
        camera.setViewMode(-1);
        EXPECT_EQ(camera.viewDistance(), distance);
    }
    camera.setViewMode(2);
    EXPECT_EQ(camera.nextMode(), 3);
    EXPECT_EQ(camera.azimuth(), -30);
    camera.setViewMode(3);
    EXPECT_EQ(camera.nextMode(), 0);
    camera.setViewMode(9);
    EXPECT_EQ(camera.azimuth(), 120);
    EXPECT_EQ(camera.nextMode(), 0);
}

TEST(CameraTest, OnlyTheFollowingViewsSwingBehindTheCar) {
    Camera camera;
    camera.followHeading(30);
    EXPECT_EQ(camera.azimuth(), 210);
    camera.setViewMode(2);
    camera.followHeading(30);
    EXPECT_EQ(camera.azimuth(), -30);
    camera.setViewMode(1);
    EXPECT_EQ(camera.target()[2], 12); // the close view lowers the target, for the race
    camera.setViewMode(0);
    EXPECT_EQ(camera.target()[2], 12);
}

TEST(CameraTest, EyePlanesAndUpVector) {
    Camera camera;
    camera.setViewport(0, 90, 800, 600);
    camera.moveTarget(100, 0, 0);
    const Camera::View view = camera.applyCamera();
    const double el = 12 * M_PI / 180;
    EXPECT_NEAR(view.eye[0], 100 - 160 * std::cos(el), 1e-3);
    EXPECT_NEAR(view.eye[1], 0, 1e-3);
    EXPECT_NEAR(view.eye[2], 20 + 160 * std::sin(el), 1e-3);
    EXPECT_FLOAT_EQ(view.nearPlane, 32);
    EXPECT_FLOAT_EQ(view.farPlane, 1160);
    EXPECT_EQ(view.viewport, (std::array<int, 4>{0, 90, 800, 600}));
    // Up is perpendicular to the line of sight and points upwards.
    const float dx = view.target[0] - view.eye[0];
    const float dz = view.target[2] - view.eye[2];
    EXPECT_NEAR(view.up[0] * dx + view.up[2] * dz, 0, 1e-3);
    EXPECT_GT(view.up[2], 0.9f);
    EXPECT_NEAR(std::hypot(view.up[0], view.up[1], view.up[2]), 1, 1e-6);

    camera.moveLight(10, 20, 0);
    EXPECT_EQ(camera.light(), (std::array<float, 4>{2010, 1020, 1000, 1}));
}

} // namespace
} // namespace velnor
