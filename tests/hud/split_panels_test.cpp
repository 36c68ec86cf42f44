#include "hud/canvas.h"
#include "hud/split_panels.h"
#include "panel_pixels.h"

#include <QImage>
#include <climits>
#include <gtest/gtest.h>

namespace velnor {
namespace {

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 160, 0);
const QColor kGrey(128, 128, 128);

using test::hasColour;
using test::panelOf;

TEST(GapTextTest, HundredthsWithTheSignAndColourOfBehindOrAhead) {
    const QString minus(QChar(0x2212));
    const struct {
        std::int32_t ms;
        QString text;
        QColor colour;
    } cases[] = {
        {1234, "+1.23", kRed},
        {1235, "+1.24", kRed}, // rounded to the hundredth
        {-450, minus + "0.45", kGreen},
        {-455, minus + "0.46", kGreen},
        {5, "+0.01", kRed},
        {4, "0.00", kGrey}, // level: no sign
        {-4, "0.00", kGrey},
        {0, "0.00", kGrey},
        {61000, "+61.00", kRed}, // a minute behind stays in seconds
        {-1005, minus + "1.01", kGreen},
        {INT32_MIN, minus + "2147483.65", kGreen}, // no overflow taking the magnitude
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ms);
        EXPECT_EQ(gapText(c.ms), c.text);
        EXPECT_EQ(gapColour(c.ms), c.colour);
    }
}

TEST(SplitPanelsTest, TheGapAndTheLapSplitInTheirColours) {
    Canvas gap = panelOf(100, 28);
    drawGapPanel(gap, 1230);
    EXPECT_TRUE(hasColour(gap.image(), QRect(20, 6, 60, 16), kRed));
    EXPECT_FALSE(hasColour(gap.image(), QRect(0, 0, 100, 28), kGreen));
    drawGapPanel(gap, -450);
    EXPECT_TRUE(hasColour(gap.image(), QRect(20, 6, 60, 16), kGreen));
    EXPECT_FALSE(hasColour(gap.image(), QRect(0, 0, 100, 28), kRed));

    Canvas lap = panelOf(100, 22);
    drawLapSplitPanel(lap, -250);
    EXPECT_TRUE(hasColour(lap.image(), QRect(20, 4, 60, 14), kGreen));
    drawLapSplitPanel(lap, std::nullopt);
    EXPECT_FALSE(hasColour(lap.image(), QRect(0, 0, 100, 22), kGreen));
    EXPECT_TRUE(hasColour(lap.image(), QRect(40, 4, 20, 14), kGrey)); // "--"
}

TEST(SplitPanelsTest, FinishRowsLevelWithTheResultPanel) {
    // Lap 1 behind the ghost and ahead of the record, lap 2 the other way round, lap 3 without a
    // ghost lap, the total behind both.
    const std::vector<SplitRow> rows = {
        {50000, 500, -1000}, {47000, -250, 1000}, {46500, std::nullopt, 500}, {143500, 250, 500}};
    Canvas canvas = panelOf(kSplitPanelWidth, 3 * 16 + 90);
    drawFinishSplitPanel(canvas, rows, 3);
    const QImage& image = canvas.image();
    const QRect ghostColumn(0, 0, 80, 0);
    const QRect recordColumn(80, 0, 80, 0);
    const auto cell = [](QRect column, int y) { return QRect(column.x(), y, column.width(), 14); };
    const struct {
        int y;
        QColor ghost, record;
    } expected[] = {{34, kRed, kGreen}, {50, kGreen, kRed}, {66, kGrey, kRed}, {88, kRed, kRed}};
    for (const auto& row : expected) {
        SCOPED_TRACE(row.y);
        EXPECT_TRUE(hasColour(image, cell(ghostColumn, row.y), row.ghost));
        EXPECT_TRUE(hasColour(image, cell(recordColumn, row.y), row.record));
        for (const QColor other : {kRed, kGreen}) {
            if (other != row.ghost) {
                EXPECT_FALSE(hasColour(image, cell(ghostColumn, row.y), other));
            }
        }
    }
    EXPECT_TRUE(hasColour(image, QRect(0, 6, 160, 14), kGrey));   // the column heads
    EXPECT_FALSE(hasColour(image, QRect(0, 104, 160, 34), kRed)); // nothing under the total
}

} // namespace
} // namespace velnor
