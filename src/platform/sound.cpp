#include "platform/sound.h"

#include <QDir>
#include <QSoundEffect>
#include <QUrl>
#include <map>
#include <memory>

namespace platform {

namespace {
std::function<void(const QString&)>& SoundHook() {
  static std::function<void(const QString&)> hook;
  return hook;
}
}  // namespace

void SetSoundHookForTesting(std::function<void(const QString&)> hook) {
  SoundHook() = std::move(hook);
}

void mciExecute(const QString& command) {
  if (auto& hook = SoundHook()) {
    hook(command);
    return;
  }
  const QString verb = QStringLiteral("play ");
  if (!command.startsWith(verb)) return;
  const QString path = command.mid(verb.size());
  if (path.isEmpty()) return;
  // One effect per file, kept for the run: it loads once and plays as soon as
  // it is ready, without the caller waiting for it.
  // Never destroyed: the program ends without unwinding its statics.
  static auto* effects = new std::map<QString, std::unique_ptr<QSoundEffect>>();
  auto& effect = (*effects)[path];
  if (!effect) {
    effect = std::make_unique<QSoundEffect>();
    effect->setSource(QUrl::fromLocalFile(path));
  }
  effect->play();
}

FileList::FileList() : path_(QDir::currentPath()) {}

}  // namespace platform
