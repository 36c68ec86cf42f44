#include "tool/course_map.h"

#include "world/course_world.h"
#include "world/start_finish_gate.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace velnor {
namespace {

constexpr int kLargest = 1000; // pixels of the longer side
constexpr float kBorder = 200; // world units round the course

struct Bounds {
    float xmin = 1e30f, xmax = -1e30f, ymin = 1e30f, ymax = -1e30f;
    void take(float x, float y) {
        xmin = std::min(xmin, x);
        xmax = std::max(xmax, x);
        ymin = std::min(ymin, y);
        ymax = std::max(ymax, y);
    }
};

// The footprints of a block's parts in every cell, in world units.
template <typename Visit> void forEachBuilding(const BuildingBlock& block, Visit visit) {
    for (int i = 0; i < block.counts()[0]; ++i)
        for (int j = 0; j < block.counts()[1]; ++j) {
            const Vec3 cell = block.cell(i, j);
            for (int k = 0; k < BuildingBlock::kParts; ++k)
                visit(cell, block.box(k), block.cylinder(k));
        }
}

// The picture's frame: the course's bounds with a border, and the scale that fits them into
// the picture.
struct MapFrame {
    Bounds b;
    float scale; // pixels per world unit

    // World to picture: +x to the right, +y up.
    QPointF at(float x, float y) const {
        return QPointF((x - b.xmin + kBorder) * scale, (b.ymax + kBorder - y) * scale);
    }
    std::pair<float, float> toWorld(int px, int py) const {
        return std::pair{static_cast<float>(px) / scale + b.xmin - kBorder,
                         b.ymax + kBorder - static_cast<float>(py) / scale};
    }
    float width() const { return b.xmax - b.xmin + 2 * kBorder; }
    float height() const { return b.ymax - b.ymin + 2 * kBorder; }
};

MapFrame mapFrame(const CourseWorld& world, const StartFinishGate& gate,
                  const std::vector<TracePoint>& path) {
    Bounds b;
    b.take(0, 0);
    for (int i = 0; i < CourseWorld::kRoadPieces; ++i) {
        const RoadPiece& piece = world.roadPiece(i);
        if (piece.isUsed())
            for (int v = 0; v < 4; ++v)
                b.take(piece.vertexX(v), piece.vertexY(v));
    }
    for (const TracePoint& point : path)
        b.take(point.x, point.y);
    b.take(gate.end0[0], gate.end0[1]);
    b.take(gate.end1[0], gate.end1[1]);
    MapFrame frame{b, 0};
    frame.scale = kLargest / std::max(frame.width(), frame.height());
    return frame;
}

// Where the on-road test holds the car: sampled every other pixel.
void paintOnRoadArea(QImage& image, const MapFrame& frame, const CourseWorld& world,
                     float carWidth) {
    const QColor accepted(196, 226, 176);
    for (int py = 0; py < image.height(); py += 2)
        for (int px = 0; px < image.width(); px += 2) {
            const auto [x, y] = frame.toWorld(px, py);
            for (int i = 0; i < CourseWorld::kRoadPieces; ++i)
                if (world.roadPiece(i).containsCarAt(x, y, carWidth) == 0) {
                    image.setPixelColor(px, py, accepted);
                    image.setPixelColor(std::min(px + 1, image.width() - 1), py, accepted);
                    image.setPixelColor(px, std::min(py + 1, image.height() - 1), accepted);
                    image.setPixelColor(std::min(px + 1, image.width() - 1),
                                        std::min(py + 1, image.height() - 1), accepted);
                    break;
                }
        }
}

// Road pieces, markings last, each in its own colour with its outline.
void paintRoad(QPainter& painter, const MapFrame& frame, const CourseWorld& world) {
    for (const bool markings : {false, true}) {
        for (int i = 0; i < CourseWorld::kRoadPieces; ++i) {
            const RoadPiece& piece = world.roadPiece(i);
            if (!piece.isUsed() || (piece.pieceType() < kRoadGrey) != markings)
                continue;
            QPolygonF quad;
            for (int v = 0; v < 4; ++v)
                quad << frame.at(piece.vertexX(v), piece.vertexY(v));
            const Colour& c = piece.colour();
            QColor fill = QColor::fromRgbF(c[0], c[1], c[2]);
            fill.setAlpha(markings ? 255 : 110);
            painter.setBrush(fill);
            painter.setPen(QPen(QColor(90, 90, 90), 0.8));
            painter.drawPolygon(quad);
        }
    }
}

// Buildings: box footprints and pillars.
void paintBuildings(QPainter& painter, const MapFrame& frame, const CourseWorld& world) {
    painter.setPen(QPen(QColor(60, 40, 30), 0.8));
    for (int n = 0; n < CourseWorld::kBlocks; ++n)
        forEachBuilding(
            world.block(n), [&](const Vec3& cell, const Box& box, const Cylinder& pillar) {
                if (box.isUsed()) {
                    QPolygonF footprint;
                    for (int v = 0; v < 4; ++v)
                        footprint << frame.at(cell[0] + box.vertexX(v), cell[1] + box.vertexY(v));
                    const Colour& c = box.colour();
                    painter.setBrush(QColor::fromRgbF(c[0], c[1], c[2]));
                    painter.drawPolygon(footprint);
                }
                if (pillar.isUsed()) {
                    // Upright: its local z is the world's -y.
                    const Vec3& p = pillar.position();
                    const Colour& c = pillar.colour();
                    painter.setBrush(QColor::fromRgbF(c[0], c[1], c[2]));
                    const float radius = std::max(pillar.radius() * frame.scale, 1.5f);
                    painter.drawEllipse(frame.at(cell[0] + p[0], cell[1] - p[2]), radius, radius);
                }
            });
}

// The gate, its zone, and the start.
void paintGate(QPainter& painter, const MapFrame& frame, const StartFinishGate& gate) {
    if (gate.gateAxis() >= 0) {
        const bool alongX = gate.gateAxis() == 0;
        const float a0 = gate.zoneAlongMin(), a1 = gate.zoneAlongMax();
        const float c0 = gate.zoneAcrossMin(), c1 = gate.zoneAcrossMax();
        const QPointF p0 = alongX ? frame.at(a0, c0) : frame.at(c0, a0);
        const QPointF p1 = alongX ? frame.at(a1, c1) : frame.at(c1, a1);
        painter.setBrush(QColor(255, 220, 0, 90));
        painter.setPen(Qt::NoPen);
        painter.drawRect(QRectF(p0, p1).normalized());
    }
    painter.setPen(QPen(QColor(220, 0, 0), 3));
    painter.drawLine(frame.at(gate.end0[0], gate.end0[1]), frame.at(gate.end1[0], gate.end1[1]));
    painter.setPen(QPen(Qt::black, 2));
    const QPointF start = frame.at(0, 0);
    painter.drawLine(start, frame.at(80, 0));
    painter.drawLine(frame.at(80, 0), frame.at(60, 12));
    painter.drawLine(frame.at(80, 0), frame.at(60, -12));
}

// The driven path, coloured by speed.
void paintPath(QPainter& painter, const MapFrame& frame, const std::vector<TracePoint>& path) {
    double fastest = 1;
    for (const TracePoint& point : path)
        fastest = std::max(fastest, point.speed);
    for (std::size_t i = 1; i < path.size(); ++i) {
        const float f = static_cast<float>(path[i].speed / fastest);
        painter.setPen(QPen(QColor::fromHsvF(0.66f * (1 - f), 1.0f, 0.9f), 2));
        painter.drawLine(frame.at(path[i - 1].x, path[i - 1].y), frame.at(path[i].x, path[i].y));
    }
}

// A scale bar of 50 m (500 units).
void paintScaleBar(QPainter& painter, const MapFrame& frame, int imageHeight) {
    const float bar = 500 * frame.scale;
    const QPointF origin(20, imageHeight - 20);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(origin, origin + QPointF(bar, 0));
    painter.drawLine(origin, origin + QPointF(0, -6));
    painter.drawLine(origin + QPointF(bar, 0), origin + QPointF(bar, -6));
    painter.drawText(origin + QPointF(bar + 6, 0), QStringLiteral("50 m"));
}

} // namespace

QImage drawCourseMap(const CourseWorld& world, const StartFinishGate& gate, float carWidth,
                     const std::vector<TracePoint>& path) {
    const MapFrame frame = mapFrame(world, gate, path);
    QImage image(static_cast<int>(frame.width() * frame.scale),
                 static_cast<int>(frame.height() * frame.scale), QImage::Format_RGB32);
    image.fill(QColor(232, 214, 190));
    paintOnRoadArea(image, frame, world, carWidth);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paintRoad(painter, frame, world);
    paintBuildings(painter, frame, world);
    paintGate(painter, frame, gate);
    paintPath(painter, frame, path);
    paintScaleBar(painter, frame, image.height());
    return image;
}

} // namespace velnor
