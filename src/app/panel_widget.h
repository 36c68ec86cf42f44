#pragma once

#include "hud/canvas.h"

#include <QWidget>

namespace velnor {

// A race panel over the 3D view: it shows its canvas, which the game draws into.
class PanelWidget : public QWidget {
public:
    PanelWidget(QWidget* parent, QRect geometry);

    Canvas& canvas() { return canvas_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    Canvas canvas_;
};

} // namespace velnor
