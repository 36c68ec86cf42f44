#pragma once

#include "app/actions.h"

#include <QString>
#include <Qt>

namespace velnor {

// The names of the actions, keys and pad buttons: as the settings file writes them (plain
// ASCII words, read back case-insensitively) and as the key assignment dialog shows them.

// Pad buttons by SDL_GameControllerButton number: 0 (a) to 20 (touchpad).
inline constexpr int kPadButtonCount = 21;

// The action's name in the settings file ("accelerator", "brake", "steerleft"...).
QString actionFileName(Action action);
// The action whose file name is `name` (any case), or Action::kCount.
Action actionOfFileName(QStringView name);
// The action's name as the player reads it ("アクセル").
QString actionTitle(Action action);

// A key as the file writes it: Qt's portable key text ("X", "Left", "Space", ","), or "none" for
// -1.
QString keyFileName(int qtKey);
// The key written `name` ("x" and "X" alike), -1 for "none", or -2 if `name` names no single key
// (empty, unknown, a combination such as "Ctrl+X", or two keys).
int keyOfFileName(QStringView name);
// A key as the dialog shows it: the keyboard's own text, or "なし" for -1.
QString keyTitle(int qtKey);

// Why a key cannot be one of the actions' keys, or an empty text if it can. Refused: the keys
// the game keeps for itself (F2, F3, F11, Enter, Esc), any key with Alt, Ctrl or Meta held (the
// menu's and the accelerators'), the modifier keys but Shift, and keys without a name that
// the settings file could write.
QString keyRefusal(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Alt, AltGr, Ctrl, Meta or Super alone: pressed on the way to a combination.
bool isModifierKey(int qtKey);

// A pad button as the file writes it: SDL's name ("a", "leftshoulder", "dpleft"), or "none" for
// -1.
QString padButtonFileName(int button);
// The button named `name` (any case), -1 for "none", or -2 for no button's name.
int padButtonOfFileName(QStringView name);
// A pad button as the dialog shows it ("A", "左ショルダー (LB)"), or "なし" for -1.
QString padButtonTitle(int button);

} // namespace velnor
