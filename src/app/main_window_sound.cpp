// The main window's sound: where the race's sounds go, the volumes of the music and the sounds,
// and the mute (M), in the "設定" menu and the settings file.
#include "app/main_window.h"
#include "app/volume_dialog.h"
#include "platform/message_boxes.h"

#include <QAction>
#include <QMenu>

namespace velnor {

void MainWindow::createSoundActions(QMenu* menu) {
    volumeAction_ = menu->addAction(QString::fromUtf8("音量(&V)..."));
    connect(volumeAction_, &QAction::triggered, this, [this] { volumeCommand(); });
    muteAction_ = menu->addAction(QString::fromUtf8("消音(&M)"));
    muteAction_->setCheckable(true);
    muteAction_->setChecked(soundSettings_.muted);
    connect(muteAction_, &QAction::triggered, this, [this](bool on) { setMuted(on); });
}

void MainWindow::setSoundOutput(SoundOutput& output) {
    soundOutput_ = &output;
    soundCues_.setSink(output);
    output.setHeld(paused_);
    hearAt(soundSettings_);
}

void MainWindow::hearAt(const SoundSettings& settings) {
    music_.setVolume(settings.muted ? 0.0f : static_cast<float>(settings.musicVolume) / 100);
    soundOutput_->setVolume(static_cast<float>(settings.soundVolume) / 100);
    soundOutput_->setMuted(settings.muted);
}

void MainWindow::setSoundSettings(const SoundSettings& settings) {
    soundSettings_ = settings;
    hearAt(settings);
    if (muteAction_)
        muteAction_->setChecked(settings.muted);
}

void MainWindow::setMuted(bool muted) {
    SoundSettings settings = soundSettings_;
    settings.muted = muted;
    setSoundSettings(settings);
}

void MainWindow::muteCommand() {
    setMuted(!soundSettings_.muted);
}

void MainWindow::volumeCommand() {
    int soundVolume = soundSettings_.soundVolume;
    const auto tryOut = [this, &soundVolume](const SoundSettings& tried) {
        hearAt(tried);
        // A beep at the sounds' new volume, so that it is heard even where no engine runs (a
        // pause would only keep it for later).
        if (tried.soundVolume != soundVolume && !paused_)
            soundOutput_->cue(Cue::kCountBeep, 0);
        soundVolume = tried.soundVolume;
    };
    VolumeDialog dialog(soundSettings_, tryOut, this);
    if (dialog.exec() != QDialog::Accepted) {
        hearAt(soundSettings_);
        return;
    }
    setSoundSettings(dialog.settings());
    if (!writeSettings())
        messages_.message("設定ファイル " + settingsFile_->path().toStdString() +
                          " に書き込めません。\nこの音量は、ゲームを終えるまで使います。");
}

} // namespace velnor
