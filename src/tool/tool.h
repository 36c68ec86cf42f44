#pragma once

#include <QStringList>
#include <QTextStream>

namespace velnor {

// velnor-tool: the headless front end on the core. `arguments` include the program name.
// Returns the process exit status: 0 success, 1 a failure named on `err`, 2 a usage error.
int runTool(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace velnor
