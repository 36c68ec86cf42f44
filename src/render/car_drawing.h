#pragma once

namespace velnor {

class Box;
class Cylinder;
class CarModel;

// The primitives of the 3D world drawn with fixed-function OpenGL, lit, in their colour with its
// alpha (the ghost car is see-through), each face with one fixed normal.
void drawBox(const Box& box);
// Lowers the cylinder's sides to 16 when it has more (the object keeps the lowered value).
void drawCylinder(Cylinder& cylinder);
// Body boxes 0-3, the panels, hubs and tyres of a car; body box 4 is never drawn.
void drawCar(CarModel& model);

} // namespace velnor
