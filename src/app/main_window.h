#pragma once

#include "app/actions.h"
#include "app/pad_input.h"
#include "app/settings_file.h"
#include "app/split_display.h"
#include "hud/canvas.h"
#include "platform/key_state.h"
#include "platform/pass_pacer.h"
#include "platform/tick_clock.h"
#include "race/autopilot.h"
#include "race/game.h"
#include "race/music.h"
#include "race/race_events.h"
#include "race/sound/race_sound_cues.h"

#include <QMainWindow>
#include <QTimer>
#include <memory>
#include <optional>

class QAction;
class QMenu;

namespace velnor {

class GameView;
class MessageBoxes;
class PanelWidget;
class RaceSetup;
class SteadyClock;
struct PadEvent;
struct PadSide;

// The game's one window: the menu, the commands and keys of each game state, the loop that
// runs the race pass by pass, the race panels over the 3D view, the music and the race's sounds.
class MainWindow : public QMainWindow, private RaceEvents {
public:
    static constexpr int kPanelHeight = Game::kPanelHeight;
    // Asked before a race under way is given up: for F2, F3 and R.
    static constexpr const char* kAbortQuestion = "中断しますか？";

    MainWindow(std::string root, SteadyClock& clock, MessageBoxes& messages, MusicPlayer& player,
               RaceSetup& setup);
    ~MainWindow() override;

    Game& game() { return *game_; }
    Music& music() { return music_; }
    KeyTable& keys() { return keys_; }
    Canvas& mainCanvas() { return mainCanvas_; }
    // The 3D view, or null where the display has no OpenGL.
    GameView* view() const { return view_; }
    // The client area below the menu: the 3D view or its stand-in.
    QWidget* client() const { return client_; }
    PanelWidget* instrumentPanel() const { return instrumentPanel_; }
    PanelWidget* lapPanel() const { return lapPanel_; }
    PanelWidget* resultPanel() const { return resultPanel_; }
    // The gap to the ghost and the splits, and whether each is shown.
    SplitDisplay& splits() { return splits_; }
    // The label over the 3D view while the race is paused; null when it has never been.
    PanelWidget* pausePanel() const { return pausePanel_; }
    // Whether the race is paused: the game's clock holds, and no frames are drawn.
    bool paused() const { return paused_; }
    // Whether the frames' timer runs: while racing or finished, neither paused nor at the title.
    bool framesRunning() const { return frameTimer_.isActive(); }

    // Where the race's sounds go (the audio device's output in the game, a recorder in tests):
    // nowhere until one is given. It is given the volume and the mute as they stand.
    void setSoundOutput(SoundOutput& output);
    // The volumes and the mute ("音量", M, the settings file): the music and the sounds follow
    // them at once.
    const SoundSettings& soundSettings() const { return soundSettings_; }
    void setSoundSettings(const SoundSettings& settings);
    // M: nothing heard, or heard again, in every state; kept in the settings file.
    void muteCommand();
    // "音量": the volume dialog, its changes heard as they are made (a beep at each new volume
    // of the sounds); OK keeps them and writes the settings file, ｷｬﾝｾﾙ puts back what was heard
    // before.
    void volumeCommand();

