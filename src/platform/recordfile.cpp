#include "platform/recordfile.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QTemporaryFile>
#include <csignal>

#include "platform/vb.h"

namespace platform {

namespace {

// How long a write waits for another process's lock, and the age after
// which a lock is taken over even from a process that still runs. A lock is
// held only for the milliseconds of one read-and-write; one whose owner was
// killed before it could write its process id into it can only be told by
// its age, so the wait outlasts that age.
constexpr int LockWaitMs = 5000;
constexpr int StaleLockMs = 2000;

VbError AccessError(const QString& name, const QString& reason) {
  return VbError(ErrFileAccess, name + QStringLiteral(": ") + reason);
}

// A file-size limit must make the write fail with an error the program can
// report, not end the program in the middle of it.
void IgnoreFileSizeLimitSignal() {
  static const bool ignored = [] {
    std::signal(SIGXFSZ, SIG_IGN);
    return true;
  }();
  (void)ignored;
}

// The rename is on disk only once the folder is.
void SyncFolderOf(const QString& fileName) {
  const QByteArray folder = QFile::encodeName(QFileInfo(fileName).absolutePath());
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// The one lock of this process; nested RecordFileLocks share it.
struct SharedLock {
  std::unique_ptr<QLockFile> file;
  int holders = 0;
  bool refused = false;
};

SharedLock& TheLock() {
  static SharedLock lock;
  return lock;
}

}  // namespace

QString FixedLength(const QString& text, int length) {
  return text.left(length).leftJustified(length, u' ');
}

RecordFileLock::RecordFileLock(const QString& recordFileName) {
  SharedLock& shared = TheLock();
  if (shared.holders++ > 0) {
    refused_ = shared.refused;
    return;
  }
  IgnoreFileSizeLimitSignal();
  auto file = std::make_unique<QLockFile>(QFileInfo(recordFileName).absoluteFilePath() +
                                          QStringLiteral(".lock"));
  file->setStaleLockTime(StaleLockMs);
  if (file->tryLock(LockWaitMs))
    shared.file = std::move(file);
  else
    refused_ = file->error() == QLockFile::LockFailedError;
  shared.refused = refused_;
}

RecordFileLock::~RecordFileLock() {
  SharedLock& shared = TheLock();
  if (--shared.holders > 0) return;
  shared.file.reset();  // unlocks and removes the lock file
  shared.refused = false;
}

RecordFile::RecordFile(const QString& name, int recordLength) : name_(name), length_(recordLength) {
  IgnoreFileSizeLimitSignal();
  open_ = true;
}

RecordFile::~RecordFile() = default;

void RecordFile::ReadBytes() {
  QFile file(name_);
  if (!file.exists()) {
    // Nothing to read yet. A folder the file could not be written in is
    // reported now, as when a missing file cannot be made.
    QTemporaryFile probe(name_ + QStringLiteral(".XXXXXX"));
    if (!probe.open()) throw AccessError(name_, probe.errorString());
    bytes_.clear();
    loaded_ = true;
    return;
  }
  if (!file.open(QIODevice::ReadOnly)) throw AccessError(name_, file.errorString());
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) throw AccessError(name_, file.errorString());
  bytes_ = std::move(bytes);
  loaded_ = true;
}

QString RecordFile::Get(int record) {
  if (!open_) throw AccessError(name_, QStringLiteral("not open"));
  if (!loaded_) ReadBytes();
  const qint64 offset = static_cast<qint64>(record - 1) * length_;
  QByteArray bytes;
  if (offset < bytes_.size()) bytes = bytes_.mid(offset, length_);
  // Past the end of a short file the record reads as blanks.
  bytes = bytes.leftJustified(length_, ' ', true);
  return QString::fromLatin1(bytes);
}

void RecordFile::Put(int record, const QString& text) {
  if (!open_) throw AccessError(name_, QStringLiteral("not open"));
  if (!lock_) {
    // The records this write leaves alone are taken as they are now, under
    // the lock, not as an earlier Get found them.
    lock_ = std::make_unique<RecordFileLock>(name_);
    if (lock_->Refused()) throw AccessError(name_, QStringLiteral("locked by another program"));
    ReadBytes();
  }
  const qint64 offset = static_cast<qint64>(record - 1) * length_;
  // A short file grows by the blanks its missing records read as.
  if (bytes_.size() < offset + length_) bytes_ = bytes_.leftJustified(offset + length_, ' ');
  bytes_.replace(offset, length_, FixedLength(text, length_).toLatin1());
  changed_ = true;
}

void RecordFile::Close() {
  if (!open_) return;
  open_ = false;
  if (changed_) WriteBytes();
  lock_.reset();
}

void RecordFile::WriteBytes() {
  // The rename would replace a file that may only be read: ask the file
  // itself whether it may be written, without changing it.
  QFile existing(name_);
  if (existing.exists() &&
      !existing.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly))
    throw AccessError(name_, existing.errorString());
  existing.close();

  // QSaveFile writes to the target of a symbolic link and gives the new file
  // the permissions of the old one; a write that is not committed removes
  // its temporary file.
  QSaveFile file(name_);
  if (!file.open(QIODevice::WriteOnly)) throw AccessError(name_, file.errorString());
  if (file.write(bytes_) != bytes_.size() || !file.flush() || ::fsync(file.handle()) != 0) {
    const QString reason = file.errorString();
    file.cancelWriting();
    throw AccessError(name_, reason);
  }
  if (!file.commit()) throw AccessError(name_, file.errorString());
  SyncFolderOf(name_);
}

}  // namespace platform
