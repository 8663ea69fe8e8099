// The settings dialog's controls: IDs (the contract with the end-to-end
// driver), kinds, places in twips on the window's client area, in tab order
// for those that take the focus.
#pragma once

#include <string_view>

#include "tray/shell/shell_texts.h"
#include "tray/win32kit/dpi.h"

namespace quiren::win32::settings_layout {

inline constexpr wchar_t kMainWindowClass[] = L"muquiren_frmsettei";
inline constexpr int kClientWidth = 5370;
// The strong-encryption check box and its two-line label, at the foot of
// the encryption frame: the frame grows by this much, and everything below
// it moves down by as much.
inline constexpr int kStrongRow = 540;
// Tall enough for the OK and Cancel buttons (they end at 5175 + kStrongRow).
inline constexpr int kClientHeight = 5295 + kStrongRow;

enum Id : int {
  wrap_width_box = 1001,
  encrypt_password_box = 1002,
  // The password sources: two groups of option buttons.
  encrypt_fixed = 1010,
  encrypt_ask = 1011,
  encrypt_list = 1012,
  decrypt_fixed = 1020,
  decrypt_ask = 1021,
  decrypt_same = 1022,  // the fixed encryption password
  decrypt_list = 1023,
  decrypt_password_box = 1003,
  ok_button = 1030,
  cancel_button = 1031,
  watch_check = 1040,
  ask_encrypt_check = 1041,
  ask_decrypt_check = 1042,
  strong_check = 1043,
  show_passwords_check = 1044,  // both password boxes in the clear
  encrypt_frame = 1101,
  decrypt_frame = 1102,
  general_frame = 1103,
  first_label = 1201,
};

// A password box is an edit box masked until the show box is ticked; the
// show box is the one check box with its own caption (a click on its text
// ticks it).
enum class Kind { frame, label, edit, password, option, check, captioned_check, button };

struct Control {
  Id id;
  Kind kind;
  TwipsRect place;  // on the client area
  std::u16string_view text;
};

// Frames are at (120, 0), (120, 2040) and (120, 4080) as designed, the
// lower two moved down by kStrongRow; controls inside them are placed
// relative to the frame and shifted here. No two controls overlap: the two
// password boxes and the show box start a pixel to the right of the labels
// before them.
inline constexpr int kF2 = 2040 + kStrongRow;
inline constexpr int kF3 = 4080 + kStrongRow;

// Frames and labels take no focus.
inline constexpr Control kStatic[] = {
    {encrypt_frame, Kind::frame, {120, 0, 5175, 1935 + kStrongRow}, shell::texts::kFrameEncrypt},
    {decrypt_frame, Kind::frame, {120, kF2, 5175, 1935}, shell::texts::kFrameDecrypt},
    {general_frame, Kind::frame, {120, kF3, 5175, 615}, shell::texts::kFrameGeneral},
    {Id(first_label + 1), Kind::label, {120 + 240, 360, 2775, 255}, shell::texts::kLabelWrapWidth},
    {Id(first_label + 2), Kind::label, {120 + 480, 720, 3255, 255}, shell::texts::kLabelEncryptFixed},
    {Id(first_label + 3), Kind::label, {120 + 480, 990, 3615, 255}, shell::texts::kLabelEncryptAsk},
    {Id(first_label + 10), Kind::label, {120 + 480, 1260, 4575, 255}, shell::texts::kLabelEncryptList},
    {Id(first_label + 8), Kind::label, {120 + 480, 1530, 3375, 255}, shell::texts::kLabelAskBeforeEncrypt},
    {Id(first_label + 12), Kind::label, {120 + 480, 1800, 4575, 510}, shell::texts::kLabelStrong},
    {Id(first_label + 7), Kind::label, {120 + 480, kF2 + 360, 3015, 255}, shell::texts::kLabelSameAsEncrypt},
    {Id(first_label + 4), Kind::label, {120 + 480, kF2 + 630, 3255, 255}, shell::texts::kLabelDecryptFixed},
    {Id(first_label + 5), Kind::label, {120 + 480, kF2 + 900, 3255, 255}, shell::texts::kLabelDecryptAsk},
    {Id(first_label + 11), Kind::label, {120 + 480, kF2 + 1170, 3015, 255}, shell::texts::kLabelDecryptList},
    {Id(first_label + 9), Kind::label, {120 + 480, kF2 + 1440, 4215, 255}, shell::texts::kLabelAskBeforeDecrypt},
    {Id(first_label + 6), Kind::label, {120 + 600, kF3 + 240, 2175, 255}, shell::texts::kLabelWatch},
};

// In tab order.
inline constexpr Control kFocusable[] = {
    {wrap_width_box, Kind::edit, {120 + 3120, 300, 855, 270}, u""},
    {encrypt_password_box, Kind::password, {120 + 3735, 680, 1320, 270}, u""},
    {encrypt_fixed, Kind::option, {240, 670, 255, 255}, u""},
    {encrypt_ask, Kind::option, {240, 940, 255, 255}, u""},
    {decrypt_fixed, Kind::option, {120 + 120, kF2 + 590, 255, 255}, u""},
    {decrypt_ask, Kind::option, {120 + 120, kF2 + 860, 255, 255}, u""},
    {decrypt_password_box, Kind::password, {3855, 2640 + kStrongRow, 1320, 270}, u""},
    // In the general frame's free right half, next in the tab order after
    // the second password box.
    {show_passwords_check, Kind::captioned_check, {120 + 2775, kF3 + 240, 2280, 255},
     shell::texts::kLabelShowPasswords},
    {ok_button, Kind::button, {2760, 4800 + kStrongRow, 1095, 375}, shell::texts::kButtonOk},
    {cancel_button, Kind::button, {3960, 4800 + kStrongRow, 1095, 375}, shell::texts::kButtonCancel},
    {watch_check, Kind::check, {120 + 120, kF3 + 240, 255, 255}, u""},
    {decrypt_same, Kind::option, {120 + 120, kF2 + 320, 255, 255}, u""},
    {ask_encrypt_check, Kind::check, {120 + 120, 1560, 255, 180}, u""},
    {strong_check, Kind::check, {120 + 120, 1830, 255, 255}, u""},
    {ask_decrypt_check, Kind::check, {120 + 120, kF2 + 1440, 255, 255}, u""},
    {decrypt_list, Kind::option, {120 + 120, kF2 + 1130, 255, 255}, u""},
    {encrypt_list, Kind::option, {240, 1200, 255, 255}, u""},
};

}  // namespace quiren::win32::settings_layout