    // The commands of the menu.
    void startCommand();
    void stopCommand();
    void aboutCommand();
    // P (the pad's Start): pauses the race, the count before it included, or goes on with it.
    // While paused the game's clock holds (the race time, the count, the lap panel's time, the
    // recorded run leave the pause out), the music holds, a label says so and no frames are
    // drawn; the driving keys stay as they are, and changes to them count from the first pass
    // after it. Nothing in the title state or after the finish.
    void pauseCommand();
    // R (the pad's Back): after the finish, at once a new race with the same car, transmission
    // and course; while racing, the same after "中断しますか？" is answered yes. The course's
    // ghost runs as in the last race, and a run just saved as the ghost always does.
    void restartCommand();
    // Whether the race pauses when the window loses the focus ("設定" menu, settings file).
    bool pauseOnFocusLoss() const { return pauseOnFocusLoss_; }
    void setPauseOnFocusLoss(bool on);
    // "キー設定": the key assignment dialog; OK assigns its keys and writes the settings file.
    // Open in every state; in a race the clock holds and the keys held are let go meanwhile.
    void keySettingsCommand();
    // F11: full screen, or back to the window as it was (maximised or not).
    void toggleFullScreen();
    // Closes the game as the menu's exit does, but without asking even in a race, and ends any
    // dialog or question that is open: the system asked the game to end.
    void quitWithoutQuestion();
    // One turn of the game loop while a race runs: every pass due by the clock, one for each
    // millisecond since the last (the key changes at their own milliseconds), then a frame.
    void idlePass();
    // The frames a second drawn while racing (see setFrameRate), for the display the window is on.
    int framesPerSecond() const;
    // The autopilot drives the player's car in every race from now on (the game's --autopilot):
    // it holds the driving keys, the keyboard still does everything else.
    void setAutopilot(bool on) { autopilotWanted_ = on; }
    // Frames a second while racing: 0 draws as fast as the loop can (to measure the renderer),
    // -1 (the default) the display's refresh rate. The passes run one per millisecond whatever
    // the rate.
    void setFrameRate(int fps) { frameRate_ = fps; }
    // The keys and pad buttons of the actions.
    const Bindings& bindings() const { return bindings_; }
    void setBindings(const Bindings& bindings) { bindings_ = bindings; }
    // Takes the keys and the window's placement from `file`, shows the window as it was when
    // the game last closed, and says on the terminal and in a box that does not hold the game
    // which lines of the file it ignored. The window writes the file when it closes and when
    // keys are assigned. Without a file (as in tests) nothing is read or written.
    void showWithSettings(SettingsFile& file);

    // A key or pad button of `action` pressed or let go: driving actions are held for the
    // passes (until every source that holds them lets go), race actions act on the press in the
    // states where they mean something.
    void actionPressed(Action action, ActionSource source = ActionSource::kKeyboard);
    void actionReleased(Action action, ActionSource source = ActionSource::kKeyboard);
    // Handles everything the game controller did since the last call.
    void pollGamepad();
    // The note about the controller that came or went, as shown; empty when none is shown.
    QString padNote() const;

    // From the view.
    void titlePainted();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // The client area's resizes, whatever made them (the window, the menu bar, full screen;
    // under a window manager the window's own resize can come before its client area's).
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void createActions();
    void createMenus();
    void showTitleScreen();
    void startRace();
    void stopRace();
    // Watching the chosen course's ghost (main_window_watch.cpp): started as a race is, ended
    // back at the title.
    void startWatching();
    void stopWatching();
    void offerToSaveGhost();
    // The pause and the quick restart (main_window_pause.cpp).
    void createPauseActions();
    void pauseRace();
    void resumeRace();
    // The race stopped: the pause held ends and its label goes.
    void dropPause();
    void placePausePanel();
    // The window went to the background: a pause if the player wants it.
    void pauseForFocusLoss();
    void restartRace();
    // Saves the run as the course's ghost; if the file cannot be written, says which and
    // returns false (the run is kept).
    bool saveGhost();
    void toggleCursor();
    void autopilotGivesUp();
    QSize clientSize() const;
    // The game loop's side (main_window_loop.cpp).
    void startFrames();
    void scheduleFrame();
    void runDuePasses();
    // The view (or its stand-in) drawn again at the next turn of the event loop.
    void redrawView();
    // A driving action's key or button went down or up at `tick` of the game's clock; its key
    // goes up only when no source holds it any more.
    void drivingAction(Action action, ActionSource source, bool down, std::uint32_t tick);
    // Lets go of every driving key, and forgets the changes not yet applied.
    void releaseKeys();
    // The passes' clock stands at the game's clock: before a race starts.
    void syncPassClock();
    // The camera's viewport: the client area, its bottom at the instrument panel's top edge, in
    // the framebuffer's device pixels.
    void fitViewport();
    // The race panels where they belong in the client area as it is now: the instrument panel
    // along the bottom at full width, the lap and result panels centred above it.
    void placeRacePanels();
    // The title canvas, the viewport and the panels for the client area's new size.
    void clientResized();
    void createSettingsMenu();
    void createSoundActions(QMenu* menu);
    // The music and the sounds at the volumes and the mute of `settings` (kept or tried out).
    void hearAt(const SoundSettings& settings);
    // The mute on or off, the volumes as they are.
    void setMuted(bool muted);
    // The keys and the window's placement into the settings file, if there is one.
    void saveSettings();
    // The whole settings file written anew; false if it could not be (true without a file).
    bool writeSettings() const;
    // The "設定" menu's switches as the settings file keeps them.
    RaceSettings raceSettings() const;
    void startGamepad();
    void padEvent(const PadEvent& event);
    void showPadNote(const QString& text, QColor colour);

