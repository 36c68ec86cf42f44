#include "app/volume_dialog.h"

#include "app/dialog_layout.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace velnor {
namespace {

QString percentText(int value) {
    return QStringLiteral("%1%").arg(value);
}

QSlider* volumeSlider(int value) {
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setRange(0, 100);
    slider->setSingleStep(5);
    slider->setPageStep(10);
    slider->setValue(value);
    return slider;
}

} // namespace

VolumeDialog::VolumeDialog(const SoundSettings& settings,
                           std::function<void(const SoundSettings&)> tryOut, QWidget* parent)
    : QDialog(parent), tryOut_(std::move(tryOut)) {
    setWindowTitle(QString::fromUtf8("音量"));
    DialogLayout layout(*this);
    layout.setSize(200, 82);
    auto* musicLabel = layout.place(new QLabel(QString::fromUtf8("音楽(&U):")), 0, 7, 10, 40, 8);
    music_ = layout.place(volumeSlider(settings.musicVolume), kMusicSlider, 50, 8, 110, 12);
    musicValue_ = layout.place(new QLabel(percentText(settings.musicVolume)), 0, 165, 10, 28, 8);
    auto* soundLabel = layout.place(new QLabel(QString::fromUtf8("効果音(&E):")), 0, 7, 28, 40, 8);
    sound_ = layout.place(volumeSlider(settings.soundVolume), kSoundSlider, 50, 26, 110, 12);
    soundValue_ = layout.place(new QLabel(percentText(settings.soundVolume)), 0, 165, 28, 28, 8);
    musicLabel->setBuddy(music_);
    soundLabel->setBuddy(sound_);
    mute_ = layout.place(new QCheckBox(QString::fromUtf8("消音(&M)")), kMuteBox, 7, 44, 100, 10);
    mute_->setChecked(settings.muted);

    auto* ok = layout.place(new QPushButton(QStringLiteral("OK")), 1, 97, 62, 48, 15);
    auto* cancel = layout.place(new QPushButton(QString::fromUtf8("ｷｬﾝｾﾙ")), 2, 149, 62, 48, 15);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(music_, &QSlider::valueChanged, this, [this] { changed(); });
    connect(sound_, &QSlider::valueChanged, this, [this] { changed(); });
    connect(mute_, &QCheckBox::toggled, this, [this] { changed(); });
}

SoundSettings VolumeDialog::settings() const {
    return {music_->value(), sound_->value(), mute_->isChecked()};
}

void VolumeDialog::changed() {
    musicValue_->setText(percentText(music_->value()));
    soundValue_->setText(percentText(sound_->value()));
    if (tryOut_)
        tryOut_(settings());
}

} // namespace velnor
