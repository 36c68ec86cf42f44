#include "app/settings_file.h"

#include "app/binding_names.h"

#include <QFile>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>
#include <climits>

namespace velnor {

QString SettingsFile::standardPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/velnor/velnor.ini");
}

LoadedSettings SettingsFile::load() {
    backedUp_ = false;
    QFile file(path_);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly)) {
        LoadedSettings unread;
        unread.problems.push_back({0, QStringLiteral("cannot be read: ") + file.errorString(),
                                   QString::fromUtf8("読めません: ") + file.errorString()});
        return unread;
    }
    const QByteArray text = file.readAll();
    LoadedSettings loaded = parseSettings(text);
    if (!loaded.problems.empty()) {
        // The file is written anew from what was used of it: its other lines are kept aside.
        QSaveFile backup(backupPath());
        backedUp_ = backup.open(QIODevice::WriteOnly) && backup.write(text) == text.size() &&
                    backup.commit();
    }
    return loaded;
}

bool SettingsFile::save(const Bindings& bindings, const WindowPlacement& window,
                        const RaceSettings& race, const SoundSettings& sound) const {
    QSettings settings(path_, QSettings::IniFormat);
    settings.clear(); // lines of the old file that were not used go
    for (int a = 0; a < kActionCount; ++a) {
        const QString name = actionFileName(static_cast<Action>(a));
        settings.setValue(QStringLiteral("keys/") + name, keyFileName(bindings.key[a]));
        settings.setValue(QStringLiteral("pad/") + name, padButtonFileName(bindings.padButton[a]));
    }
    settings.beginGroup(QStringLiteral("window"));
    if (window.geometry) {
        settings.setValue(QStringLiteral("x"), window.geometry->x());
        settings.setValue(QStringLiteral("y"), window.geometry->y());
        settings.setValue(QStringLiteral("width"), window.geometry->width());
        settings.setValue(QStringLiteral("height"), window.geometry->height());
    }
    settings.setValue(QStringLiteral("maximized"), window.maximized);
    settings.setValue(QStringLiteral("fullscreen"), window.fullScreen);
    settings.endGroup();
    settings.setValue(QStringLiteral("race/pause_on_focus_loss"), race.pauseOnFocusLoss);
    settings.setValue(QStringLiteral("race/show_gap"), race.showGap);
    settings.setValue(QStringLiteral("race/show_splits"), race.showSplits);
    settings.setValue(QStringLiteral("sound/music_volume"), sound.musicVolume);
    settings.setValue(QStringLiteral("sound/sound_volume"), sound.soundVolume);
    settings.setValue(QStringLiteral("sound/muted"), sound.muted);
    settings.sync();
    // A format error is the old file's, read before it was cleared; writing fails with an
    // access error.
    return settings.status() != QSettings::AccessError;
}

namespace {

std::vector<SettingsProblem> byLine(std::vector<SettingsProblem> problems) {
    // Problems of no one line (a standard value that was taken) come after the lines.
    std::stable_sort(problems.begin(), problems.end(), [](const auto& a, const auto& b) {
        return (a.line == 0 ? INT_MAX : a.line) < (b.line == 0 ? INT_MAX : b.line);
    });
    return problems;
}

} // namespace

QString problemsForTerminal(const QString& path, const std::vector<SettingsProblem>& problems) {
    QString text;
    for (const SettingsProblem& problem : byLine(problems)) {
        const QString where = problem.line > 0 ? QString::number(problem.line) + ':' : QString();
        text += QStringLiteral("velnor: %1:%2 %3\n").arg(path, where, problem.english);
    }
    return text;
}

QString problemsForPlayer(const QString& path, const std::vector<SettingsProblem>& problems,
                          bool backedUp, std::size_t shown) {
    QString text = QString::fromUtf8("設定ファイル %1 の次のところは使えないので、標準の設定を"
                                     "使います。\n")
                       .arg(path);
    const std::vector<SettingsProblem> sorted = byLine(problems);
    for (std::size_t i = 0; i < sorted.size() && i < shown; ++i) {
        const SettingsProblem& problem = sorted[i];
        text += '\n';
        if (problem.line > 0)
            text += QString::fromUtf8("%1 行目: ").arg(problem.line);
        text += problem.japanese;
    }
    if (sorted.size() > shown)
        text += QString::fromUtf8("\nほか %1 件").arg(sorted.size() - shown);
    if (backedUp)
        text += QString::fromUtf8("\n\n元のファイルは %1.bak に残しました。").arg(path);
    return text;
}

} // namespace velnor
