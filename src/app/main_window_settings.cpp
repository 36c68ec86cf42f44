// The main window's settings: the "設定" menu with the key assignment and full screen, the
// settings file read at the start and written at the end, and the layout of the race panels at
// any window size.
#include "app/key_dialog.h"
#include "app/main_window.h"
#include "app/panel_widget.h"
#include "app/settings_file.h"
#include "app/title_screen.h"
#include "hud/instrument_panel.h"
#include "platform/message_boxes.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <cstdio>

namespace velnor {
namespace {

// Whether enough of `rect` lies on one of the screens to take hold of it: a window saved on a
// screen that is gone comes back where the system puts it.
bool onSomeScreen(const QRect& rect) {
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect shown = rect.intersected(screen->geometry());
        if (shown.width() >= qMin(64, rect.width()) && shown.height() >= qMin(64, rect.height()))
            return true;
    }
    return false;
}

WindowPlacement placementOf(const QWidget& window) {
    WindowPlacement placement;
    placement.maximized = window.isMaximized();
    placement.fullScreen = window.isFullScreen();
    const QRect normal =
        placement.maximized || placement.fullScreen ? window.normalGeometry() : window.geometry();
    if (normal.isValid())
        placement.geometry = normal;
    return placement;
}

// Shows the problems of the settings file in a box that leaves the game running.
void showProblems(QWidget* window, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Velnor"), text,
                                QMessageBox::Ok, window);
    box->setTextFormat(Qt::PlainText); // the file's own text is quoted in it
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

} // namespace

void MainWindow::createSettingsMenu() {
    keysAction_ = new QAction(QString::fromUtf8("キー設定(&K)..."), this);
    connect(keysAction_, &QAction::triggered, this, [this] { keySettingsCommand(); });
    fullScreenAction_ = new QAction(QString::fromUtf8("全画面表示(&F)"), this);
    fullScreenAction_->setShortcut(Qt::Key_F11);
    fullScreenAction_->setShortcutContext(Qt::ApplicationShortcut);
    fullScreenAction_->setCheckable(true);
    connect(fullScreenAction_, &QAction::triggered, this, [this] { toggleFullScreen(); });
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8("設定(&O)"));
    menu->addAction(keysAction_);
    menu->addAction(fullScreenAction_);
    createPauseActions();
    menu->addAction(pauseOnFocusLossAction_);
    menu->addSeparator();
    gapAction_ = menu->addAction(QString::fromUtf8("ゴーストとの差を表示(&G)"));
    gapAction_->setCheckable(true);
    gapAction_->setChecked(splits_.gapShown());
    connect(gapAction_, &QAction::toggled, this, [this](bool on) { splits_.setGapShown(on); });
    splitsAction_ = menu->addAction(QString::fromUtf8("スプリットを表示(&L)"));
    splitsAction_->setCheckable(true);
    splitsAction_->setChecked(splits_.splitsShown());
    connect(splitsAction_, &QAction::toggled, this,
            [this](bool on) { splits_.setSplitsShown(on); });
    menu->addSeparator();
    createSoundActions(menu);
    connect(menu, &QMenu::aboutToShow, this,
            [this] { fullScreenAction_->setChecked(isFullScreen()); });
}

RaceSettings MainWindow::raceSettings() const {
    return {pauseOnFocusLoss_, splits_.gapShown(), splits_.splitsShown()};
}

void MainWindow::keySettingsCommand() {
    KeyDialog dialog(bindings_, messages_, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    bindings_ = dialog.bindings();
    if (!writeSettings())
        messages_.message("設定ファイル " + settingsFile_->path().toStdString() +
                          " に書き込めません。\nこのキー設定は、ゲームを終えるまで使います。");
}

void MainWindow::toggleFullScreen() {
    // The maximised state stays in the window's state, so leaving full screen goes back to it.
    setWindowState(windowState() ^ Qt::WindowFullScreen);
    fullScreenAction_->setChecked(isFullScreen());
}

void MainWindow::showWithSettings(SettingsFile& file) {
    settingsFile_ = &file;
    const LoadedSettings loaded = file.load();
    bindings_ = loaded.bindings;
    setPauseOnFocusLoss(loaded.race.pauseOnFocusLoss);
    gapAction_->setChecked(loaded.race.showGap); // the menu's switches act when they change
    splitsAction_->setChecked(loaded.race.showSplits);
    setSoundSettings(loaded.sound);
    const WindowPlacement& placement = loaded.window;
    if (placement.geometry && onSomeScreen(*placement.geometry))
        setGeometry(*placement.geometry);
    Qt::WindowStates states = Qt::WindowNoState;
    if (placement.maximized)
        states |= Qt::WindowMaximized;
    if (placement.fullScreen)
        states |= Qt::WindowFullScreen;
    setWindowState(states);
    show();
    if (loaded.problems.empty())
        return;
    std::fputs(qPrintable(problemsForTerminal(file.path(), loaded.problems)), stderr);
    const QString text = problemsForPlayer(file.path(), loaded.problems, file.backedUp());
    // After the window has come up, over it.
    QTimer::singleShot(0, this, [this, text] { showProblems(this, text); });
}

bool MainWindow::writeSettings() const {
    return !settingsFile_ ||
           settingsFile_->save(bindings_, placementOf(*this), raceSettings(), soundSettings_);
}

void MainWindow::saveSettings() {
    if (!writeSettings())
        std::fprintf(stderr, "velnor: %s: cannot be written; the settings are not kept\n",
                     qPrintable(settingsFile_->path()));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize)
        clientResized();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::clientResized() {
    switch (game_->gameState()) {
    case GameState::kTitle:
        mainCanvas_.resize(clientSize());
        drawTitleScreen(mainCanvas_, root_);
        break;
    case GameState::kRacing:
    case GameState::kFinished:
        fitViewport();
        placeRacePanels();
        break;
    }
}

void MainWindow::placeRacePanels() {
    const QSize size = clientSize();
    const int w = size.width();
    const int h = size.height();
    if (instrumentPanel_) {
        Canvas& canvas = instrumentPanel_->canvas();
        const QSize panel(w, kPanelHeight);
        const bool wider = canvas.clientSize() != panel;
        instrumentPanel_->setGeometry(QRect(QPoint(0, h - kPanelHeight), panel));
        if (wider) {
            // Drawn again at once, the clock too while racing: not blank until the next pass.
            if (canvas.clientSize() != panel)
                canvas.resize(panel);
            const InstrumentReadings readings = readingsOf(*game_);
            drawInstrumentPanel(canvas, readings);
            if (game_->gameState() == GameState::kRacing)
                drawClock(canvas, readings);
        }
    }
    const int middle = (h - kPanelHeight) / 2;
    if (lapPanel_)
        lapPanel_->move(w / 2 - 50, middle - 16);
    if (resultPanel_)
        resultPanel_->move(w / 2 - 50, middle - resultPanel_->height() / 2);
    splits_.place(size, kPanelHeight);
    placePausePanel();
}

} // namespace velnor
