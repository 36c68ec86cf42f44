#pragma once

#include "app/actions.h"
#include "app/pad_input.h"
#include "hud/canvas.h"
#include "platform/key_state.h"
#include "race/autopilot.h"
#include "race/game.h"
#include "race/music.h"
#include "race/race_events.h"

#include <QMainWindow>
#include <QTimer>
#include <memory>
#include <optional>

class QAction;

namespace velnor {

class GameView;
class MessageBoxes;
class PanelWidget;
class RaceSetup;
class SteadyClock;
struct PadEvent;
struct PadSide;

// The game's one window: the menu, the commands and keys of each game state, the loop that
// runs the race pass by pass, the race panels over the 3D view, and the music.
class MainWindow : public QMainWindow, private RaceEvents {
public:
    static constexpr int kPanelHeight = Game::kPanelHeight;

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

    // The commands of the menu.
    void startCommand();
    void stopCommand();
    void aboutCommand();
    // Closes the game as the menu's exit does, but without asking even in a race, and ends any
    // dialog or question that is open: the system asked the game to end.
    void quitWithoutQuestion();
    // One pass of the game loop, as the idle timer runs it.
    void idlePass();
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
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void createActions();
    void createMenus();
    void showTitleScreen();
    void startRace();
    void stopRace();
    void offerToSaveGhost();
    // Saves the run as the course's ghost; if the file cannot be written, says which and
    // returns false (the run is kept).
    bool saveGhost();
    void toggleCursor();
    void autopilotGivesUp();
    QSize clientSize() const;
    // The camera's viewport: the client area, its bottom at the instrument panel's top edge, in
    // the framebuffer's device pixels.
    void fitViewport();
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
    SteadyClock& clock_;
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
    QTimer idleTimer_;
    bool cursorShown_ = true;
    bool quitting_ = false; // closing without a question
    bool autopilotWanted_ = false;
    int frameRate_ = -1;
    Bindings bindings_ = Bindings::standard();
    std::optional<Autopilot> autopilot_; // one per race: it learns the course at its first pass
    HeldActions held_;                   // who holds the driving actions: keyboard, pad
    std::unique_ptr<PadSide> pad_;

    QAction* startAction_ = nullptr;
    QAction* stopAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    QAction* aboutKeys_ = nullptr;
};

} // namespace velnor
