#include "world/scene.h"

#include "cars/car_drawing.h"
#include "race/game.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>

namespace velnor {
namespace {

constexpr float kReach = 1000; // world units drawn around the car

void applyCamera(const Camera& camera) {
    const Camera::View view = camera.applyCamera();
    glViewport(view.viewport[0], view.viewport[1], view.viewport[2], view.viewport[3]);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(view.fovy, static_cast<double>(view.viewport[2]) / view.viewport[3],
                   view.nearPlane, view.farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    gluLookAt(view.eye[0], view.eye[1], view.eye[2], view.target[0], view.target[1], view.target[2],
              view.up[0], view.up[1], view.up[2]);
}

void setColourMaterial(const Colour& colour) {
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, colour.data());
}

// A road piece as one quadrilateral, its corners pulled in to 1000 units around the car; the
// ground's corners (extent flags) follow the car, and markings lie 0.2 units above the road.
void drawRoadPiece(RoadPiece& piece) {
    if (!piece.isUsed())
        return;
    setColourMaterial(piece.colour());
    const Vec3& c = piece.viewCentre();
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    for (int i = 0; i < 4; ++i) {
        const auto& extent = piece.extent(i);
        float x = piece.vertexX(i);
        float y = piece.vertexY(i);
        float z = piece.vertexZ(i);
        if (extent[0]) {
            x = i < 2 ? c[0] + kReach : c[0] - kReach;
            piece.setVertexX(i, x);
        } else {
            x = std::clamp(x, c[0] - kReach, c[0] + kReach);
        }
        if (extent[1]) {
            y = i == 1 || i == 2 ? c[1] + kReach : c[1] - kReach;
            piece.setVertexY(i, y);
        } else {
            y = std::clamp(y, c[1] - kReach, c[1] + kReach);
        }
        if (extent[2]) {
            z = i < 2 ? c[2] + kReach : c[2] - kReach;
            piece.setVertexZ(i, z);
        } else if (piece.pieceType() < kRoadGrey) {
            z += 0.2f;
        }
        glVertex3f(x, y, z);
    }
    glEnd();
}

// The block's parts in every grid cell within reach of the car.
void drawBlock(BuildingBlock& block) {
    const Vec3& c = block.viewCentre();
    for (int k = 0; k < BuildingBlock::kParts; ++k) {
        for (int i = 0; i < block.counts()[0]; ++i) {
            const float x = block.origin()[0] + static_cast<float>(i) * block.pitch()[0];
            if (x < c[0] - kReach || x > c[0] + kReach)
                continue;
            for (int j = 0; j < block.counts()[1]; ++j) {
                const float y = block.origin()[1] + static_cast<float>(j) * block.pitch()[1];
                if (y < c[1] - kReach || y > c[1] + kReach)
                    continue;
                block.placeAt(x, y, block.origin()[2]);
                drawBox(block.box(k));
                drawCylinder(block.cylinder(k));
            }
        }
    }
}

} // namespace

void drawWorld(CourseWorld& world) {
    static const GLfloat kSpecular[4] = {0.1f, 0.1f, 0.1f, 1.0f};
    glMaterialfv(GL_FRONT, GL_SPECULAR, kSpecular);
    glMaterialf(GL_FRONT, GL_SHININESS, 100);
    const Vec3 c = world.carPosition();
    for (int b = 0; b < CourseWorld::kBlocks; ++b) {
        world.block(b).setViewCentre(c);
        drawBlock(world.block(b));
    }
    for (int i = 0; i < CourseWorld::kRoadPieces; ++i) {
        world.roadPiece(i).setViewCentre(c);
        drawRoadPiece(world.roadPiece(i));
    }
    RoadPiece& ground = world.ground();
    ground.setColour(0.8f, 0.5f, 0.3f, 1.0f);
    for (int i = 0; i < 4; ++i) {
        ground.setVertex(i, 0, 0, -0.5f);
        ground.setExtent(i, 1, 1, 0);
    }
    ground.setUsed(1);
    ground.setViewCentre(c);
    drawRoadPiece(ground);

    setColourMaterial({0.8f, 0.8f, 0.8f, 1.0f});
    glBegin(GL_LINES);
    const int i0 = static_cast<int>(c[1] / 100);
    for (int k = 0; k < 20; ++k) {
        const float y = static_cast<float>(100 * (i0 + k) - 1000);
        glVertex3f(c[0] + kReach, y, 0);
        glVertex3f(c[0] - kReach, y, 0);
    }
    const int j0 = static_cast<int>(c[0] / 100);
    for (int k = 0; k < 20; ++k) {
        const float x = static_cast<float>(100 * (j0 + k) - 1000);
        glVertex3f(x, c[1] + kReach, 0);
        glVertex3f(x, c[1] - kReach, 0);
    }
    glEnd();
}

void drawFrame(Game& game) {
    const auto& viewport = game.camera().viewport();
    if (static_cast<int>(viewport[3]) <= 0 || static_cast<int>(viewport[2]) <= 0)
        return; // minimised: nothing to draw into

    glClearColor(0.8f, 1.0f, 1.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    static const GLfloat kDiffuse[4] = {1, 1, 1, 1};
    static const GLfloat kSpecular[4] = {1, 1, 1, 1};
    static const GLfloat kAmbient[4] = {0.4f, 0.4f, 0.4f, 1.0f};
    glLightfv(GL_LIGHT0, GL_DIFFUSE, kDiffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, kSpecular);
    glLightfv(GL_LIGHT0, GL_AMBIENT, kAmbient);
    glLightfv(GL_LIGHT0, GL_POSITION, game.camera().light().data());
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glClear(GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_NORMALIZE);

    applyCamera(game.camera());
    drawCar(game.playerModelToDraw());
    if (game.ghostEnabled())
        drawCar(game.ghostModelToDraw());
    drawWorld(game.worldToDraw());

    // The sky's alpha is 0: make every pixel opaque, so nothing behind the window shows through.
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

} // namespace velnor
