#include "render/scene.h"

#include "render/camera_projection.h"
#include "render/car_drawing.h"
#include "render/frame_view.h"
#include "render/world_drawing.h"
#include "world/camera.h"

#include <GL/gl.h>

namespace velnor {
namespace {

// The sky's colour, opaque, and one white point light at the camera's light position.
void clearAndLight(const Camera& camera) {
    glClearColor(0.8f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    static const GLfloat kDiffuse[4] = {1, 1, 1, 1};
    static const GLfloat kSpecular[4] = {1, 1, 1, 1};
    static const GLfloat kAmbient[4] = {0.4f, 0.4f, 0.4f, 1.0f};
    glLightfv(GL_LIGHT0, GL_DIFFUSE, kDiffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, kSpecular);
    glLightfv(GL_LIGHT0, GL_AMBIENT, kAmbient);
    glLightfv(GL_LIGHT0, GL_POSITION, camera.light().data());
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glClear(GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_NORMALIZE);
}

} // namespace

void drawFrame(const FrameView& frame) {
    const auto& viewport = frame.camera.viewport();
    if (static_cast<int>(viewport[3]) <= 0 || static_cast<int>(viewport[2]) <= 0)
        return; // minimised: nothing to draw into

    clearAndLight(frame.camera);
    applyCamera(frame.camera);
    drawCar(frame.playerModel);
    if (frame.ghostShown)
        drawCar(frame.ghostModel);
    drawWorld(frame.world);
}

} // namespace velnor
