#pragma once

#include <QString>
#include <QStringView>

namespace velnor {

// One line of an INI file, as QSettings reads it.
struct IniLine {
    enum class Kind { kBlank, kSection, kEntry, kBroken };
    Kind kind = Kind::kBlank;
    QString name;      // of the section or the entry
    QString value;     // of the entry: unquoted, escapes resolved, comment cut
    bool list = false; // the value has a comma outside quotes: a list to QSettings
};

// What one line of the file is. Blank lines and lines starting with ';' or '#' are blank.
IniLine scanLine(const QString& text);

// Text from the file as a message quotes it: control characters shown as '?', at most 40
// characters.
QString quoted(const QString& text);

} // namespace velnor
