// The settings dialog's controls: IDs (the contract with the end-to-end
// driver), kinds, places and texts, in tab order for those that take the
// focus. Places are given by frame, row and column, and turned into twips on
// the window's client area here: a row added to a frame moves everything
// under it, the frames below and the dialog's foot included.
#pragma once

#include <string_view>

#include "tray/shell/shell_texts.h"
#include "tray/win32kit/dpi.h"

namespace quiren::win32::settings_layout {

inline constexpr wchar_t kMainWindowClass[] = L"muquiren_frmsettei";

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
  encrypt_generate = 1032,  // "パスワードを生成" beside each password box
  decrypt_generate = 1033,
  watch_check = 1040,
  ask_encrypt_check = 1041,
  ask_decrypt_check = 1042,
  strong_check = 1043,
  show_passwords_check = 1044,  // both password boxes in the clear
  strong_only_check = 1045,
  passphrase_kana_check = 1046,  // the generated passphrases' form
  start_with_windows_check = 1047,
  protect_passwords_check = 1048,
  encrypt_frame = 1101,
  decrypt_frame = 1102,
  general_frame = 1103,
  first_label = 1201,
};

// A password box is an edit box masked until the show box is ticked. A
// check box is either a bare box with a label of its own beside it (as the
// earlier version laid them out) or one with its own caption (a click on its
// text ticks it).
enum class Kind { frame, label, edit, password, option, check, captioned_check, button };

struct Control {
  Id id;
  Kind kind;
  TwipsRect place;  // on the client area
  std::u16string_view text;
};

// The frames from the top, each a column of rows of kRowStep.
enum class Frame { encrypt, decrypt, general };
inline constexpr int kFrameRows[] = {
    7,  // wrap width, fixed, ask, list, ask first, strong (two lines)
    6,  // same as encryption, fixed, ask, list, ask first, strong only
    3,  // watch and show; start with Windows and kana; protect the passwords
};

inline constexpr int kMargin = 120;        // around the frames
inline constexpr int kRowStep = 300;       // one line: a label, an option, a box
inline constexpr int kFrameLead = 300;     // a frame's top to its first row: its caption
inline constexpr int kFrameFoot = 120;     // its last row to its bottom
inline constexpr int kFrameGap = 105;      // between frames

// Columns, from the client area's left.
inline constexpr int kBoxX = kMargin + 120;     // options and check boxes
inline constexpr int kLabelX = kMargin + 375;   // their labels, level with a captioned box's text
inline constexpr int kPasswordX = 3870;         // the password boxes, a pixel right of their labels
inline constexpr int kPasswordWidth = 1950;
inline constexpr int kGenerateX = kPasswordX + kPasswordWidth + 90;
inline constexpr int kGenerateWidth = 1680;
inline constexpr int kRightX = kPasswordX;      // the general frame's second column
inline constexpr int kFrameWidth = kGenerateX + kGenerateWidth + 120 - kMargin;
inline constexpr int kClientWidth = kMargin + kFrameWidth + kMargin;

constexpr int frame_height(Frame frame) {
  return kFrameLead + kFrameRows[static_cast<int>(frame)] * kRowStep + kFrameFoot;
}
constexpr int frame_top(Frame frame) {
  int top = 0;
  for (int f = 0; f < static_cast<int>(frame); ++f) top += frame_height(Frame(f)) + kFrameGap;
  return top;
}
inline constexpr int kFramesBottom = frame_top(Frame::general) + frame_height(Frame::general);
// OK and Cancel at the foot, under the frames.
inline constexpr int kButtonWidth = 1095;
inline constexpr int kButtonHeight = 375;
inline constexpr int kButtonsTop = kFramesBottom + kMargin;
inline constexpr int kClientHeight = kButtonsTop + kButtonHeight + kMargin;

// A control of `kind` on row `row` of `frame` (spanning `rows` rows), from
// `left`, `width` wide: edit boxes fill the row's height, labels and check
// boxes sit a little lower, push buttons a little higher and taller.
constexpr TwipsRect in_row(Kind kind, Frame frame, int row, int left, int width, int rows = 1) {
  const int top = frame_top(frame) + kFrameLead + row * kRowStep;
  switch (kind) {
    case Kind::edit:
    case Kind::password: return {left, top, width, 270};
    case Kind::label: return {left, top + 45, width, rows * kRowStep - 60};
    case Kind::button: return {left, top - 15, width, kRowStep};
    default: return {left, top + 15, width, 255};
  }
}

constexpr Control control(Id id, Kind kind, Frame frame, int row, int left, int width,
                          std::u16string_view text = {}, int rows = 1) {
  return {id, kind, in_row(kind, frame, row, left, width, rows), text};
}

constexpr Control frame_box(Id id, Frame frame, std::u16string_view text) {
  return {id, Kind::frame, {kMargin, frame_top(frame), kFrameWidth, frame_height(frame)}, text};
}

constexpr Id label_id(int n) { return Id(first_label + n); }

