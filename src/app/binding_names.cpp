#include "app/binding_names.h"

#include <QKeySequence>
#include <array>

namespace velnor {
namespace {

struct ActionNames {
    const char* file;
    const char* title;
};

// In the order of Action.
constexpr std::array<ActionNames, kActionCount> kActions = {{
    {"accelerator", "アクセル"},
    {"brake", "ブレーキ"},
    {"steerleft", "左へ"},
    {"steerright", "右へ"},
    {"shiftup", "シフトアップ"},
    {"shiftdown", "シフトダウン"},
    {"nextview", "視点の切り替え"},
    {"cursor", "マウスカーソルの表示/非表示"},
    {"saveghost", "ゴーストカーの保存"},
    {"restart", "やり直し"},
    {"pause", "一時停止"},
    {"mute", "消音"},
}};

struct PadButtonNames {
    const char* file; // as SDL's game controller API names it
    const char* title;
};

// In the order of SDL_GameControllerButton.
constexpr std::array<PadButtonNames, kPadButtonCount> kPadButtons = {{
    {"a", "A"},
    {"b", "B"},
    {"x", "X"},
    {"y", "Y"},
    {"back", "Back"},
    {"guide", "Guide"},
    {"start", "Start"},
    {"leftstick", "左スティック押し込み"},
    {"rightstick", "右スティック押し込み"},
    {"leftshoulder", "左ショルダー (LB)"},
    {"rightshoulder", "右ショルダー (RB)"},
    {"dpup", "十字キー上"},
    {"dpdown", "十字キー下"},
    {"dpleft", "十字キー左"},
    {"dpright", "十字キー右"},
    {"misc1", "Misc1"},
    {"paddle1", "パドル1"},
    {"paddle2", "パドル2"},
    {"paddle3", "パドル3"},
    {"paddle4", "パドル4"},
    {"touchpad", "タッチパッド"},
}};

const QString kNone = QStringLiteral("none");

bool isNone(QStringView name) {
    return name.compare(kNone, Qt::CaseInsensitive) == 0;
}

} // namespace

QString actionFileName(Action action) {
    const int i = static_cast<int>(action);
    return i >= 0 && i < kActionCount ? QString::fromLatin1(kActions[i].file) : QString();
}

Action actionOfFileName(QStringView name) {
    for (int i = 0; i < kActionCount; ++i)
        if (name.compare(QLatin1String(kActions[i].file), Qt::CaseInsensitive) == 0)
            return static_cast<Action>(i);
    return Action::kCount;
}

QString actionTitle(Action action) {
    const int i = static_cast<int>(action);
    return i >= 0 && i < kActionCount ? QString::fromUtf8(kActions[i].title) : QString();
}

QString keyFileName(int qtKey) {
    if (qtKey < 0)
        return kNone;
    return QKeySequence(qtKey).toString(QKeySequence::PortableText);
}

int keyOfFileName(QStringView name) {
    if (isNone(name))
        return -1;
    const QKeySequence keys = QKeySequence::fromString(name.toString(), QKeySequence::PortableText);
    if (keys.count() != 1 || keys[0].keyboardModifiers() != Qt::NoModifier)
        return -2;
    const int key = keys[0].key();
    if (key == Qt::Key_unknown || key == 0)
        return -2;
    return key;
}

QString keyTitle(int qtKey) {
    if (qtKey < 0)
        return QString::fromUtf8("なし");
    return QKeySequence(qtKey).toString(QKeySequence::NativeText);
}

bool isModifierKey(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
        return true;
    default:
        return false;
    }
}

QString keyRefusal(int qtKey, Qt::KeyboardModifiers modifiers) {
    const QString name = keyTitle(qtKey);
    switch (qtKey) {
    case Qt::Key_F2:
    case Qt::Key_F3:
    case Qt::Key_F11:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return name + QString::fromUtf8(" はゲームが使うキーです。");
    default:
        break;
    }
    if (isModifierKey(qtKey) ||
        (modifiers & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)))
        return QString::fromUtf8("Alt、Ctrl と組み合わせたキーはメニューが使います。");
    if (qtKey < 0 || keyOfFileName(keyFileName(qtKey)) != qtKey)
        return QString::fromUtf8("このキーには設定ファイルに書ける名前がありません。");
    return QString();
}

QString padButtonFileName(int button) {
    if (button < 0 || button >= kPadButtonCount)
        return kNone;
    return QString::fromLatin1(kPadButtons[button].file);
}

int padButtonOfFileName(QStringView name) {
    if (isNone(name))
        return -1;
    for (int i = 0; i < kPadButtonCount; ++i)
        if (name.compare(QLatin1String(kPadButtons[i].file), Qt::CaseInsensitive) == 0)
            return i;
    return -2;
}

QString padButtonTitle(int button) {
    if (button < 0 || button >= kPadButtonCount)
        return QString::fromUtf8("なし");
    return QString::fromUtf8(kPadButtons[button].title);
}

} // namespace velnor
