#include "render/camera_projection.h"

#include "world/camera.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

namespace velnor {

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
    // See-through colours blend over what is behind them; the alpha stays as the sky cleared it
    // (opaque), so the view shows nothing of what lies behind the window.
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
    gluLookAt(view.eye[0], view.eye[1], view.eye[2], view.target[0], view.target[1], view.target[2],
              view.up[0], view.up[1], view.up[2]);
}

} // namespace velnor