namespace texts = shell::texts;

// Frames and labels take no focus.
inline constexpr Control kStatic[] = {
    frame_box(encrypt_frame, Frame::encrypt, texts::kFrameEncrypt),
    frame_box(decrypt_frame, Frame::decrypt, texts::kFrameDecrypt),
    frame_box(general_frame, Frame::general, texts::kFrameGeneral),
    control(label_id(1), Kind::label, Frame::encrypt, 0, kMargin + 240, 2775, texts::kLabelWrapWidth),
    control(label_id(2), Kind::label, Frame::encrypt, 1, kLabelX, 3255, texts::kLabelEncryptFixed),
    control(label_id(3), Kind::label, Frame::encrypt, 2, kLabelX, 3615, texts::kLabelEncryptAsk),
    control(label_id(10), Kind::label, Frame::encrypt, 3, kLabelX, 4575, texts::kLabelEncryptList),
    control(label_id(8), Kind::label, Frame::encrypt, 4, kLabelX, 3375, texts::kLabelAskBeforeEncrypt),
    control(label_id(12), Kind::label, Frame::encrypt, 5, kLabelX, 4575, texts::kLabelStrong, 2),
    control(label_id(7), Kind::label, Frame::decrypt, 0, kLabelX, 3015, texts::kLabelSameAsEncrypt),
    control(label_id(4), Kind::label, Frame::decrypt, 1, kLabelX, 3255, texts::kLabelDecryptFixed),
    control(label_id(5), Kind::label, Frame::decrypt, 2, kLabelX, 3255, texts::kLabelDecryptAsk),
    control(label_id(11), Kind::label, Frame::decrypt, 3, kLabelX, 3015, texts::kLabelDecryptList),
    control(label_id(9), Kind::label, Frame::decrypt, 4, kLabelX, 4215, texts::kLabelAskBeforeDecrypt),
    control(label_id(6), Kind::label, Frame::general, 0, kLabelX, 2775, texts::kLabelWatch),
};

// In tab order: the earlier version's, each newer control after the one it
// belongs with.
inline constexpr Control kFocusable[] = {
    control(wrap_width_box, Kind::edit, Frame::encrypt, 0, 3240, 855),
    control(encrypt_password_box, Kind::password, Frame::encrypt, 1, kPasswordX, kPasswordWidth),
    control(encrypt_generate, Kind::button, Frame::encrypt, 1, kGenerateX, kGenerateWidth,
            texts::kButtonGeneratePassphrase),
    control(encrypt_fixed, Kind::option, Frame::encrypt, 1, kBoxX, 255),
    control(encrypt_ask, Kind::option, Frame::encrypt, 2, kBoxX, 255),
    control(decrypt_fixed, Kind::option, Frame::decrypt, 1, kBoxX, 255),
    control(decrypt_ask, Kind::option, Frame::decrypt, 2, kBoxX, 255),
    control(decrypt_password_box, Kind::password, Frame::decrypt, 1, kPasswordX, kPasswordWidth),
    control(decrypt_generate, Kind::button, Frame::decrypt, 1, kGenerateX, kGenerateWidth,
            texts::kButtonGeneratePassphrase),
    control(show_passwords_check, Kind::captioned_check, Frame::general, 0, kRightX, 3600,
            texts::kLabelShowPasswords),
    control(passphrase_kana_check, Kind::captioned_check, Frame::general, 1, kRightX, 3600,
            texts::kLabelPassphraseInKana),
    {ok_button, Kind::button,
     {kClientWidth - kMargin - 2 * kButtonWidth - 105, kButtonsTop, kButtonWidth, kButtonHeight},
     texts::kButtonOk},
    {cancel_button, Kind::button, {kClientWidth - kMargin - kButtonWidth, kButtonsTop, kButtonWidth, kButtonHeight},
     texts::kButtonCancel},
    control(watch_check, Kind::check, Frame::general, 0, kBoxX, 255),
    control(start_with_windows_check, Kind::captioned_check, Frame::general, 1, kBoxX, 3300,
            texts::kLabelStartWithWindows),
    control(protect_passwords_check, Kind::captioned_check, Frame::general, 2, kBoxX, 6900,
            texts::kLabelProtectPasswords),
    control(decrypt_same, Kind::option, Frame::decrypt, 0, kBoxX, 255),
    control(ask_encrypt_check, Kind::check, Frame::encrypt, 4, kBoxX, 255),
    control(strong_check, Kind::check, Frame::encrypt, 5, kBoxX, 255),
    control(ask_decrypt_check, Kind::check, Frame::decrypt, 4, kBoxX, 255),
    control(strong_only_check, Kind::captioned_check, Frame::decrypt, 5, kBoxX, 4575, texts::kLabelStrongOnly),
    control(decrypt_list, Kind::option, Frame::decrypt, 3, kBoxX, 255),
    control(encrypt_list, Kind::option, Frame::encrypt, 3, kBoxX, 255),
};

}  // namespace quiren::win32::settings_layout
