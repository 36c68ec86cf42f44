// Reading the settings file line by line, so that every line left unused can be named.
#include "app/binding_names.h"
#include "app/ini_line.h"
#include "app/settings_file.h"

#include <QList>
#include <array>
#include <optional>

namespace velnor {
namespace {

enum class Section { kNone, kKeys, kPad, kWindow, kRace, kSound, kUnknown };

Section sectionNamed(const QString& name) {
    for (const auto& [text, section] :
         {std::pair{"keys", Section::kKeys}, std::pair{"pad", Section::kPad},
          std::pair{"window", Section::kWindow}, std::pair{"race", Section::kRace},
          std::pair{"sound", Section::kSound}})
        if (name.compare(QLatin1String(text), Qt::CaseInsensitive) == 0)
            return section;
    return Section::kUnknown;
}

const char* const kWindowNames[] = {"x", "y", "width", "height", "maximized", "fullscreen"};
constexpr int kWindowNameCount = 6;
// The [race] lines, each a switch.
struct RaceSwitch {
    const char* name;
    bool RaceSettings::*value;
};
constexpr RaceSwitch kRaceSwitches[] = {{"pause_on_focus_loss", &RaceSettings::pauseOnFocusLoss},
                                        {"show_gap", &RaceSettings::showGap},
                                        {"show_splits", &RaceSettings::showSplits}};
constexpr int kRaceSwitchCount = 3;
// The [sound] lines: the two volumes in percent, then the mute switch.
const char* const kSoundNames[] = {"music_volume", "sound_volume", "muted"};
constexpr int kSoundNameCount = 3;

// "true" or "false" in any case; anything else is neither.
std::optional<bool> truthOf(const QString& value) {
    if (value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}
constexpr int kUnset = -3; // an action's key or button no line has given

class Reader {
public:
    Reader() {
        fileKey_.fill(kUnset);
        fileButton_.fill(kUnset);
    }
    LoadedSettings read(const QByteArray& text);

private:
    void onLine(int number, const IniLine& line);
    void onEntry(int number, const IniLine& line);
    void onBinding(int number, const IniLine& line, bool pad);
    void onWindowValue(int number, int which, const IniLine& line);
    void onRaceValue(int number, const IniLine& line);
    void onSoundValue(int number, const IniLine& line);
    void reportNoTruth(int number, const QString& name, const QString& value);
    // Whether the value of the line is the first given: else the line is reported.
    bool firstTime(int number, const QString& name, int& firstLine);
    void fillStandard(bool pad);
    void placeWindow();
    void report(int number, const QString& english, const QString& japanese) {
        out_.problems.push_back({number, english, japanese});
    }

    LoadedSettings out_;
    Section section_ = Section::kNone;
    std::array<int, kActionCount> fileKey_{};    // kUnset until a line gives it
    std::array<int, kActionCount> fileButton_{}; // kUnset until a line gives it
    std::array<int, kActionCount> keyLine_{};    // the line that gave it
    std::array<int, kActionCount> buttonLine_{};
    std::array<int, kWindowNameCount> windowLine_{};
    std::array<int, kRaceSwitchCount> raceLine_{}; // the line that gave each race switch
    std::array<int, kSoundNameCount> soundLine_{};
    std::array<int, 4> geometry_{}; // x, y, width, height
};

LoadedSettings Reader::read(const QByteArray& text) {
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray bytes = lines[i];
        if (bytes.endsWith('\r'))
            bytes.chop(1);
        onLine(static_cast<int>(i + 1), scanLine(QString::fromUtf8(bytes)));
    }
    fillStandard(false);
    fillStandard(true);
    placeWindow();
    return out_;
}

void Reader::onLine(int number, const IniLine& line) {
    switch (line.kind) {
    case IniLine::Kind::kBlank:
        return;
    case IniLine::Kind::kBroken:
        report(number, QStringLiteral("not a [section] or a name=value line"),
               QString::fromUtf8("「[セクション]」でも「名前=値」でもありません"));
        return;
    case IniLine::Kind::kSection:
        section_ = sectionNamed(line.name);
        if (section_ == Section::kUnknown)
            report(number,
                   QStringLiteral("unknown section [%1]: its lines are ignored")
                       .arg(quoted(line.name)),
                   QString::fromUtf8("知らないセクション [%1] です (その中の行も無視します)")
                       .arg(quoted(line.name)));
        return;
    case IniLine::Kind::kEntry:
        onEntry(number, line);
        return;
    }
}

void Reader::onEntry(int number, const IniLine& line) {
    switch (section_) {
    case Section::kNone:
        report(number,
               QStringLiteral("outside the sections [keys], [pad], [window], [race] and [sound]"),
               QString::fromUtf8(
                   "[keys]、[pad]、[window]、[race]、[sound] のどのセクションにも入っていません"));
        return;
    case Section::kUnknown:
        return; // said once, at the section's line
    case Section::kKeys:
    case Section::kPad:
        onBinding(number, line, section_ == Section::kPad);
        return;
    case Section::kWindow:
        for (int which = 0; which < kWindowNameCount; ++which)
            if (line.name.compare(QLatin1String(kWindowNames[which]), Qt::CaseInsensitive) == 0) {
                onWindowValue(number, which, line);
                return;
            }
        report(number, QStringLiteral("unknown window setting \"%1\"").arg(quoted(line.name)),
               QString::fromUtf8("ウィンドウの知らない項目「%1」です").arg(quoted(line.name)));
        return;
    case Section::kRace:
        onRaceValue(number, line);
        return;
    case Section::kSound:
        onSoundValue(number, line);
        return;
    }
}

void Reader::onBinding(int number, const IniLine& line, bool pad) {
    const Action action = actionOfFileName(line.name);
    if (action == Action::kCount) {
        report(number, QStringLiteral("unknown action \"%1\"").arg(quoted(line.name)),
               QString::fromUtf8("知らない操作「%1」です").arg(quoted(line.name)));
        return;
    }
    const int a = static_cast<int>(action);
    auto& given = pad ? fileButton_ : fileKey_;
    auto& lineOf = pad ? buttonLine_ : keyLine_;
    const QString title = actionTitle(action);
    if (given[a] != kUnset) {
        const QString first = QString::number(lineOf[a]);
        report(number, QStringLiteral("%1 was given on line %2 already").arg(line.name, first),
               QString::fromUtf8("「%1」は %2 行目で指定済みです").arg(title, first));
        return;
    }
    const int code = line.list ? -2
                     : pad     ? padButtonOfFileName(line.value)
                               : keyOfFileName(line.value);
    const QString value = quoted(line.value);
    if (code == -2) {
        report(number,
               pad ? QStringLiteral("\"%1\" is not a pad button").arg(value)
                   : QStringLiteral("\"%1\" is not a key").arg(value),
               pad ? QString::fromUtf8("「%1」はパッドのボタンの名前ではありません").arg(value)
                   : QString::fromUtf8("「%1」はキーの名前ではありません").arg(value));
        return;
    }
    if (!pad && code >= 0 && !keyRefusal(code).isEmpty()) {
        report(number, QStringLiteral("\"%1\" is a key the game keeps for itself").arg(value),
               QString::fromUtf8("「%1」は操作に使えません: %2").arg(value, keyRefusal(code)));
        return;
    }
    for (int other = 0; other < kActionCount && code >= 0; ++other)
        if (given[other] == code) {
            const QString where = QString::number(lineOf[other]);
            const Action o = static_cast<Action>(other);
            report(number,
                   QStringLiteral("\"%1\" is given to %2 already (line %3)")
                       .arg(value, actionFileName(o), where),
                   QString::fromUtf8("「%1」は %2 行目で「%3」に割り当て済みです")
                       .arg(value, where, actionTitle(o)));
            return;
        }
    given[a] = code;
    lineOf[a] = number;
}

bool Reader::firstTime(int number, const QString& name, int& firstLine) {
    if (firstLine == 0)
        return true;
    const QString first = QString::number(firstLine);
    report(number, QStringLiteral("%1 was given on line %2 already").arg(name, first),
           QString::fromUtf8("「%1」は %2 行目で指定済みです").arg(name, first));
    return false;
}

void Reader::onRaceValue(int number, const IniLine& line) {
    int which = 0;
    while (which < kRaceSwitchCount &&
           line.name.compare(QLatin1String(kRaceSwitches[which].name), Qt::CaseInsensitive) != 0)
        ++which;
    if (which == kRaceSwitchCount) {
        report(number, QStringLiteral("unknown race setting \"%1\"").arg(quoted(line.name)),
               QString::fromUtf8("レースの知らない項目「%1」です").arg(quoted(line.name)));
        return;
    }
    const QString name = QString::fromLatin1(kRaceSwitches[which].name);
    if (!firstTime(number, name, raceLine_[which]))
        return;
    const std::optional<bool> on = truthOf(line.value);
    if (!on) {
        reportNoTruth(number, name, line.value);
        return;
    }
    out_.race.*kRaceSwitches[which].value = *on;
    raceLine_[which] = number;
}

void Reader::onSoundValue(int number, const IniLine& line) {
    int which = 0;
    while (which < kSoundNameCount &&
           line.name.compare(QLatin1String(kSoundNames[which]), Qt::CaseInsensitive) != 0)
        ++which;
    if (which == kSoundNameCount) {
        report(number, QStringLiteral("unknown sound setting \"%1\"").arg(quoted(line.name)),
               QString::fromUtf8("音の知らない項目「%1」です").arg(quoted(line.name)));
        return;
    }
    const QString name = QString::fromLatin1(kSoundNames[which]);
    if (!firstTime(number, name, soundLine_[which]))
        return;
    if (which == 2) {
        const std::optional<bool> on = truthOf(line.value);
        if (!on) {
            reportNoTruth(number, name, line.value);
            return;
        }
        out_.sound.muted = *on;
    } else {
        bool ok = false;
        const int percent = line.value.toInt(&ok);
        if (!ok || percent < 0 || percent > 100) {
            const QString value = quoted(line.value);
            report(number,
                   QStringLiteral("%1 \"%2\" is not a whole number from 0 to 100").arg(name, value),
                   QString::fromUtf8("%1「%2」は 0 から 100 までの整数ではありません")
                       .arg(name, value));
            return;
        }
        (which == 0 ? out_.sound.musicVolume : out_.sound.soundVolume) = percent;
    }
    soundLine_[which] = number;
}

void Reader::reportNoTruth(int number, const QString& name, const QString& value) {
    const QString shown = quoted(value);
    report(number, QStringLiteral("%1 \"%2\" is neither true nor false").arg(name, shown),
           QString::fromUtf8("%1「%2」は true でも false でもありません").arg(name, shown));
}

void Reader::onWindowValue(int number, int which, const IniLine& line) {
    const QString name = QString::fromLatin1(kWindowNames[which]);
    if (!firstTime(number, name, windowLine_[which]))
        return;
    bool ok = false;
    if (which < 4) {
        const int value = line.value.toInt(&ok);
        // Positions anywhere on a desktop of 32767 pixels either way; sizes of at least one.
        ok = ok && (which < 2 ? value >= -32767 : value >= 1) && value <= 32767;
        if (ok)
            geometry_[which] = value;
    } else {
        const std::optional<bool> yes = truthOf(line.value);
        ok = yes.has_value();
        if (ok)
            (which == 4 ? out_.window.maximized : out_.window.fullScreen) = *yes;
    }
    if (!ok && which >= 4) {
        reportNoTruth(number, name, line.value);
        return;
    }
    if (!ok) {
        const QString value = quoted(line.value);
        report(
            number,
            QStringLiteral("%1 \"%2\" is not a whole number of pixels in range").arg(name, value),
            QString::fromUtf8("%1「%2」は範囲内の整数ではありません").arg(name, value));
        return;
    }
    windowLine_[which] = number;
}

void Reader::fillStandard(bool pad) {
    const Bindings standard = Bindings::standard();
    auto& given = pad ? fileButton_ : fileKey_;
    auto& out = pad ? out_.bindings.padButton : out_.bindings.key;
    const auto& wanted = pad ? standard.padButton : standard.key;
    for (int a = 0; a < kActionCount; ++a) {
        out[a] = given[a];
        if (given[a] != kUnset)
            continue;
        out[a] = wanted[a];
        for (int other = 0; other < kActionCount && wanted[a] >= 0; ++other) {
            if (given[other] != wanted[a])
                continue;
            out[a] = -1;
            const Action action = static_cast<Action>(a);
            const Action taker = static_cast<Action>(other);
            const QString name = pad ? padButtonFileName(wanted[a]) : keyFileName(wanted[a]);
            const QString line = QString::number(pad ? buttonLine_[other] : keyLine_[other]);
            report(0,
                   QStringLiteral("%1 has no %2: its standard one, %3, is given to %4 (line %5)")
                       .arg(actionFileName(action),
                            pad ? QStringLiteral("pad button") : QStringLiteral("key"), name,
                            actionFileName(taker), line),
                   QString::fromUtf8("「%1」の標準の%2 %3 は %4 行目で「%5」に割り当て済み"
                                     "なので、「%1」には何も割り当てません")
                       .arg(actionTitle(action),
                            pad ? QString::fromUtf8("ボタン") : QString::fromUtf8("キー"), name,
                            line, actionTitle(taker)));
        }
    }
}

void Reader::placeWindow() {
    int given = 0;
    for (int which = 0; which < 4; ++which)
        given += windowLine_[which] != 0;
    if (given == 4)
        out_.window.geometry = QRect(geometry_[0], geometry_[1], geometry_[2], geometry_[3]);
    else if (given > 0)
        report(0,
               QStringLiteral("the window's x, y, width and height go together: one is "
                              "missing, the window takes its default size"),
               QString::fromUtf8("ウィンドウの x、y、width、height の一部がないので、標準の大き"
                                 "さで開きます"));
}

} // namespace

LoadedSettings parseSettings(const QByteArray& text) {
    return Reader().read(text);
}

} // namespace velnor
