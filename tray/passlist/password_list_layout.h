// The designed arrangement of the password list window, in twips, with the
// tab order and the control IDs the Win32 window and the end-to-end driver
// use. The Win32 window creates exactly what this table lists, in tab order.
#pragma once

#include <array>
#include <string_view>

#include "tray/win32kit/twips.h"
#include "tray/passlist/password_list_texts.h"

namespace quiren::passlist::layout {

enum class ControlKind { label, list_box, check_box, button };

struct ControlLayout {
  std::string_view name;
  ControlKind kind;
  std::u16string_view caption;
  TwipsRect rect;
  int tab;  // 0 takes the focus when the window opens
  int id;
};

inline constexpr int kClientWidth = 4245;
inline constexpr int kClientHeight = 4455;
// The chooser's client area ends below the show box: it has no buttons.
inline constexpr int kChooserClientHeight = 3870;

inline constexpr int kListId = 1001;
inline constexpr int kListHeadingId = 1002;
inline constexpr int kDescriptionHeadingId = 1003;
inline constexpr int kDescriptionId = 1004;
inline constexpr int kShowPasswordsId = 1005;  // every password in full while ticked
inline constexpr int kAddId = 1011;
inline constexpr int kDeleteId = 1012;
inline constexpr int kSaveId = 1013;

// In tab order.
inline constexpr std::array<ControlLayout, 8> kControls = {{
    {"list", ControlKind::list_box, u"", {0, 360, 4215, 2580}, 0, kListId},
    {"list heading", ControlKind::label, passlist::texts::kListHeading, {600, 120, 2535, 240}, 1, kListHeadingId},
    {"description heading", ControlKind::label, passlist::texts::kDescriptionHeading, {1080, 3000, 1695, 240}, 2, kDescriptionHeadingId},
    {"description", ControlKind::label, u"", {0, 3240, 4215, 255}, 3, kDescriptionId},
    {"show passwords", ControlKind::check_box, passlist::texts::kShowPasswords, {0, 3555, 2535, 255}, 4, kShowPasswordsId},
    {"add", ControlKind::button, passlist::texts::kAddButton, {0, 3960, 1335, 495}, 5, kAddId},
    {"delete", ControlKind::button, passlist::texts::kDeleteButton, {1440, 3960, 1335, 495}, 6, kDeleteId},
    {"save", ControlKind::button, passlist::texts::kSaveButton, {2880, 3960, 1335, 495}, 7, kSaveId},
}};

}  // namespace quiren::passlist::layout
