#include "platform/recordfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "platform/vb.h"

namespace platform {

namespace {

// How long a write waits for another process's lock, and the age after
// which a lock file without a process id in it is taken over. A lock is held
// only for the milliseconds of one read-and-write. One whose owner was killed
// before it could write its process id can only be told by its age, so the
// wait outlasts that age. A live owner's lock is never taken over: its
// system lock keeps it.
constexpr int LockWaitMs = 1500;
constexpr int StaleLockMs = 1000;

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

VbError SystemError(const QString& name) {
  return AccessError(name, QString::fromLocal8Bit(std::strerror(errno)));
}

// Writes all of the bytes at the file offset, in as many writes as it takes.
bool WriteAll(int fd, const QByteArray& bytes, off_t offset) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::pwrite(fd, bytes.constData() + done, bytes.size() - done, offset + done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += n;
  }
  return true;
}

// Temporary files are named "<file>.XXXXXX.tmp", six letters or digits in
// place of the Xs. Only a writer holding the lock makes one, and it renames
// or removes it before it lets the lock go, so one found under the lock was
// left by a writer that was killed.
QString TemporaryName(const QString& target) {
  static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  QString name = target + u'.';
  for (int i = 0; i < 6; ++i)
    name += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
  return name + QStringLiteral(".tmp");
}

void RemoveLeftoverTemporaryFiles(const QString& target) {
  const QFileInfo info(target);
  const QRegularExpression leftover(QRegularExpression::anchoredPattern(
      QRegularExpression::escape(info.fileName()) + QStringLiteral("\\.[A-Za-z0-9]{6}\\.tmp")));
  QDir folder = info.absoluteDir();
  for (const QFileInfo& entry : folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
    if (!entry.isSymLink() && leftover.match(entry.fileName()).hasMatch())
      QFile::remove(entry.absoluteFilePath());
  }
}

// Replaces the file by a new one holding the bytes, through a temporary file
// renamed over it. Returns false, having changed nothing, when the new file
// could not be the same file to its owner: another owner or group that this
// process cannot give it, other permissions it cannot take, or a folder that
// takes no new file. A write that fails throws and leaves the old file.
bool ReplaceThroughTemporaryFile(const QString& target, const QByteArray& bytes,
                                 const struct stat* old) {
  QByteArray temporaryPath;
  int fd = -1;
  for (int tries = 0; fd < 0 && tries < 100; ++tries) {
    temporaryPath = QFile::encodeName(TemporaryName(target));
    fd = ::open(temporaryPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    if (errno == EACCES || errno == EPERM || errno == EROFS) return false;
    throw SystemError(target);
  }
  const auto discard = [&] {
    ::close(fd);
    ::unlink(temporaryPath.constData());
  };
  if (old) {
    const bool sameOwner = old->st_uid == ::geteuid() && old->st_gid == ::getegid();
    if ((!sameOwner && ::fchown(fd, old->st_uid, old->st_gid) != 0) ||
        ::fchmod(fd, old->st_mode & 07777) != 0) {
      discard();
      return false;
    }
  }
  if (!WriteAll(fd, bytes, 0) || ::fsync(fd) != 0) {
    const VbError error = SystemError(target);
    discard();
    throw error;
  }
  if (::close(fd) != 0 || ::rename(temporaryPath.constData(), QFile::encodeName(target).constData()) != 0) {
    const VbError error = SystemError(target);
    ::unlink(temporaryPath.constData());
    throw error;
  }
  SyncFolderOf(target);
  return true;
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
  auto file = std::make_unique<QLockFile>(QFileInfo(recordFileName).absoluteFilePath() +
                                          QStringLiteral(".lock"));
  file->setStaleLockTime(StaleLockMs);
  if (file->tryLock(LockWaitMs))
    shared.file = std::move(file);
  else
    refused_ = file->error() == QLockFile::LockFailedError;
  shared.refused = refused_;
}

bool RecordFileLock::Held() const { return !refused_ && TheLock().file != nullptr; }

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
    QTemporaryFile probe(name_ + QStringLiteral(".XXXXXX.tmp"));
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
  // The file itself, through any symbolic links.
  const QFileInfo info(name_);
  const QString target = info.exists() ? info.canonicalFilePath() : name_;
  const QByteArray path = QFile::encodeName(target);
  if (lock_ && lock_->Held()) RemoveLeftoverTemporaryFiles(target);

  struct stat old {};
  if (::stat(path.constData(), &old) != 0) {
    if (errno != ENOENT) throw SystemError(name_);
    if (!ReplaceThroughTemporaryFile(target, bytes_, nullptr)) throw SystemError(name_);
    return;
  }
  // A file that may only be read is refused before anything is written.
  const int fd = ::open(path.constData(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) throw SystemError(name_);
  try {
    if (old.st_nlink == 1 && ReplaceThroughTemporaryFile(target, bytes_, &old)) {
      ::close(fd);
      return;
    }
  } catch (...) {
    ::close(fd);
    throw;
  }
  // In place: one write of the whole image, cut to its length, on disk.
  const bool written = WriteAll(fd, bytes_, 0) && ::ftruncate(fd, bytes_.size()) == 0 && ::fsync(fd) == 0;
  const int writeError = errno;
  ::close(fd);
  errno = writeError;
  if (!written) throw SystemError(name_);
}

}  // namespace platform
