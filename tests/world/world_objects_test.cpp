// What the course's objects hold before a course file fills them, and the views of the race as
// the camera gives them to the drawing. Expected numbers are worked out by hand (derivations
// beside each case).
#include "world/building_block.h"
#include "world/camera.h"
#include "world/course_world.h"
#include "world/cylinder.h"
#include "world/road_piece.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace velnor {
namespace {

constexpr Vec3 kZero{0, 0, 0};
constexpr Colour kOpaqueBlack{0, 0, 0, 1};
constexpr Rotation kNoRotation{0, 0, 0, 0};

// Everything a course file may set, set to something other than its start.
void dirty(SceneObject& object) {
    object.setPosition(1, 2, 3);
    object.setOffset(4, 5, 6);
    object.moveOffset(1, 1, 1);
    object.setColour(0.5f, 0.5f, 0.5f, 0.5f);
    object.setRotation(90, 1, 0, 0);
}

void expectFresh(const SceneObject& object, const char* what) {
    EXPECT_EQ(object.position(), kZero) << what;
    EXPECT_EQ(object.offset(), kZero) << what;
    EXPECT_EQ(object.colour(), kOpaqueBlack) << what;
    EXPECT_EQ(object.rotation(), kNoRotation) << what;
}

void expectFreshBox(const Box& box, const char* what) {
    expectFresh(box, what);
    EXPECT_FALSE(box.isUsed()) << what;
    for (int i = 0; i < Box::kCorners; ++i)
        EXPECT_EQ(box.vertex(i), kZero) << what << " corner " << i;
}

TEST(WorldObjectsTest, ANewObjectIsAnUnusedBlackPointAtTheOrigin) {
    expectFresh(SceneObject(), "object");
    expectFreshBox(Box(), "box");
    const Cylinder cylinder;
    expectFresh(cylinder, "cylinder");
    EXPECT_EQ(cylinder.radius(), 0);
    EXPECT_EQ(cylinder.halfHeight(), 0);
    EXPECT_EQ(cylinder.sides(), 16);
    EXPECT_FALSE(cylinder.isUsed());
}

TEST(WorldObjectsTest, AResetObjectForgetsWhatTheLastCourseSet) {
    SceneObject object;
    dirty(object);
    EXPECT_EQ(object.offset(), (Vec3{5, 6, 7}));
    object.resetObject();
    expectFresh(object, "object");

    Box box;
    dirty(box);
    for (int i = 0; i < Box::kCorners; ++i)
        box.setVertex(i, 10.0f + static_cast<float>(i), 20, 30);
    box.setUsed(1);
    box.reset();
    expectFreshBox(box, "box");

    Cylinder cylinder;
    dirty(cylinder);
    cylinder.setRadius(3);
    cylinder.setHalfHeight(4);
    cylinder.setSides(5);
    cylinder.setUsed(1);
    cylinder.reset();
    expectFresh(cylinder, "cylinder");
    EXPECT_EQ(cylinder.radius(), 0);
    EXPECT_EQ(cylinder.halfHeight(), 0);
    EXPECT_EQ(cylinder.sides(), 16);
    EXPECT_FALSE(cylinder.isUsed());

    RoadPiece piece;
    dirty(piece);
    piece.setVertex(7, 1, 1, 1);
    piece.setUsed(1);
    piece.setType(kRoadBrown);
    piece.setExtent(0, 1, -1, 1);
    piece.setViewCentre({7, 8, 9});
    piece.setCarWidth(18);
    piece.reset();
    expectFreshBox(piece, "road piece");
    EXPECT_EQ(piece.pieceType(), kRoadGrey);
    EXPECT_EQ(piece.extent(0), (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(piece.viewCentre(), kZero);
    EXPECT_EQ(piece.carWidth(), 0);
}

TEST(WorldObjectsTest, OnlyTheEightCornersOfABoxTakeAPoint) {
    Box box;
    for (const int i : {-1, 8}) {
        box.setVertex(i, 1, 1, 1);
        box.setVertexX(i, 1);
        box.setVertexY(i, 1);
        box.setVertexZ(i, 1);
    }
    for (int i = 0; i < Box::kCorners; ++i)
        EXPECT_EQ(box.vertex(i), kZero) << i;
    box.setVertexX(0, 1);
    box.setVertexY(0, 2);
    box.setVertexZ(0, 3);
    box.setVertexX(7, 4);
    box.setVertexY(7, 5);
    box.setVertexZ(7, 6);
    EXPECT_EQ(box.vertex(0), (Vec3{1, 2, 3}));
    EXPECT_EQ(box.vertex(7), (Vec3{4, 5, 6}));
    EXPECT_EQ(box.vertexX(7), 4);
    EXPECT_EQ(box.vertexY(7), 5);
    EXPECT_EQ(box.vertexZ(7), 6);

    RoadPiece piece;
    piece.setExtent(-1, 1, 1, 1);
    piece.setExtent(8, 1, 1, 1);
    piece.setExtent(7, 1, -1, 0);
    piece.setExtent(0, 0, 1, -1);
    for (int i = 1; i < 7; ++i)
        EXPECT_EQ(piece.extent(i), (std::array<int, 3>{0, 0, 0})) << i;
    EXPECT_EQ(piece.extent(7), (std::array<int, 3>{1, -1, 0}));
    EXPECT_EQ(piece.extent(0), (std::array<int, 3>{0, 1, -1}));
}

TEST(WorldObjectsTest, ABlockHoldsAtMostSixtyFourCells) {
    struct Row {
        int i, j, k;
        std::array<int, 3> counts; // i to 1..64, j to 1..64 / i, k to 1..64
    };
    const Row rows[] = {
        {1, 1, 1, {1, 1, 1}},     {8, 8, 64, {8, 8, 64}},       {8, 9, 65, {8, 8, 64}},
        {7, 10, 0, {7, 9, 1}},    {100, 100, 100, {64, 1, 64}}, {64, 2, -3, {64, 1, 1}},
        {65, 1, 63, {64, 1, 63}}, {0, 64, 1, {1, 64, 1}},       {1, 65, 1, {1, 64, 1}},
        {2, 32, 1, {2, 32, 1}},   {2, 33, 1, {2, 32, 1}},
    };
    for (const Row& row : rows) {
        BuildingBlock block;
        block.setCounts(row.i, row.j, row.k);
        EXPECT_EQ(block.counts(), row.counts) << row.i << " " << row.j << " " << row.k;
    }
}

TEST(WorldObjectsTest, ABlocksCellsLieOnItsGridAtTheOriginsHeight) {
    BuildingBlock block;
    block.setOrigin(100, -200, 30);
    block.setPitch(50, 70, 999); // the pitch's height is not used
    EXPECT_EQ(block.cell(0, 0), (Vec3{100, -200, 30}));
    EXPECT_EQ(block.cell(3, 0), (Vec3{250, -200, 30}));
    EXPECT_EQ(block.cell(0, 2), (Vec3{100, -60, 30}));
    EXPECT_EQ(block.cell(2, 5), (Vec3{200, 150, 30}));
}

TEST(WorldObjectsTest, AResetBlockIsOneEmptyCellAtTheOrigin) {
    BuildingBlock block;
    block.setOrigin(1, 2, 3);
    block.setPitch(4, 5, 6);
    block.setCounts(4, 4, 4);
    block.setViewCentre({7, 8, 9});
    block.box(3).setUsed(1);
    block.cylinder(0).setUsed(1);
    block.placeAt(10, 10, 10);
    block.reset();
    EXPECT_EQ(block.origin(), kZero);
    EXPECT_EQ(block.pitch(), kZero);
    EXPECT_EQ(block.viewCentre(), kZero);
    EXPECT_EQ(block.counts(), (std::array<int, 3>{1, 1, 1}));
    EXPECT_FALSE(block.hasUsedPart());
    for (int k = 0; k < BuildingBlock::kParts; ++k) {
        expectFreshBox(block.box(k), "box");
        expectFresh(block.cylinder(k), "cylinder");
    }
}

TEST(WorldObjectsTest, AnyUsedBoxOrCylinderMakesABlockWorthDrawing) {
    for (int k = 0; k < BuildingBlock::kParts; ++k) {
        BuildingBlock withBox;
        withBox.box(k).setUsed(1);
        EXPECT_TRUE(withBox.hasUsedPart()) << "box " << k;
        BuildingBlock withCylinder;
        withCylinder.cylinder(k).setUsed(1);
        EXPECT_TRUE(withCylinder.hasUsedPart()) << "cylinder " << k;
    }
    EXPECT_FALSE(BuildingBlock().hasUsedPart());
}

TEST(WorldObjectsTest, TheCarMovesAlongEachAxisByItsOwnStep) {
    CourseWorld world;
    world.moveCar(5, -6, 7);
    world.moveCar(1, 2, -3);
    EXPECT_EQ(world.carPosition(), (Vec3{6, -4, 4}));
}

TEST(WorldObjectsTest, TheCarIsOnTheRoadWhenAnyPieceHoldsIt) {
    CourseWorld world;
    EXPECT_FALSE(world.onRoad(0, 0, 18)); // no road at all
    // piece 49, the last, is the only road: 0..1000 along x, 0..100 across
    RoadPiece& last = world.roadPiece(49);
    last.setVertex(0, 0, 0, 0);
    last.setVertex(1, 1000, 0, 0);
    last.setVertex(2, 1000, 100, 0);
    last.setVertex(3, 0, 100, 0);
    last.setUsed(1);
    last.setType(kRoadGrey);
    EXPECT_TRUE(world.onRoad(500, 50, 18));
    EXPECT_FALSE(world.onRoad(500, 300, 18));
    world.roadPiece(0) = last; // the first as well
    EXPECT_TRUE(world.onRoad(500, 50, 18));
}

// The eye stands `d` from the target at elevation e and azimuth a:
//   eye = target + d (cos e cos a, cos e sin a, sin e),
// and "up" is the line of sight turned 90° upwards: (-sin e cos a, -sin e sin a, cos e).
// The near plane is 0.2 d, the far plane d + 1000, the field of view 40°. Numbers from these
// formulas (Python, double precision).
TEST(CameraViewsTest, EachViewPlacesTheEyeAsItsDistanceAndAnglesSay) {
    struct Row {
        const char* name;
        int mode;
        Vec3 eye, up;
        float nearPlane, farPlane;
    };
    // The car heads 30°: the following views look from 210°, the fixed ones do not turn.
    const Row rows[] = {
        {"behind (d 160, e 12°, a 210°)",
         0,
         {-135.536107f, -78.251808f, 53.265871f},
         {0.180057f, 0.103956f, 0.978148f},
         32,
         1160},
        {"close behind (d 10, e 1°, a 210°, target lowered to 12)",
         1,
         {-8.658935f, -4.999238f, 12.174524f},
         {0.015114f, 0.008726f, 0.999848f},
         2,
         1010},
        {"fixed high (d 200, e 25°, a -30°)",
         2,
         {156.977113f, -90.630779f, 104.523652f},
         {-0.365998f, 0.211309f, 0.906308f},
         40,
         1200},
        {"fixed (d 200, e 20°, a 120°)",
         3,
         {-93.969262f, 162.759536f, 88.404029f},
         {0.171010f, -0.296198f, 0.939693f},
         40,
         1200},
    };
    for (const Row& row : rows) {
        Camera camera;
        camera.setViewMode(row.mode);
        camera.followHeading(30);
        const Camera::View view = camera.applyCamera();
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(view.eye[i], row.eye[i], 2e-3) << row.name << " eye " << i;
            EXPECT_NEAR(view.up[i], row.up[i], 1e-5) << row.name << " up " << i;
        }
        EXPECT_EQ(view.target, (Vec3{0, 0, row.mode == 1 ? 12.0f : 20.0f})) << row.name;
        EXPECT_FLOAT_EQ(view.nearPlane, row.nearPlane) << row.name;
        EXPECT_FLOAT_EQ(view.farPlane, row.farPlane) << row.name;
        EXPECT_EQ(view.fovy, 40) << row.name;
    }
}

// Where the car stands changes nothing of how a view looks at it: moving the target by
// (300, -250, 5) moves the eye by as much and leaves "up" as it was (the fixed high view of the
// table above: up (-0.365998, 0.211309, 0.906308)).
TEST(CameraViewsTest, AViewLooksTheSameWhereverTheCarStands) {
    Camera camera;
    camera.setViewMode(2);
    const Camera::View before = camera.applyCamera();
    camera.moveTarget(300, -250, 5);
    const Camera::View after = camera.applyCamera();
    const Vec3 step = {300, -250, 5};
    const Vec3 up = {-0.365998f, 0.211309f, 0.906308f};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(after.eye[i] - before.eye[i], step[i], 2e-3) << "eye " << i;
        EXPECT_NEAR(after.up[i], up[i], 1e-5) << "up " << i;
    }
}

TEST(CameraViewsTest, AResetCameraLooksFromBehindAtTheStartWithTheLightHighToOneSide) {
    Camera camera;
    camera.setViewMode(2);
    camera.moveTarget(50, 60, 70);
    camera.moveLight(1, 2, 3);
    camera.setViewport(10, 20, 30, 40);
    camera.reset();
    EXPECT_EQ(camera.target(), (Vec3{0, 0, 20}));
    EXPECT_EQ(camera.light(), (std::array<float, 4>{2000, 1000, 1000, 1}));
    EXPECT_EQ(camera.viewport(), (std::array<float, 4>{0, 0, 640, 480}));
    EXPECT_EQ(camera.viewDistance(), 160);
    EXPECT_EQ(camera.azimuth(), 180);
    EXPECT_EQ(camera.nextMode(), 1);
    const Camera::View view = camera.applyCamera();
    EXPECT_EQ(view.viewport, (std::array<int, 4>{0, 0, 640, 480}));
    EXPECT_EQ(view.fovy, 40);
    // d 160, e 12°, a 180°: the eye is 156.5036 behind the target and 33.2659 above it.
    EXPECT_NEAR(view.eye[0], -156.5036f, 1e-3);
    EXPECT_NEAR(view.eye[1], 0, 1e-3);
    EXPECT_NEAR(view.eye[2], 53.2659f, 1e-3);
}

TEST(CameraViewsTest, TheTargetAndTheLightMoveAlongEachAxisByTheirOwnStep) {
    Camera camera;
    camera.moveTarget(3, -4, 5);
    camera.moveTarget(1, 1, 1);
    EXPECT_EQ(camera.target(), (Vec3{4, -3, 26}));
    camera.moveLight(-3, 4, -5);
    EXPECT_EQ(camera.light(), (std::array<float, 4>{1997, 1004, 995, 1}));
}

TEST(CameraViewsTest, TheViewportIsTakenInWholePixels) {
    Camera camera;
    camera.setViewport(1.5f, 90, 799.9f, 510.25f);
    EXPECT_EQ(camera.viewport(), (std::array<float, 4>{1.5f, 90, 799.9f, 510.25f}));
    EXPECT_EQ(camera.applyCamera().viewport, (std::array<int, 4>{1, 90, 799, 510}));
}

// Before its first frame a following view looks from straight behind a car heading 0° (azimuth
// 180°): the close view's eye is 10 cos 1° = 9.998477 behind the target and exactly level with it
// across.
TEST(CameraViewsTest, AFollowingViewStartsStraightBehind) {
    Camera camera;
    camera.setViewMode(1);
    const Camera::View view = camera.applyCamera();
    EXPECT_NEAR(view.eye[0], -9.998477f, 1e-4);
    EXPECT_NEAR(view.eye[1], 0, 1e-4);
}

} // namespace
} // namespace velnor
