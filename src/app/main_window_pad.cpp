#include "app/main_window.h"
#include "app/pad_side.h"
#include "app/panel_widget.h"
#include "hud/note_panel.h"

#include <QApplication>

// The main window's side of the game controller: its presses and releases act as the keys do, and
// a note over the view says which controller came or went.
namespace velnor {
namespace {

// How long a controller's name may be shown, in characters.
constexpr int kNameLength = 64;

// A controller's name as the driver reports it, for the note: plain text on one line, whatever
// bytes it holds.
QString nameForTheNote(const std::string& name) {
    QString text = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    text = text.simplified();
    if (text.size() > kNameLength)
        text = text.left(kNameLength - 1) + QChar(0x2026);
    return text;
}

} // namespace

void MainWindow::startGamepad() {
    pad_ = std::make_unique<PadSide>();
    connect(&pad_->pollTimer, &QTimer::timeout, this, [this] { pollGamepad(); });
    if (pad_->gamepad.available())
        pad_->pollTimer.start(PadSide::kIdlePollMs);
    pad_->noteTimer.setSingleShot(true);
    connect(&pad_->noteTimer, &QTimer::timeout, this, [this] {
        if (pad_->note)
            pad_->note->hide();
        pad_->noteText.clear();
    });
}

void MainWindow::pollGamepad() {
    if (!pad_)
        return;
    for (const PadEvent& event : pad_->gamepad.poll(bindings_))
        padEvent(event);
    const bool racing = game_->gameState() == GameState::kRacing;
    const int interval =
        racing && pad_->gamepad.connected() ? PadSide::kRacingPollMs : PadSide::kIdlePollMs;
    if (pad_->pollTimer.interval() != interval)
        pad_->pollTimer.setInterval(interval);
}

void MainWindow::padEvent(const PadEvent& event) {
    switch (event.kind) {
    case PadEvent::Kind::kConnected:
        showPadNote(QString::fromUtf8("コントローラ接続: ") + nameForTheNote(event.name),
                    QColor(0, 0, 255));
        break;
    case PadEvent::Kind::kDisconnected:
        showPadNote(QString::fromUtf8("コントローラ切断: ") + nameForTheNote(event.name),
                    QColor(255, 0, 0));
        break;
    case PadEvent::Kind::kChange:
        if (!event.change.down) {
            actionReleased(event.change.action, event.change.source);
        } else if (isActiveWindow() && !QApplication::activeModalWidget()) {
            // As the keys: only the window with the focus, and not under a question or dialog.
            actionPressed(event.change.action, event.change.source);
        }
        break;
    }
}

void MainWindow::showPadNote(const QString& text, QColor colour) {
    const QSize area = clientSize();
    pad_->noteText = fittedNote(text, area.width());
    const QSize size = notePanelSize(pad_->noteText);
    const QRect where((area.width() - size.width()) / 2, 8, size.width(), size.height());
    if (!pad_->note)
        pad_->note = new PanelWidget(client_, where);
    else
        pad_->note->setGeometry(where);
    pad_->note->canvas().resize(size);
    drawNotePanel(pad_->note->canvas(), pad_->noteText, colour);
    pad_->note->show();
    pad_->note->raise();
    pad_->note->update();
    pad_->noteTimer.start(PadSide::kNoteMs);
}

QString MainWindow::padNote() const {
    return pad_ ? pad_->noteText : QString();
}

} // namespace velnor
