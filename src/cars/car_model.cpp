#include "cars/car_model.h"

#include "platform/data_line.h"
#include "platform/line_reader.h"
#include "platform/number_text.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <string_view>

namespace velnor {

template <typename Action> void CarModel::forEachPart(Action action) {
    for (int i = 0; i < kDrawnBodyBoxes; ++i)
        action(static_cast<SceneObject&>(bodyBoxes_[i]));
    for (Box& part : panels_)
        action(static_cast<SceneObject&>(part));
    for (Cylinder& part : tyres_)
        action(static_cast<SceneObject&>(part));
    for (Cylinder& part : hubs_)
        action(static_cast<SceneObject&>(part));
}

void CarModel::resetParts() {
    for (int i = 0; i < kDrawnBodyBoxes; ++i)
        bodyBoxes_[i].reset();
    for (Box& part : panels_)
        part.reset();
    for (Cylinder& part : tyres_)
        part.reset();
    for (Cylinder& part : hubs_)
        part.reset();
    bodyWidth_ = 0;
    bodyLength_ = 0;
}

void CarModel::moveParts(float dx, float dy, float dz) {
    forEachPart([=](SceneObject& part) { part.moveOffset(dx, dy, dz); });
}

void CarModel::setPartsRotation(float angle, float x, float y, float z) {
    forEachPart([=](SceneObject& part) { part.setRotation(angle, x, y, z); });
}

void CarModel::makeTranslucent() {
    forEachPart([](SceneObject& part) { part.setAlpha(0.4f); });
}

void CarModel::buildPanels(int source) {
    if (source < 0 || source >= kBodyBoxes)
        return;
    const Box& s = bodyBoxes_[source];
    constexpr float d = kPanelDistance;
    struct Layout {
        int corners[4];
        float dx, dy;
    };
    static constexpr Layout kLayouts[kPanels] = {
        {{3, 2, 6, 7}, d, 0},
        {{0, 3, 7, 4}, 0, d},
        {{1, 2, 6, 5}, 0, -d},
        {{0, 4, 5, 1}, -d, 0},
    };
    for (int p = 0; p < kPanels; ++p) {
        const Layout& layout = kLayouts[p];
        Box& panel = panels_[p];
        // A flat quadrilateral drawn as a box whose top and bottom faces coincide.
        for (int v = 0; v < 8; ++v) {
            const Vec3& corner = s.vertex(layout.corners[v % 4]);
            panel.setVertex(v, corner[0] + layout.dx, corner[1] + layout.dy, corner[2]);
        }
        panel.setUsed(1);
        panel.setColour(0.2f, 0.2f, 0.2f, 1.0f);
    }
}

namespace {

// Up to N numbers after the first "=" from the second character on; false without "=".
template <std::size_t N> bool recordNumbers(std::string_view line, std::array<float, N>& numbers) {
    return numbersAfterEquals(line, 1, numbers);
}

enum class Block { kLooking, kHead, kBody, kTyres, kDone };

void applyHeadRecord(std::string_view line, CarModel& model) {
    std::array<float, 1> v;
    if (!recordNumbers(line, v))
        return;
    if (line[0] == 'w')
        model.setBodyWidth(v[0] * CarModel::kScale);
    else if (line[0] == 'l')
        model.setBodyLength(v[0] * CarModel::kScale);
}

void applyBodyRecord(std::string_view line, CarModel& model, int& panelSource) {
    const int index = line.size() > 1 ? line[1] - '0' : -1;
    std::array<float, 4> v;
    switch (line[0]) {
    case 's': {
        std::string_view value;
        if (!valueAfterEquals(line, 1, value))
            return;
        float source = 0;
        if (!NumberScanner(value).nextFloat(source))
            panelSource = -1;
        else if (!std::isfinite(source))
            panelSource = 0; // a number beyond the floats reads as 0, as in every record
        else
            // Truncated toward zero; only 0-4 name a body box.
            panelSource = source > -1.0f && source < 5.0f ? static_cast<int>(source) : -1;
        return;
    }
    case 'p': {
        const int corner = line.size() > 2 ? line[2] - '0' : -1;
        if (index < 0 || index >= CarModel::kBodyBoxes || corner < 0 || corner >= Box::kCorners ||
            !recordNumbers(line, v))
            return;
        Box& box = model.bodyBox(index);
        box.setVertex(corner, v[0] * CarModel::kScale, v[1] * CarModel::kScale,
                      v[2] * CarModel::kScale);
        box.setUsed(1);
        return;
    }
    case 'c':
        if (index >= 0 && index < CarModel::kBodyBoxes && recordNumbers(line, v))
            model.bodyBox(index).setColour(v[0], v[1], v[2], v[3]);
        return;
    default:
        return;
    }
}

void applyTyreRecord(std::string_view line, CarModel& model) {
    const int t = line.size() > 1 ? line[1] - '0' : -1;
    std::array<float, 3> v;
    if (!recordNumbers(line, v))
        return;
    const float scale = CarModel::kScale;
    // Tyres 0 and 1 are one side of the car; tyres 2 and 3 mirror them across the centre line.
    switch (line[0]) {
    case 'p': {
        if (t < 0 || t >= CarModel::kTyres)
            return;
        const auto place = [&](int i, float y) {
            Cylinder& tyre = model.tyre(i);
            Cylinder& hub = model.hub(i);
            tyre.setUsed(1);
            hub.setUsed(1);
            tyre.setPosition(v[0] * scale, y, v[2] * scale);
            hub.setPosition(v[0] * scale, y, v[2] * scale);
            tyre.setColour(0.1f, 0.1f, 0.0f, 1.0f);
            hub.setColour(0.5f, 0.5f, 0.5f, 1.0f);
        };
        place(t, v[1] * scale);
        if (t < 2)
            place(t + 2, -v[1] * scale);
        return;
    }
    case 'r': {
        if (t < 0 || t >= CarModel::kTyres)
            return;
        const auto size = [&](int i) {
            model.tyre(i).setRadius(v[0] * scale);
            model.hub(i).setRadius(v[0] * scale - scale * 100);
        };
        size(t);
        if (t < 2)
            size(t + 2);
        return;
    }
    case 'w': {
        if (t < 0 || t >= 2)
            return;
        for (const int i : {t, t + 2}) {
            model.tyre(i).setHalfHeight(v[0] * scale);
            model.hub(i).setHalfHeight(v[0] * scale + CarModel::kHubWidening);
        }
        return;
    }
    default:
        return;
    }
}

} // namespace

int loadModel(const std::string& path, int bodyType, const CarColour& colour, CarModel& model) {
    LineReader reader;
    if (!reader.open(path))
        return -1;
    model.resetParts();
    const std::string header = "[type" + std::to_string(bodyType) + "]";
    Block block = Block::kLooking;
    int panelSource = -1;
    TextLine line;
    while (reader.next(line)) {
        const std::string text = lowerCase(trimTrailingSpaces(line.text));
        if (isCommentLine(text))
            continue;
        if (block == Block::kLooking) {
            if (text == header)
                block = Block::kHead;
        } else if (block != Block::kDone) {
            if (text != header && text.find("[type") != std::string::npos)
                block = Block::kDone;
            else if (text.find("#body") != std::string::npos)
                block = Block::kBody;
            else if (text.find("#tire") != std::string::npos)
                block = Block::kTyres;
            else if (block == Block::kHead)
                applyHeadRecord(text, model);
            else if (block == Block::kBody)
                applyBodyRecord(text, model, panelSource);
            else
                applyTyreRecord(text, model);
        }
        if (reader.failed())
            return -1;
    }
    if (reader.failed())
        return -1;
    model.buildPanels(panelSource);
    if (colour[0] != -1.0f && colour[1] != -1.0f && colour[2] != -1.0f)
        for (int i = 0; i < CarModel::kDrawnBodyBoxes; ++i)
            model.bodyBox(i).setColour(colour[0], colour[1], colour[2], 1.0f);
    return 0;
}

} // namespace velnor
