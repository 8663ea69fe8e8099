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
  txtorikaesi = 1001,
  txtpass1 = 1002,
  option1_fixed = 1010,  // Option1(0)
  option1_ask = 1011,    // Option1(1)
  option1_list = 1012,   // Option1(2)
  option2_fixed = 1020,  // Option2(0)
  option2_ask = 1021,    // Option2(1)
  option2_equal = 1022,  // Option2(2)
  option2_list = 1023,   // Option2(3)
  txtpass2 = 1003,
  command1 = 1030,  // OK
  command2 = 1031,  // Cancel
  check1 = 1040,    // watch the clipboard
  chkquestango = 1041,
  chkquesthukugo = 1042,
  chkstrong = 1043,  // encrypt into strong blocks
  frame1 = 1101,
  frame2 = 1102,
  frame3 = 1103,
  first_label = 1201,
};

enum class Kind { frame, label, edit, option, check, button };

struct Control {
  Id id;
  Kind kind;
  TwipsRect place;  // on the client area
  std::u16string_view text;
};

// Frames are at (120, 0), (120, 2040) and (120, 4080) as designed, the
// lower two moved down by kStrongRow; controls inside them are placed
// relative to the frame and shifted here.
inline constexpr int kF2 = 2040 + kStrongRow;
inline constexpr int kF3 = 4080 + kStrongRow;

// Frames and labels take no focus.
inline constexpr Control kStatic[] = {
    {frame1, Kind::frame, {120, 0, 5175, 1935 + kStrongRow}, shell::texts::kFrameAngo},
    {frame2, Kind::frame, {120, kF2, 5175, 1935}, shell::texts::kFrameHukugo},
    {frame3, Kind::frame, {120, kF3, 5175, 615}, shell::texts::kFrameGeneral},
    {Id(first_label + 1), Kind::label, {120 + 240, 360, 2775, 255}, shell::texts::kLabelOrikaesi},
    {Id(first_label + 2), Kind::label, {120 + 480, 720, 3255, 255}, shell::texts::kLabelAngoFixed},
    {Id(first_label + 3), Kind::label, {120 + 480, 990, 3615, 255}, shell::texts::kLabelAngoAsk},
    {Id(first_label + 10), Kind::label, {120 + 480, 1260, 4575, 255}, shell::texts::kLabelAngoList},
    {Id(first_label + 8), Kind::label, {120 + 480, 1530, 3375, 255}, shell::texts::kLabelQuestAngo},
    {Id(first_label + 12), Kind::label, {120 + 480, 1800, 4575, 510}, shell::texts::kLabelStrong},
    {Id(first_label + 7), Kind::label, {120 + 480, kF2 + 360, 3015, 255}, shell::texts::kLabelEqualpass},
    {Id(first_label + 4), Kind::label, {120 + 480, kF2 + 630, 3255, 255}, shell::texts::kLabelHukugoFixed},
    {Id(first_label + 5), Kind::label, {120 + 480, kF2 + 900, 3255, 255}, shell::texts::kLabelHukugoAsk},
    {Id(first_label + 11), Kind::label, {120 + 480, kF2 + 1170, 3015, 255}, shell::texts::kLabelHukugoList},
    {Id(first_label + 9), Kind::label, {120 + 480, kF2 + 1440, 4215, 255}, shell::texts::kLabelQuestHukugo},
    {Id(first_label + 6), Kind::label, {120 + 600, kF3 + 240, 2175, 255}, shell::texts::kLabelWatch},
};

// In tab order.
inline constexpr Control kFocusable[] = {
    {txtorikaesi, Kind::edit, {120 + 3120, 300, 855, 270}, u""},
    {txtpass1, Kind::edit, {120 + 3720, 680, 1335, 270}, u""},
    {option1_fixed, Kind::option, {240, 670, 255, 255}, u""},
    {option1_ask, Kind::option, {240, 940, 255, 255}, u""},
    {option2_fixed, Kind::option, {120 + 120, kF2 + 590, 255, 255}, u""},
    {option2_ask, Kind::option, {120 + 120, kF2 + 860, 255, 255}, u""},
    {txtpass2, Kind::edit, {3840, 2640 + kStrongRow, 1335, 270}, u""},
    {command1, Kind::button, {2760, 4800 + kStrongRow, 1095, 375}, shell::texts::kButtonOk},
    {command2, Kind::button, {3960, 4800 + kStrongRow, 1095, 375}, shell::texts::kButtonCancel},
    {check1, Kind::check, {120 + 120, kF3 + 240, 255, 255}, u""},
    {option2_equal, Kind::option, {120 + 120, kF2 + 320, 255, 255}, u""},
    {chkquestango, Kind::check, {120 + 120, 1560, 255, 180}, u""},
    {chkstrong, Kind::check, {120 + 120, 1830, 255, 255}, u""},
    {chkquesthukugo, Kind::check, {120 + 120, kF2 + 1440, 255, 255}, u""},
    {option2_list, Kind::option, {120 + 120, kF2 + 1130, 255, 255}, u""},
    {option1_list, Kind::option, {240, 1200, 255, 255}, u""},
};

}  // namespace quiren::win32::settings_layout
