#pragma once

#include "cars/car_file.h"
#include "world/box.h"
#include "world/cylinder.h"

#include <string>
#include <type_traits>

namespace velnor {

// The shape of one car: body boxes, four tyres with their hubs, and four dark panels (the
// windows) derived from one body box. The model file "Velnor.mod" holds one section per body
// type; the car drawing objects of the player and the ghost are copies of the loaded model,
// moved and turned as a whole. All parts share one offset (the car's position in the world) and
// one rotation (its heading).
class CarModel {
public:
    static constexpr int kBodyBoxes = 5; // 0-3 drawn; 4 only a source of panels
    static constexpr int kDrawnBodyBoxes = 4;
    static constexpr int kTyres = 4;
    static constexpr int kPanels = 4;

    static constexpr float kScale = 10 * 0.001f; // world units per millimetre
    static constexpr float kHubWidening = 0.0625f;
    static constexpr float kPanelDistance = 0.0625f; // outside the source box

    CarModel() { resetParts(); }

    // The drawn parts reset (body boxes 0-3, panels, tyres, hubs); width and length 0. Body box 4
    // is not touched.
    void resetParts();
    void moveParts(float dx, float dy, float dz);
    void setPartsRotation(float angle, float x, float y, float z);
    // Turns the car about the vertical axis by the heading in degrees.
    void setHeading(float heading) { setPartsRotation(heading, 0, 0, 1); }
    // The ghost car is drawn see-through.
    void makeTranslucent();
    void setBodyLength(float length) { bodyLength_ = length; }

    float bodyWidth() const { return bodyWidth_; } // world units; the on-road test's car width
    float bodyLength() const { return bodyLength_; }
    // The car's position in the world: the offset shared by its parts.
    const Vec3& position() const { return bodyBoxes_[0].offset(); }

    Box& bodyBox(int i) { return bodyBoxes_[i]; }
    const Box& bodyBox(int i) const { return bodyBoxes_[i]; }
    Box& panel(int i) { return panels_[i]; }
    const Box& panel(int i) const { return panels_[i]; }
    Cylinder& tyre(int i) { return tyres_[i]; }
    const Cylinder& tyre(int i) const { return tyres_[i]; }
    Cylinder& hub(int i) { return hubs_[i]; }
    const Cylinder& hub(int i) const { return hubs_[i]; }

    void setBodyWidth(float width) { bodyWidth_ = width; }
    // Builds the four panels round body box `source` (0-4), 1/16 unit outside it.
    void buildPanels(int source);

private:
    template <typename Action> void forEachPart(Action action);

    float bodyWidth_;
    float bodyLength_;
    Cylinder tyres_[kTyres];
    Cylinder hubs_[kTyres];
    Box bodyBoxes_[kBodyBoxes];
    Box panels_[kPanels];
};

static_assert(std::is_trivially_copyable_v<CarModel>, "a car drawing object is a copy");

// Reads the section "[typeN]" of the model file into `model` and paints body boxes 0-3 in
// `colour` when the car has one. -1 if the file cannot be opened (the model is unchanged) or a
// read error occurs (the model keeps what was read); 0 otherwise, also when the file has no
// section for the type (the model is then empty).
int loadModel(const std::string& path, int bodyType, const CarColour& colour, CarModel& model);

} // namespace velnor
