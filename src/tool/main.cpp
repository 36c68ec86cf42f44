#include "tool/tool.h"

#include <QGuiApplication>
#include <clocale>
#include <cstdio>

int main(int argc, char* argv[]) {
    // The tool shows no window; pictures (the title, later maps) are drawn off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName("velnor-tool");
    std::setlocale(LC_NUMERIC, "C");
    QTextStream out(stdout);
    QTextStream err(stderr);
    return velnor::runTool(QGuiApplication::arguments(), out, err);
}
