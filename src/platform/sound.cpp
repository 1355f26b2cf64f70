#include "platform/sound.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
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

struct Sound {
  std::unique_ptr<QSoundEffect> effect;
  QDateTime modified;
  qint64 size = -1;
};

// Never destroyed: the program ends without unwinding its statics.
std::map<QString, Sound>& Sounds() {
  static auto* sounds = new std::map<QString, Sound>();
  return *sounds;
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
  // The file is looked up at every play, as a player who adds or replaces a
  // sound file expects: a missing file plays nothing, and an effect that
  // failed to load or whose file changed since is built afresh. Otherwise
  // the loaded effect is played again, without the caller waiting for it.
  const QFileInfo file(path);
  auto& sound = Sounds()[path];
  if (!file.isFile()) {
    sound = Sound();
    return;
  }
  const bool failed = sound.effect && sound.effect->status() == QSoundEffect::Error;
  if (!sound.effect || failed || sound.modified != file.lastModified() || sound.size != file.size()) {
    // Qt keeps decoded samples by address, a failed one too; a query of its
    // own makes each fresh load read the file again.
    static int loads = 0;
    QUrl source = QUrl::fromLocalFile(path);
    source.setQuery(QString::number(++loads));
    sound.effect = std::make_unique<QSoundEffect>();
    sound.effect->setSource(source);
    sound.modified = file.lastModified();
    sound.size = file.size();
  }
  sound.effect->play();
}

bool SoundReadyForTesting(const QString& path) {
  const auto found = Sounds().find(path);
  return found != Sounds().end() && found->second.effect &&
         found->second.effect->status() == QSoundEffect::Ready;
}

FileList::FileList() : path_(QDir::currentPath()) {}

}  // namespace platform
