#include "app/title_screen.h"
#include "hud/canvas.h"
#include "hud/instrument_panel.h"
#include "hud/race_panels.h"
#include "panel_pixels.h"
#include "race/lap_counter.h"
#include "test_dir.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace velnor {
namespace {

const QColor kAmber(255, 204, 51);

using test::hasColour;
using test::hasInk;
using test::panelOf;

TEST(InstrumentPanelTest, TheEngineSpeedBar) {
    struct Case {
        double rpm;
        int end; // first x (in the 640 design) right of the bar
    };
    for (const Case c :
         {Case{900, 170}, Case{1000, 170}, Case{1001, 170}, Case{4000, 320}, Case{9000, 570}}) {
        for (const int width : {640, 800}) {
            Canvas canvas = panelOf(width, 90);
            InstrumentReadings readings;
            readings.engineSpeed = c.rpm;
            drawInstrumentPanel(canvas, readings);
            const int off = panelOffset(width);
            const QImage& image = canvas.image();
            EXPECT_EQ(image.pixelColor(off + c.end - 1, 25), kAmber) << c.rpm << " " << width;
            EXPECT_EQ(image.pixelColor(off + c.end, 25), QColor(Qt::white))
                << c.rpm << " " << width;
            EXPECT_EQ(image.pixelColor(off + 120, 25), kAmber);
            // The frame's outline ends at x = 519 of the design.
            EXPECT_EQ(image.pixelColor(off + 519, 15), kAmber);
        }
    }
}

TEST(InstrumentPanelTest, TextsWhereTheyBelong) {
    Canvas canvas = panelOf(640, 90);
    InstrumentReadings readings;
    readings.carName = QStringLiteral("Tester");
    readings.speed = 7.6;
    drawInstrumentPanel(canvas, readings);
    const QImage& image = canvas.image();
    const QColor grey(128, 128, 128);
    const QColor red(255, 51, 51);
    EXPECT_TRUE(hasColour(image, QRect(560, 70, 60, 14), grey)); // the car name, right-aligned
    EXPECT_FALSE(hasInk(image, QRect(621, 70, 15, 14)));         // ... ending at 620
    EXPECT_TRUE(hasColour(image, QRect(585, 6, 35, 14), grey));  // "1 / 3"
    EXPECT_TRUE(hasColour(image, QRect(380, 52, 30, 14), red));  // "AT 1"
    EXPECT_TRUE(hasColour(image, QRect(435, 52, 30, 14), red));  // "008"
}

TEST(InstrumentPanelTest, CountdownAndClock) {
    const QColor blue(0, 0, 255);
    const QColor grey(128, 128, 128);
    for (int count = 0; count <= 3; ++count) {
        Canvas canvas = panelOf(640, 90);
        InstrumentReadings readings;
        readings.countdown = count;
        drawClock(canvas, readings);
        EXPECT_TRUE(hasColour(canvas.image(), QRect(300, 65, 40, 21), blue)) << count;
        EXPECT_FALSE(hasColour(canvas.image(), QRect(0, 0, 640, 90), grey));
    }
    // "GO!" is wider than "3".
    const auto inkWidth = [&](int count) {
        Canvas canvas = panelOf(640, 90);
        InstrumentReadings readings;
        readings.countdown = count;
        drawClock(canvas, readings);
        int left = 640, right = 0;
        for (int x = 0; x < 640; ++x)
            if (hasColour(canvas.image(), QRect(x, 65, 1, 21), blue)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        return right - left;
    };
    EXPECT_GT(inkWidth(3), 2 * inkWidth(0));

    Canvas canvas = panelOf(640, 90);
    InstrumentReadings readings;
    readings.raceTime = 83456;
    drawClock(canvas, readings);
    EXPECT_TRUE(hasColour(canvas.image(), QRect(270, 70, 100, 12), grey));
    EXPECT_FALSE(hasColour(canvas.image(), QRect(0, 0, 640, 90), blue));
}

TEST(RacePanelsTest, TheResultOfThreeLaps) {
    LapCounter race;
    for (const int t : {61000, 120500, 180750}) {
        race.setTime(t, -1);
        race.completeLap();
    }
    Canvas canvas = panelOf(100, 3 * 16 + 90);
    drawResultPanel(canvas, race, 1);
    const QImage& image = canvas.image();
    EXPECT_TRUE(hasColour(image, QRect(20, 6, 60, 14), QColor(255, 0, 0))); // FINISH
    for (const int y : {34, 50, 66, 88})
        EXPECT_TRUE(hasColour(image, QRect(10, y, 80, 14), QColor(128, 128, 128))) << y;
    EXPECT_TRUE(hasColour(image, QRect(30, 120, 40, 14), QColor(0, 0, 255))); // "2nd"

    Canvas unplaced = panelOf(100, 3 * 16 + 90);
    drawResultPanel(unplaced, race, -1);
    EXPECT_FALSE(hasInk(unplaced.image(), QRect(0, 118, 100, 20)));

    Canvas lap = panelOf(100, 32);
    drawLapPanel(lap, race);
    EXPECT_TRUE(hasColour(lap.image(), QRect(10, 6, 80, 16), QColor(128, 128, 128)));
}

TEST(CanvasTest, CreateClearResize) {
    Canvas canvas;
    canvas.create(QSize(100, 50));
    EXPECT_EQ(canvas.image().size(), QSize(101, 51));
    EXPECT_EQ(canvas.image().pixelColor(50, 25), QColor(Qt::white)); // a panel painted early
    canvas.setBackground(Qt::black);
    canvas.clear();
    EXPECT_EQ(canvas.image().pixelColor(99, 49), QColor(Qt::black));
    canvas.resize(QSize(20, 20));
    EXPECT_EQ(canvas.background(), QColor(Qt::black)); // kept
    EXPECT_EQ(canvas.image().size(), QSize(21, 21));
    canvas.release();
    EXPECT_FALSE(canvas.isCreated());
}

TEST(TitleScreenTest, PictureCentredAndTexts) {
    test::TempDir dir;
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(QColor(10, 200, 10));
    ASSERT_TRUE(picture.save(QString::fromStdString(dir.file("title.bmp")), "BMP"));
    Canvas canvas;
    canvas.create(QSize(640, 480));
    drawTitleScreen(canvas, dir.path());
    const QImage& image = canvas.image();
    // At ((640 - 200) / 2, (480 - 100) / 2 - 20) = (220, 170).
    EXPECT_EQ(image.pixelColor(220, 170), QColor(10, 200, 10));
    EXPECT_EQ(image.pixelColor(219, 170), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(419, 269), QColor(10, 200, 10));
    EXPECT_EQ(image.pixelColor(420, 270), QColor(Qt::white));
    EXPECT_TRUE(hasColour(image, QRect(540, 456, 90, 20), QColor(51, 51, 255)));
    EXPECT_TRUE(hasColour(image, QRect(20, 456, 200, 18), QColor(51, 51, 255)));

    // Without the picture, the texts alone.
    Canvas bare;
    bare.create(QSize(640, 480));
    drawTitleScreen(bare, dir.file("nowhere"));
    EXPECT_FALSE(hasInk(bare.image(), QRect(0, 0, 640, 440)));
    EXPECT_TRUE(hasColour(bare.image(), QRect(20, 456, 200, 18), QColor(51, 51, 255)));
}

} // namespace
} // namespace velnor
