// Reading an INI file's lines as QSettings writes them.
#include "app/ini_line.h"

namespace velnor {
namespace {

QChar escaped(QChar c) {
    switch (c.unicode()) {
    case 'a':
        return QChar(7);
    case 'b':
        return QChar(8);
    case 'f':
        return QChar(12);
    case 'n':
        return QChar(10);
    case 'r':
        return QChar(13);
    case 't':
        return QChar(9);
    case 'v':
        return QChar(11);
    case '0':
        return QChar(0);
    default:
        return c; // \\, \", \; and the like: the character itself
    }
}

// An entry's value as QSettings writes it: text, or text between double quotes (kept whole,
// spaces and all), with backslash escapes; ';' outside quotes starts a comment.
QString unquoted(QStringView raw, bool& list) {
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c == '\\' && i + 1 < raw.size()) {
            out += escaped(raw[++i]);
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == ';') {
            break;
        } else {
            list = list || (!quoted && c == ',');
            out += c;
        }
    }
    return raw.startsWith('"') ? out : out.trimmed();
}

} // namespace

IniLine scanLine(const QString& text) {
    IniLine line;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(';') || trimmed.startsWith('#'))
        return line;
    if (trimmed.startsWith('[')) {
        line.kind = trimmed.endsWith(']') ? IniLine::Kind::kSection : IniLine::Kind::kBroken;
        line.name = trimmed.mid(1, trimmed.size() - 2).trimmed();
        return line;
    }
    const qsizetype equals = trimmed.indexOf('=');
    line.name = trimmed.left(equals).trimmed();
    if (equals < 0 || line.name.isEmpty()) {
        line.kind = IniLine::Kind::kBroken;
        return line;
    }
    line.kind = IniLine::Kind::kEntry;
    line.value = unquoted(QStringView(trimmed).mid(equals + 1).trimmed(), line.list);
    return line;
}

QString quoted(const QString& text) {
    QString out = text.left(40);
    for (QChar& c : out)
        if (c.category() == QChar::Other_Control)
            c = '?';
    if (text.size() > 40)
        out += QStringLiteral("...");
    return out;
}

} // namespace velnor
