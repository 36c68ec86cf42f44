#pragma once

#include "tool/tool.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTextStream>

namespace velnor::test {

// What one run of velnor-tool gave: its exit status and what it printed.
struct ToolRun {
    int status;
    QString out;
    QString err;
    QJsonObject json() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }
};

// velnor-tool run in the test's process with these arguments.
inline ToolRun runWith(const QStringList& arguments) {
    ToolRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = runTool(QStringList{"velnor-tool"} + arguments, out, err);
    out.flush();
    err.flush();
    return run;
}

} // namespace velnor::test
