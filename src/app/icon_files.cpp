#include "app/icon_files.h"

#include "app/program_icon.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

namespace velnor {
namespace {

// The icon's own grid: paintProgramIcon() lays the drawing out on 32 units.
constexpr int kGrid = 32;

bool makeFolderFor(const QString& file, QString& error) {
    const QString folder = QFileInfo(file).absolutePath();
    if (QDir().mkpath(folder))
        return true;
    error = folder + ": cannot make the folder";
    return false;
}

bool writeSvg(const QString& file, QString& error) {
    QSvgGenerator svg;
    svg.setFileName(file);
    svg.setSize(QSize(kGrid, kGrid));
    svg.setViewBox(QRect(0, 0, kGrid, kGrid));
    svg.setTitle(QStringLiteral("Velnor"));
    svg.setDescription(QStringLiteral("The icon of Velnor, a car-driving simulator"));
    QPainter painter;
    if (!painter.begin(&svg)) {
        error = file + ": cannot be written";
        return false;
    }
    // The drawing has no text; a font of a real size keeps the file free of font-size="-1".
    QFont font = painter.font();
    font.setPixelSize(kGrid / 4);
    painter.setFont(font);
    paintProgramIcon(painter, kGrid);
    painter.end();
    if (QFileInfo(file).size() > 0)
        return true;
    error = file + ": cannot be written";
    return false;
}

} // namespace

const std::vector<int>& iconThemeSizes() {
    static const std::vector<int> sizes = {16, 22, 24, 32, 48, 64, 128, 256};
    return sizes;
}

QString iconPicturePath(int size) {
    return QStringLiteral("%1x%1/apps/%2.png").arg(size).arg(QLatin1String(kDesktopId));
}

QString iconScalablePath() {
    return QStringLiteral("scalable/apps/%1.svg").arg(QLatin1String(kDesktopId));
}

bool writeIconFiles(const QString& theme, QString& error) {
    for (const int size : iconThemeSizes()) {
        const QString file = QDir(theme).filePath(iconPicturePath(size));
        if (!makeFolderFor(file, error))
            return false;
        if (!programIconImage(size).save(file, "PNG")) {
            error = file + ": cannot be written";
            return false;
        }
    }
    const QString svg = QDir(theme).filePath(iconScalablePath());
    return makeFolderFor(svg, error) && writeSvg(svg, error);
}

} // namespace velnor
