#pragma once

#include "app/settings_file.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QSlider;

namespace velnor {

// "音量": the music's and the race's sounds' volumes (0 to 100 %) and the mute. Each change is
// heard at once through `tryOut`; OK keeps the dialog's settings (settings()), ｷｬﾝｾﾙ and Esc leave
// them, and the caller puts back what was heard before.
class VolumeDialog : public QDialog {
public:
    static constexpr int kMusicSlider = 1201;
    static constexpr int kSoundSlider = 1202;
    static constexpr int kMuteBox = 1203;

    VolumeDialog(const SoundSettings& settings, std::function<void(const SoundSettings&)> tryOut,
                 QWidget* parent);

    SoundSettings settings() const;

private:
    void changed();

    std::function<void(const SoundSettings&)> tryOut_;
    QSlider* music_ = nullptr;
    QSlider* sound_ = nullptr;
    QLabel* musicValue_ = nullptr;
    QLabel* soundValue_ = nullptr;
    QCheckBox* mute_ = nullptr;
};

} // namespace velnor