    // RaceEvents
    void raceStarted() override;
    void lapCompleted(const LapCounter& raceClock) override;
    void raceFinished(const LapCounter& raceClock, int finishRank) override;
    void lapPanelExpired() override;
    void modelFileMissing(const std::string& fileName) override;
    void raceStopped() override;

    std::string root_;
    SteadyClock& clock_;    // the wall: real milliseconds, held while a question is open
    ManualClock passClock_; // what the race reads: the tick of the pass being run
    PassPacer pacer_;
    MessageBoxes& messages_;
    RaceSetup& setup_;
    Music music_;
    std::unique_ptr<Game> game_;
    KeyTable keys_;
    Canvas mainCanvas_;
    GameView* view_ = nullptr;
    QWidget* client_ = nullptr;
    PanelWidget* instrumentPanel_ = nullptr;
    PanelWidget* lapPanel_ = nullptr;
    PanelWidget* resultPanel_ = nullptr;
    PanelWidget* pausePanel_ = nullptr;
    QTimer frameTimer_;
    std::uint32_t frameGridStart_ = 0; // the wall's tick the frames are counted from
    std::int64_t framesOnGrid_ = 0;    // frames scheduled since
    bool cursorShown_ = true;
    bool quitting_ = false; // closing without a question
    bool autopilotWanted_ = false;
    bool paused_ = false; // holding one hold of the game's clock
    bool pauseOnFocusLoss_ = false;
    // What the last race started with, for its restart: the player's car as chosen (with its
    // transmission), whether its ghost was wanted, and whether its run has been saved as the
    // course's ghost since.
    Vehicle raceCar_;
    bool raceGhostWanted_ = true;
    bool runSaved_ = false;
    int frameRate_ = -1;
    Bindings bindings_ = Bindings::standard();
    std::optional<Autopilot> autopilot_; // one per race: it learns the course at its first pass
    SettingsFile* settingsFile_ = nullptr;
    HeldActions held_; // who holds the driving actions: keyboard, pad
    SplitDisplay splits_;
    std::unique_ptr<PadSide> pad_;
    SilentOutput silence_;
    SoundOutput* soundOutput_ = &silence_;
    RaceSoundCues soundCues_{silence_}; // after each pass, and at the race's moments
    SoundSettings soundSettings_;

    QAction* startAction_ = nullptr;
    QAction* stopAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    QAction* aboutKeys_ = nullptr;
    QAction* keysAction_ = nullptr;
    QAction* fullScreenAction_ = nullptr;
    QAction* gapAction_ = nullptr;
    QAction* splitsAction_ = nullptr;
    QAction* pauseOnFocusLossAction_ = nullptr;
    QAction* volumeAction_ = nullptr;
    QAction* muteAction_ = nullptr;
};

} // namespace velnor
