// Sounds and the folder they are looked up in.
#pragma once

#include <QString>
#include <functional>

namespace platform {

// The multimedia command function. For "play " followed by a path (blanks
// allowed, no quotes) it starts playing that wave file and returns at once;
// every failure (no such file, no sound device, any other command) is
// ignored. Nothing goes through a shell.
void mciExecute(const QString& command);

// Test seam: receives every command instead of playing it (nullptr restores
// playing).
void SetSoundHookForTesting(std::function<void(const QString&)> hook);
// Test seam: whether the sound last played from this path has loaded.
bool SoundReadyForTesting(const QString& path);

// A hidden file list: its Path is the current directory as it was when the
// list was created.
class FileList {
 public:
  FileList();
  QString Path() const { return path_; }

 private:
  QString path_;
};

// The folder separator of this platform.
inline constexpr char16_t PathSeparator = u'/';

}  // namespace platform
