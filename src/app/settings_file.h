#pragma once

#include "app/actions.h"

#include <QByteArray>
#include <QRect>
#include <QString>
#include <optional>
#include <vector>

namespace velnor {

// Where and how the window was on the screen when the game last closed.
struct WindowPlacement {
    // The window's geometry when neither maximised nor full screen (its frame excluded), in
    // logical pixels of the virtual desktop; none: the default size where the system puts it.
    std::optional<QRect> geometry;
    bool maximized = false;
    bool fullScreen = false;

    bool operator==(const WindowPlacement&) const = default;
};

// How the race behaves, as the player chose in the "設定" menu.
struct RaceSettings {
    bool pauseOnFocusLoss = false; // the race pauses when the window loses the focus
    bool showGap = true;           // the live gap to the ghost is shown
    bool showSplits = true;        // the splits against the ghost and the record are shown

    bool operator==(const RaceSettings&) const = default;
};

// How loud the game is, as the player set it ("音量" in the "設定" menu, and M).
struct SoundSettings {
    int musicVolume = 100; // the music's, percent (0 to 100)
    int soundVolume = 100; // the race's sounds' (the engines and the cues), percent
    bool muted = false;    // nothing heard, the volumes kept for when it is not

    bool operator==(const SoundSettings&) const = default;
};

// A line of the settings file that was ignored, or a standard value that could not be had.
struct SettingsProblem {
    int line = 0;     // 1-based; 0 where no one line is at fault
    QString english;  // for the terminal
    QString japanese; // for the player's message box
};

// What the settings file says, each value the standard one wherever the file says nothing
// usable about it.
struct LoadedSettings {
    Bindings bindings = Bindings::standard();
    WindowPlacement window;
    RaceSettings race;
    SoundSettings sound;
    std::vector<SettingsProblem> problems;
};

// Reads the text of a settings file as written below (an INI file): the sections [keys] and
// [pad], one "action=name" line per action, [window], [race] ("pause_on_focus_loss", "show_gap",
// "show_splits": "true" or "false") and [sound] ("music_volume" and "sound_volume", whole numbers
// from 0 to 100; "muted", "true" or "false"). Blank lines and lines starting with ';' or '#' are
// comments. Every other line that cannot be used is ignored, the value it was about stays
// standard, and it is reported: a line that is not "[section]" or "name=value", a line outside a
// known section, an unknown section (reported once, its lines ignored with it), an unknown action,
// window, race or sound value, a value given twice (the later line), a window value that is no
// number in range, a volume that is no whole number from 0 to 100, a switch that is not "true" or
// "false", a name that is no key or button, a key the game keeps for itself, a key or button that
// an earlier line gave another action. An action left without a line keeps its standard key or
// button unless an action of the file has it; then it has none, and that is reported too.
LoadedSettings parseSettings(const QByteArray& text);

// The game's settings: the keys and pad buttons of the actions, the window's placement, the
// race's options and the volumes, in one INI file. Reading reports every line it ignores; writing
// goes through QSettings, which writes a temporary file and renames it over the old one, so the
// file is whole at any moment.
class SettingsFile {
public:
    explicit SettingsFile(QString path) : path_(std::move(path)) {}

    // $XDG_CONFIG_HOME/velnor/velnor.ini (~/.config/velnor/velnor.ini by default).
    static QString standardPath();

    const QString& path() const { return path_; }
    // Where a file with ignored lines is kept as it was, before the game writes over it.
    QString backupPath() const { return path_ + QStringLiteral(".bak"); }

    // The settings in the file; a missing file gives the standard ones without a problem, an
    // unreadable one the standard ones with one. A file with problems is copied to backupPath()
    // (when that can be written), since the next write keeps only what was used of it.
    LoadedSettings load();
    // Whether load() kept a copy of the file at backupPath().
    bool backedUp() const { return backedUp_; }
    // Writes the whole file anew; false if it cannot be written (the folder made as needed).
    bool save(const Bindings& bindings, const WindowPlacement& window, const RaceSettings& race,
              const SoundSettings& sound) const;

private:
    QString path_;
    bool backedUp_ = false;
};

// The problems as the terminal shows them, one line each: "FILE:LINE: what".
QString problemsForTerminal(const QString& path, const std::vector<SettingsProblem>& problems);
// The problems as the player's message box says them, the first `shown` of them by line.
QString problemsForPlayer(const QString& path, const std::vector<SettingsProblem>& problems,
                          bool backedUp, std::size_t shown = 12);

} // namespace velnor
