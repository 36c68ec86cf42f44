#include "app/text_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace velnor {

QString fromShiftJis(std::string_view bytes) {
    QStringDecoder decoder("Shift_JIS");
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string toShiftJis(const QString& text) {
    std::string out;
    // One character at a time, so that what Shift-JIS cannot hold is replaced by a plain "?".
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QStringEncoder probe("Shift_JIS", QStringConverter::Flag::Stateless);
        const QByteArray bytes = probe.encode(QStringView(text).mid(i, length));
        if (probe.hasError() || bytes.isEmpty())
            out.push_back('?');
        else
            out.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        i += length;
    }
    return out;
}

} // namespace velnor
