#include "tool/tool.h"

#include <QGuiApplication>
#include <clocale>
#include <cstdio>

namespace {
// The tool's output is its own: Qt's remarks about the desktop session (there is none) go.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QStringLiteral("QStandardPaths:")))
        return;
    qt_message_output(type, context, message);
}
} // namespace

int main(int argc, char* argv[]) {
    qInstallMessageHandler(quietHandler);
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
