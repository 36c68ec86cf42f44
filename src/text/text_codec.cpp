#include "text/text_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace velnor {
namespace {

// Characters that input methods outside Windows type in their JIS X 0208 form, where the code page
// of the files knows them only in its own form at the same code. Read back, such a code shows
// the code page's form (the yen sign shows as a backslash, which Japanese fonts draw as ¥).
struct JisForm {
    char16_t typed;
    const char* bytes;
};
constexpr JisForm kJisForms[] = {
    {u'\u301C', "\x81\x60"}, // wave dash, read back as fullwidth tilde U+FF5E
    {u'\u2212', "\x81\x7C"}, // minus sign, read back as fullwidth hyphen-minus U+FF0D
    {u'\u00A5', "\x5C"},     // yen sign, read back as "\"
    {u'\u2016', "\x81\x61"}, // double vertical line, read back as parallel to U+2225
    {u'\u00AC', "\x81\xCA"}, // not sign, read back as fullwidth not sign U+FFE2
    {u'\u00A2', "\x81\x91"}, // cent sign, read back as fullwidth cent sign U+FFE0
    {u'\u00A3', "\x81\x92"}, // pound sign, read back as fullwidth pound sign U+FFE1
    {u'\u2014', "\x81\x5C"}, // em dash, read back as horizontal bar U+2015
};

const char* jisFormBytes(QChar c) {
    for (const JisForm& form : kJisForms)
        if (c.unicode() == form.typed)
            return form.bytes;
    return nullptr;
}

} // namespace

QString fromShiftJis(std::string_view bytes) {
    QStringDecoder decoder("Shift_JIS");
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string toShiftJis(const QString& text) {
    std::string out;
    // One character at a time, so that what Shift-JIS cannot hold is replaced by a plain "?".
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        if (const char* bytes = length == 1 ? jisFormBytes(text[i]) : nullptr) {
            out.append(bytes);
            i += length;
            continue;
        }
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
