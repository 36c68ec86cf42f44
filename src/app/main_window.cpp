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

const char* const kAbortQuestion = "中断しますか？";
const char* const kExitQuestion = "終了しますか？";
const char* const kSaveQuestion = "この走りをゴーストカーとして保存しますか？";
const char* const kOverwriteQuestion = "この走りをゴーストカーとして保存しますか？\nただし、このコ"
                                       "ースの古いゴーストカーは消去されます。";

} // namespace

MainWindow::MainWindow(std::string root, SteadyClock& clock, MessageBoxes& messages,
                       MusicPlayer& player, RaceSetup& setup)
    : root_(std::move(root)), clock_(clock), messages_(messages), setup_(setup),
      music_(player, root_),
      game_(std::make_unique<Game>(root_, clock, static_cast<RaceEvents&>(*this))) {
    setWindowTitle(QStringLiteral("Velnor"));
    setWindowIcon(programIcon());
    createActions();
    createMenus();
    if (openGlAvailable()) {
        view_ = new GameView(*this);
        client_ = view_;
    } else {
        client_ = new PlainView(*this);
    }
    setCentralWidget(client_);
    resize(640, 480);
    setFocusPolicy(Qt::StrongFocus);

    connect(&idleTimer_, &QTimer::timeout, this, [this] { idlePass(); });
    idleTimer_.setInterval(0);

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
    idleTimer_.stop();
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
    if (game_->gameState() == GameState::kRacing) {
        if (!messages_.question(kAbortQuestion))
            return;
        stopRace();
    } else if (game_->gameState() == GameState::kFinished) {
        stopRace();
    }
    if (setup_.chooseCar(*game_) && setup_.chooseCourse(*game_))
        startRace();
}

void MainWindow::stopCommand() {
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
    game_->startRace(size.width(), size.height());
    fitViewport();
    mainCanvas_.clear();
    client_->update();
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
    if (game_->saveRunAsGhost() == 0)
        return true;
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

// ---- the loop

void MainWindow::idlePass() {
    if (QApplication::activeModalWidget())
        return; // a question or dialog is open: the race waits
    Game& game = *game_;
    const GameState state = game.gameState();
    if (state == GameState::kTitle)
        return;
    if (autopilot_ && state == GameState::kRacing) {
        autopilot_->drive(game, keys_);
        if (autopilot_->gaveUp())
            autopilotGivesUp();
    }
    game.runIdleWork(keys_);
    if (!instrumentPanel_)
        return;
    const InstrumentReadings readings = readingsOf(game);
    drawInstrumentPanel(instrumentPanel_->canvas(), readings);
    if (state == GameState::kRacing)
        drawClock(instrumentPanel_->canvas(), readings);
    client_->update();
    instrumentPanel_->update();
}

// ---- events

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    const Action action = bindings_.actionOfKey(event->key());
    if (drivingKeyOf(action) >= 0)
        actionPressed(action); // held keys count even with Alt or Ctrl, as they are let go
    if (heldForTheMenu(*event)) {
        event->ignore(); // the menu's and the accelerators', not a race key
        return;
    }
    if (game_->gameState() == GameState::kFinished &&
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
    if (!event->isAutoRepeat())
        actionReleased(bindings_.actionOfKey(event->key()));
    event->accept();
}

void MainWindow::actionPressed(Action action, ActionSource source) {
    const int key = drivingKeyOf(action);
    if (key >= 0) {
        held_.hold(action, source);
        keys_.setDown(key, true);
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
        if (state == GameState::kFinished)
            offerToSaveGhost();
        break;
    default:
        break;
    }
}

void MainWindow::actionReleased(Action action, ActionSource source) {
    const int key = drivingKeyOf(action);
    if (key >= 0 && held_.letGo(action, source))
        keys_.setDown(key, false);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (game_->gameState() == GameState::kRacing && !quitting_ &&
        !messages_.question(kExitQuestion)) {
        event->ignore();
        return;
    }
    idleTimer_.stop();
    music_.stop();
    event->accept();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    const QSize size = clientSize();
    switch (game_->gameState()) {
    case GameState::kTitle:
        mainCanvas_.resize(size);
        drawTitleScreen(mainCanvas_, root_);
        break;
    case GameState::kRacing:
        fitViewport();
        if (instrumentPanel_) {
            instrumentPanel_->setGeometry(0, size.height() - kPanelHeight, size.width(),
                                          kPanelHeight);
            instrumentPanel_->canvas().resize(instrumentPanel_->size());
        }
        break;
    case GameState::kFinished:
        break;
    }
}

void MainWindow::changeEvent(QEvent* event) {
    // A key let go while another window has the focus would stay held.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        keys_.releaseAll();
        held_.clear();
    }
    QMainWindow::changeEvent(event);
}

bool MainWindow::event(QEvent* event) {
    // While a modal question or dialog is open the game's clock stands still.
    if (event->type() == QEvent::WindowBlocked) {
        clock_.hold();
        keys_.releaseAll();
        held_.clear();
    } else if (event->type() == QEvent::WindowUnblocked) {
        clock_.resume();
    }
    return QMainWindow::event(event);
}

} // namespace velnor
