#include "tool/tool.h"

#include <QCoreApplication>
#include <clocale>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("velnor-tool");
    std::setlocale(LC_NUMERIC, "C");
    QTextStream out(stdout);
    QTextStream err(stderr);
    return velnor::runTool(QCoreApplication::arguments(), out, err);
}
