#include "render/car_drawing.h"

#include "cars/car_model.h"
#include "world/box.h"
#include "world/cylinder.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>

namespace velnor {
namespace {

void setMaterial(const Colour& colour) {
    static const GLfloat kSpecular[4] = {1, 1, 1, 1};
    glMaterialfv(GL_FRONT, GL_SPECULAR, kSpecular);
    glMaterialf(GL_FRONT, GL_SHININESS, 100);
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, colour.data());
}

} // namespace

void drawBox(const Box& box) {
    if (!box.isUsed())
        return;
    setMaterial(box.colour());
    glPushMatrix();
    const Vec3& p = box.position();
    const Vec3& o = box.offset();
    const Rotation& r = box.rotation();
    glTranslatef(p[0], p[1], p[2]);
    glTranslatef(o[0], o[1], o[2]);
    glRotatef(r[0], r[1], r[2], r[3]);
    struct Face {
        GLfloat normal[3];
        int corners[4];
    };
    static constexpr Face kFaces[6] = {
        {{0, 0, 1}, {0, 1, 2, 3}},  {{1, 0, 0}, {0, 3, 7, 4}},  {{0, 1, 0}, {0, 4, 5, 1}},
        {{-1, 0, 0}, {1, 5, 6, 2}}, {{0, -1, 0}, {2, 6, 7, 3}}, {{0, 0, -1}, {4, 7, 6, 5}},
    };
    glColor3f(box.colour()[0], box.colour()[1], box.colour()[2]);
    glBegin(GL_QUADS);
    for (const Face& face : kFaces) {
        glNormal3fv(face.normal);
        for (const int corner : face.corners)
            glVertex3fv(box.vertex(corner).data());
    }
    glEnd();
    glPopMatrix();
}

void drawCylinder(Cylinder& cylinder) {
    if (!cylinder.isUsed())
        return;
    setMaterial(cylinder.colour());
    glPushMatrix();
    const Vec3& o = cylinder.offset();
    const Rotation& r = cylinder.rotation();
    glTranslatef(o[0], o[1], o[2]);
    glRotatef(r[0], r[1], r[2], r[3]);
    if (cylinder.sides() > Cylinder::kMaxSides)
        cylinder.setSides(Cylinder::kMaxSides);
    const int n = std::max(cylinder.sides(), 0);
    const Vec3& p = cylinder.position();
    const float radius = cylinder.radius();
    const float h = cylinder.halfHeight();
    GLfloat top[Cylinder::kMaxSides][3];
    GLfloat bottom[Cylinder::kMaxSides][3];
    for (int i = 0; i < n; ++i) {
        const float a = static_cast<float>(2 * i - 1) * 3.1415927f / static_cast<float>(n);
        const float x = p[0] + radius * std::cos(a);
        const float z = p[2] + radius * std::sin(a);
        top[i][0] = bottom[i][0] = x;
        top[i][2] = bottom[i][2] = z;
        top[i][1] = p[1] + h;
        bottom[i][1] = p[1] - h;
    }
    glBegin(GL_POLYGON);
    glNormal3f(0, 1, 0);
    for (int i = 0; i < n; ++i)
        glVertex3fv(top[i]);
    glEnd();
    glBegin(GL_POLYGON);
    glNormal3f(0, -1, 0);
    for (int i = n - 1; i >= 0; --i)
        glVertex3fv(bottom[i]);
    glEnd();
    for (int m = 0; m < n; ++m) {
        const int k = m + 1 < n ? m + 1 : 0;
        glBegin(GL_POLYGON);
        glNormal3f(top[m][0], 0, top[m][2]);
        glVertex3fv(top[m]);
        glVertex3fv(bottom[m]);
        glNormal3f(top[k][0], 0, top[k][2]);
        glVertex3fv(bottom[k]);
        glVertex3fv(top[k]);
        glEnd();
    }
    glPopMatrix();
}

void drawCar(CarModel& model) {
    for (int k = 0; k < CarModel::kDrawnBodyBoxes; ++k) {
        drawBox(model.bodyBox(k));
        drawBox(model.panel(k));
        drawCylinder(model.hub(k));
        drawCylinder(model.tyre(k));
    }
}

} // namespace velnor
