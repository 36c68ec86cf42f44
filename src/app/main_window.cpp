#include "app/main_window.h"

#include "app/game_view.h"
#include "app/ghost_toggle.h"
#include "app/pad_side.h"
#include "app/panel_widget.h"
#include "app/program_icon.h"
#include "app/race_setup.h"
#include "app/title_screen.h"
#include "app/version_box.h"
#include "hud/instrument_panel.h"
#include "platform/message_boxes.h"
#include "platform/steady_clock.h"
#include "race/ghost_file.h"
#include "text/text_codec.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>

namespace velnor {
namespace {

// When the display server says the key event happened, on its monotonic millisecond clock.
std::uint32_t eventStamp(const QKeyEvent& event) {
    return static_cast<std::uint32_t>(event.timestamp());
}

const char* const kExitQuestion = "終了しますか？";
const char* const kSaveQuestion = "この走りをゴーストカーとして保存しますか？";
const char* const kOverwriteQuestion = "この走りをゴーストカーとして保存しますか？\nただし、このコ"
                                       "ースの古いゴーストカーは消去されます。";

} // namespace

MainWindow::MainWindow(std::string root, SteadyClock& clock, MessageBoxes& messages,
                       MusicPlayer& player, RaceSetup& setup)
    : root_(std::move(root)), clock_(clock), passClock_(clock.now()), messages_(messages),
      setup_(setup), music_(player, root_),
      game_(std::make_unique<Game>(root_, passClock_, static_cast<RaceEvents&>(*this))) {
    setWindowTitle(QStringLiteral("Velnor"));
    setWindowIcon(programIcon());
    createActions();
    createMenus();
    if (openGlAvailable()) {
        view_ = new GameView(*this);
        client_ = new ViewArea(this, *view_);
    } else {
        client_ = new PlainView(*this);
    }
    setCentralWidget(client_);
    client_->installEventFilter(this);
    resize(640, 480);
    setFocusPolicy(Qt::StrongFocus);

    frameTimer_.setSingleShot(true);
    frameTimer_.setTimerType(Qt::PreciseTimer);
    connect(&frameTimer_, &QTimer::timeout, this, [this] {
        idlePass();
        scheduleFrame();
    });

    if (!view_)
        messages_.message("レンダリングコンテキスト作成失敗");
    mainCanvas_.create(clientSize());
    drawTitleScreen(mainCanvas_, root_);
    game_->scanFiles();
    game_->setGhostEnabled(true);
    cursorShown_ = true;
    startGamepad();
}

MainWindow::~MainWindow() {
    frameTimer_.stop();
    music_.stop();
}

void MainWindow::createActions() {
    startAction_ = new QAction(QString::fromUtf8("開始(&S)..."), this);
    startAction_->setShortcut(Qt::Key_F2);
    connect(startAction_, &QAction::triggered, this, [this] { startCommand(); });
    stopAction_ = new QAction(QString::fromUtf8("停止(&P)"), this);
    stopAction_->setShortcut(Qt::Key_F3);
    connect(stopAction_, &QAction::triggered, this, [this] { stopCommand(); });
    exitAction_ = new QAction(QString::fromUtf8("アプリケーションの終了(&X)"), this);
    connect(exitAction_, &QAction::triggered, this, [this] { close(); });
    aboutAction_ = new QAction(QString::fromUtf8("バージョン情報(&A) ..."), this);
    connect(aboutAction_, &QAction::triggered, this, [this] { aboutCommand(); });
    // Alt+/ and Alt+? open the version box too; they are not written beside the menu item, so
    // they sit on an action of the window's own.
    aboutKeys_ = new QAction(this);
    aboutKeys_->setShortcuts(
        {QKeySequence(Qt::ALT | Qt::Key_Slash), QKeySequence(Qt::ALT | Qt::Key_Question)});
    connect(aboutKeys_, &QAction::triggered, this, [this] { aboutCommand(); });
    addAction(aboutKeys_);
    for (QAction* action : {startAction_, stopAction_, aboutKeys_})
        action->setShortcutContext(Qt::ApplicationShortcut);
}

void MainWindow::createMenus() {
    QMenu* gameMenu = menuBar()->addMenu(QString::fromUtf8("ゲーム(&G)"));
    gameMenu->addAction(startAction_);
    gameMenu->addAction(stopAction_);
    gameMenu->addSeparator();
    gameMenu->addAction(exitAction_);
    createSettingsMenu();
    QMenu* helpMenu = menuBar()->addMenu(QString::fromUtf8("ヘルプ(&H)"));
    helpMenu->addAction(aboutAction_);
}

QSize MainWindow::clientSize() const {
    return client_ ? client_->size() : QSize(640, 480);
}

void MainWindow::fitViewport() {
    // The view's framebuffer has device pixels: at a device pixel ratio of 2 a viewport in
    // the window's logical pixels would fill only its lower left quarter.
    const qreal ratio = client_ ? client_->devicePixelRatioF() : 1.0;
    const QSize size = clientSize();
    game_->setViewport(0, static_cast<float>(qRound(kPanelHeight * ratio)),
                       static_cast<float>(qRound(size.width() * ratio)),
                       static_cast<float>(qRound(size.height() * ratio)));
}

void MainWindow::titlePainted() {
    if (!music_.titleMusicPending)
        return;
    music_.titleMusicPending = false;
    music_.playTitleMusic();
}

void MainWindow::showTitleScreen() {
    // The window may have been resized during the race, when the canvas keeps its size.
    mainCanvas_.create(clientSize());
    drawTitleScreen(mainCanvas_, root_);
}

// ---- commands

void MainWindow::startCommand() {
    if (game_->watching()) {
        stopRace(); // a ghost watched loses nothing: no question
    } else if (game_->gameState() == GameState::kRacing) {
        if (!messages_.question(kAbortQuestion))
            return;
        stopRace();
    } else if (game_->gameState() == GameState::kFinished) {
        stopRace();
    }
    syncPassClock();
    if (setup_.chooseCar(*game_) && setup_.chooseCourse(*game_)) {
        if (setup_.watchChosen())
            startWatching();
        else
            startRace();
    }
}

void MainWindow::stopCommand() {
    if (game_->watching()) {
        stopWatching(); // nothing to ask, nothing to save
        return;
    }
    switch (game_->gameState()) {
    case GameState::kRacing:
        if (!messages_.question(kAbortQuestion))
            return;
        stopRace();
        music_.playTitleMusic();
        break;
    case GameState::kFinished:
        // The run is saved without a question; if it cannot be, the player is told and the
        // race stays finished, so S or F3 can try again (Enter or Esc leave without it).
        if (!saveGhost())
            return;
        stopRace();
        music_.playTitleMusic();
        break;
    case GameState::kTitle:
        break;
    }
}

void MainWindow::aboutCommand() {
    VersionBox box(this);
    box.exec();
}

void MainWindow::quitWithoutQuestion() {
    quitting_ = true;
    close();
    QCoreApplication::quit(); // also leaves the loop of an open dialog or question
}

void MainWindow::startRace() {
    const QSize size = clientSize();
    syncPassClock(); // the dialogs took their time
    raceCar_ = game_->playerCar;
    raceGhostWanted_ = game_->ghostEnabled() != 0;
    runSaved_ = false;
    game_->startRace(size.width(), size.height());
    fitViewport();
    mainCanvas_.clear();
    redrawView();
}

void MainWindow::stopRace() {
    game_->stopRace();
}

void MainWindow::offerToSaveGhost() {
    if (game_->playerCar.speed() > 0)
        return; // only at a standstill
    const bool replacing = ghostFileExists(root_, game_->runLog()) == 1;
    if (!messages_.question(replacing ? kOverwriteQuestion : kSaveQuestion))
        return;
    if (saveGhost())
        messages_.information(replacing ? "上書き保存しました。" : "保存しました。");
}

bool MainWindow::saveGhost() {
    if (game_->saveRunAsGhost() == 0) {
        runSaved_ = true;
        return true;
    }
    const QString file = fromShiftJis(ghostFileName(game_->runLog().courseName()));
    messages_.message("ファイル " + file.toStdString() +
                      " に書き込めません。\nゴーストカーは保存されていません。");
    return false;
}

void MainWindow::toggleCursor() {
    cursorShown_ = !cursorShown_;
    if (cursorShown_)
        client_->unsetCursor();
    else
        client_->setCursor(Qt::BlankCursor);
}

// ---- events

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    const Action action = bindings_.actionOfKey(event->key());
    if (drivingKeyOf(action) >= 0) // held keys count even with Alt or Ctrl, as they are let go
        drivingAction(action, ActionSource::kKeyboard, true, clock_.tickAt(eventStamp(*event)));
    if (heldForTheMenu(*event)) {
        event->ignore(); // the menu's and the accelerators', not a race key
        return;
    }
    if (game_->watching() && event->key() == Qt::Key_Escape) {
        stopWatching();
    } else if (game_->gameState() == GameState::kFinished &&
               (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
                event->key() == Qt::Key_Escape)) {
        stopRace();
        music_.playTitleMusic();
    } else if (action != Action::kCount && drivingKeyOf(action) < 0) {
        actionPressed(action);
    }
    event->accept();
}

