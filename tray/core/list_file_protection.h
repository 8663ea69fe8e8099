// The password list file written again in the form the settings dialog's
// "パスワードをこのユーザーだけが読める形で保存する" asks for, sealed for the
// Windows user or plain, when the box changes. tray/passlist owns the file
// and implements this; the settings dialog calls it.
#pragma once

namespace quiren {

enum class ListRewrite {
  done,         // the file is in that form now (or there is none)
  unreadable,   // sealed for another user or on another computer (or damaged): left as it is
  not_written,  // it could not be read, sealed or replaced (held open by another program,
                // a hidden or system file, the system refused): left as it is
};

class ListFileProtection {
 public:
  virtual ~ListFileProtection() = default;
  virtual ListRewrite rewrite_password_list(bool protect) = 0;
};

}  // namespace quiren
