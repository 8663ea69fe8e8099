// The order of steps that replaces a file through a temporary file beside
// it, and what becomes of whatever a failed step left behind. The steps
// themselves are the platform's (tray/core/win32/plain_files.cpp); the order
// is here, apart from them, so that every failure can be staged in a test.
#pragma once

namespace quiren {

// The three names a replacement works with: the file itself, the temporary
// file holding the new content, and the name the old content moves to while
// the new content moves in. The temporary and backup names are made for
// this one replacement, so removing them never removes a user's file.
enum class ReplaceName { target, temp, backup };

enum class StepError {
  none,
  busy,   // another program holds a file for a moment: worth another try
  other,  // anything else, also a swap that stopped half-way
};

class ReplaceSteps {
 public:
  virtual ~ReplaceSteps() = default;
  // Whether anything is at the name. A name that exists but cannot be looked
  // at counts as existing.
  virtual bool exists(ReplaceName name) = 0;
  // The platform's replace call: the old target to the backup name, the
  // temporary file to the target's name. When it fails half-way the old
  // content may be at the backup name, or gone, and the target name free.
  virtual StepError swap_in() = 0;
  // Renames `from` to `to`, replacing what is there, written through.
  virtual StepError move(ReplaceName from, ReplaceName to) = 0;
  virtual void remove(ReplaceName name) = 0;
  // A moment's wait before the next try.
  virtual void pause() = 0;
};

// Tries this often while another program holds a file.
inline constexpr int kReplaceAttempts = 10;

// Puts the temporary file's content in the target's place. True when the
// target now holds it; the temporary file and the backup are gone. On false,
// either the old target is in its place (or there was none) and the
// temporary file is removed, or, when neither content could be put at the
// target's name, nothing holding content is removed.
bool replace_from_temp(ReplaceSteps& steps);

}  // namespace quiren