void MainWindow::keyReleaseEvent(QKeyEvent* event) {
    const Action action = bindings_.actionOfKey(event->key());
    if (!event->isAutoRepeat() && drivingKeyOf(action) >= 0)
        drivingAction(action, ActionSource::kKeyboard, false, clock_.tickAt(eventStamp(*event)));
    event->accept();
}

void MainWindow::actionPressed(Action action, ActionSource source) {
    if (drivingKeyOf(action) >= 0) {
        drivingAction(action, source, true, clock_.now());
        return;
    }
    const GameState state = game_->gameState();
    switch (action) {
    case Action::kNextView:
        if (state != GameState::kTitle)
            game_->nextView();
        break;
    case Action::kToggleCursor:
        if (state == GameState::kRacing)
            toggleCursor();
        break;
    case Action::kSaveGhost:
        if (state == GameState::kFinished && !game_->watching())
            offerToSaveGhost();
        break;
    case Action::kPause:
        pauseCommand();
        break;
    case Action::kRestart:
        restartCommand();
        break;
    case Action::kMute:
        muteCommand();
        break;
    default:
        break;
    }
}

void MainWindow::actionReleased(Action action, ActionSource source) {
    if (drivingKeyOf(action) >= 0)
        drivingAction(action, source, false, clock_.now());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (game_->gameState() == GameState::kRacing && !game_->watching() && !quitting_ &&
        !messages_.question(kExitQuestion)) {
        event->ignore();
        return;
    }
    frameTimer_.stop();
    music_.stop();
    saveSettings();
    event->accept();
}

void MainWindow::changeEvent(QEvent* event) {
    // A key let go while another window has the focus would stay held. A pause first, so that
    // the passes due until now still have the keys as they were.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        pauseForFocusLoss();
        releaseKeys();
    }
    QMainWindow::changeEvent(event);
}

bool MainWindow::event(QEvent* event) {
    // While a modal question or dialog is open the game's clock stands still.
    if (event->type() == QEvent::WindowBlocked) {
        clock_.hold();
        releaseKeys();
    } else if (event->type() == QEvent::WindowUnblocked) {
        clock_.resume();
    }
    return QMainWindow::event(event);
}

} // namespace velnor
