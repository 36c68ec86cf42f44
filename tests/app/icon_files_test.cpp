#include "app/icon_files.h"
#include "app/program_icon.h"
#include "test_dir.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdlib>
#include <gtest/gtest.h>

namespace velnor {
namespace {

QString themeIn(const test::TempDir& dir) {
    return QString::fromStdString(dir.file("hicolor"));
}

// A point of the icon's 32-unit grid, at least a unit away from every edge of the drawing, and
// the colour there.
struct GridColour {
    const char* what;
    double x, y;
    QColor colour;
};
const GridColour kColours[] = {
    {"badge", 5, 5, QColor(20, 40, 110)},
    {"body", 20, 17, QColor(215, 30, 30)},
    {"window", 16, 12, QColor(170, 210, 240)},
    {"road", 16, 24, QColor(235, 235, 235)},
    {"outside the badge", 0, 0, QColor(0, 0, 0, 0)},
};

void expectGridColours(const QImage& picture, const char* source) {
    const double scale = picture.width() / 32.0;
    for (const GridColour& point : kColours) {
        const QColor found = picture.pixelColor(int(point.x * scale), int(point.y * scale));
        const int off = std::abs(found.red() - point.colour.red()) +
                        std::abs(found.green() - point.colour.green()) +
                        std::abs(found.blue() - point.colour.blue()) +
                        std::abs(found.alpha() - point.colour.alpha());
        EXPECT_LE(off, 6) << source << " at " << picture.width() << " px: " << point.what << " is "
                          << qPrintable(found.name(QColor::HexArgb));
    }
}

// How far two pictures of one size are apart: the mean difference per channel (0-255), and the
// share of pixels where some channel differs by more than 48 (antialiased edges only).
struct Difference {
    double mean = 0;
    double farShare = 0;
};
Difference compare(const QImage& a, const QImage& b) {
    const QImage left = a.convertToFormat(QImage::Format_ARGB32);
    const QImage right = b.convertToFormat(QImage::Format_ARGB32);
    long total = 0, far = 0;
    for (int y = 0; y < left.height(); ++y)
        for (int x = 0; x < left.width(); ++x) {
            const QRgb p = left.pixel(x, y), q = right.pixel(x, y);
            const int channels[] = {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q),
                                    qAlpha(p) - qAlpha(q)};
            int worst = 0;
            for (const int c : channels) {
                total += std::abs(c);
                worst = std::max(worst, std::abs(c));
            }
            far += worst > 48;
        }
    const double pixels = double(left.width()) * left.height();
    return {double(total) / (4 * pixels), double(far) / pixels};
}

TEST(IconFilesTest, EveryThemeSizeIsTheWindowIconsDrawing) {
    test::TempDir dir;
    QString error;
    ASSERT_TRUE(writeIconFiles(themeIn(dir), error)) << qPrintable(error);
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString file =
            themeIn(dir) + QStringLiteral("/%1x%1/apps/org.velnor.Velnor.png").arg(size);
        QImage picture(file);
        ASSERT_FALSE(picture.isNull()) << qPrintable(file);
        EXPECT_EQ(picture.size(), QSize(size, size)) << qPrintable(file);
        if (picture.size() != QSize(size, size))
            continue;
        const Difference off = compare(picture, programIconImage(size));
        EXPECT_LT(off.mean, 0.5) << size;
        if (size >= 32)
            expectGridColours(picture, "PNG");
    }
}

TEST(IconFilesTest, TheScalableIconRendersAsTheDrawing) {
    test::TempDir dir;
    QString error;
    ASSERT_TRUE(writeIconFiles(themeIn(dir), error)) << qPrintable(error);
    QSvgRenderer svg(themeIn(dir) + "/scalable/apps/org.velnor.Velnor.svg");
    ASSERT_TRUE(svg.isValid());
    for (const int size : {32, 64, 256}) {
        QImage rendered(size, size, QImage::Format_ARGB32_Premultiplied);
        rendered.fill(Qt::transparent);
        QPainter painter(&rendered);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter, QRectF(0, 0, size, size));
        painter.end();
        const Difference off = compare(rendered, programIconImage(size));
        EXPECT_LT(off.mean, 2.0) << size;
        EXPECT_LT(off.farShare, 0.01) << size;
        expectGridColours(rendered, "SVG");
    }
}

TEST(IconFilesTest, AThemeFolderThatCannotBeMadeIsNamed) {
    test::TempDir dir;
    dir.write("hicolor", "a file where the folder should be");
    QString error;
    EXPECT_FALSE(writeIconFiles(themeIn(dir), error));
    EXPECT_TRUE(error.contains(themeIn(dir))) << qPrintable(error);
}

} // namespace
} // namespace velnor
