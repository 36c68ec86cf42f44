#include "text/text_codec.h"
#include "tool/lint.h"
#include "tool/tool_command.h"

namespace velnor {

// What the game ignores, cuts or clamps in the files named, as FILE:LINE: what and why.
int lintFiles(const Invocation& call, QTextStream& out, QTextStream& err) {
    if (call.positional.size() < 2) {
        err << "velnor-tool: usage: velnor-tool lint FILE...\n";
        return 2;
    }
    int findings = 0;
    int failures = 0;
    for (qsizetype i = 1; i < call.positional.size(); ++i) {
        const QString path = call.positional[i];
        std::string error;
        const std::vector<LintMessage> messages = lintFile(path.toStdString(), error);
        if (!error.empty()) {
            err << "velnor-tool: " << path << ": " << QString::fromStdString(error) << "\n";
            ++failures;
            continue;
        }
        for (const LintMessage& message : messages)
            out << path << ":" << message.line << ": " << fromShiftJis(message.text) << "\n";
        findings += static_cast<int>(messages.size());
    }
    return failures > 0 ? 2 : findings > 0 ? 1 : 0;
}

} // namespace velnor
