#include "platform/recordfile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "platform/vb.h"

namespace platform {

namespace {

// The age after which a lock file without a process id in it is taken
// over. One whose owner was killed before it could write its process id can
// only be told by its age, so the default wait outlasts that age. A live
// owner's lock is never taken over: its system lock keeps it.
constexpr int StaleLockMs = 1000;
static_assert(DefaultLockWaitMs > StaleLockMs);
// How often a wait for the record file's own flock tries again.
constexpr int FileLockRetryMs = 10;

int (*syncFile)(int) = ::fsync;

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

// Writes the bytes at the start of the file, in as many writes as it takes.
// Returns how many reached the file: all of them, or fewer when a write
// failed (errno tells why).
qsizetype WriteFromStart(int fd, const QByteArray& bytes) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::pwrite(fd, bytes.constData() + done, bytes.size() - done, done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      break;
    }
    done += n;
  }
  return done;
}

// Temporary files are named "<file>.XXXXXX.tmp", six letters or digits in
// place of the Xs. A writer holding the lock makes one and renames or
// removes it before it lets the lock go; a read of a missing file makes one
// for an instant to learn whether the folder takes a new file, and removes
// it at once. So one found under the lock was left by a program that was
// killed, or is a read's probe, which needs no more than its creation.
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

// The file has something a new file made in its place would lack: extended
// attributes, such as an access list or a security label.
bool HasExtendedAttributes(int fd) {
  const ssize_t size = ::flistxattr(fd, nullptr, 0);
  return size > 0 || (size < 0 && errno != ENOTSUP);
}

// Makes the temporary file the same file to everyone as the old one: its
// owner, group and permissions. The owner and group are those the
// temporary file really got (a folder may give it its own group), so they
// are compared, not assumed. False when that cannot be done.
bool CanReplace(const struct stat& old, int temporary) {
  struct stat made {};
  if (::fstat(temporary, &made) != 0) return false;
  if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) &&
      ::fchown(temporary, old.st_uid, old.st_gid) != 0)
    return false;
  return ::fchmod(temporary, old.st_mode & 07777) == 0;
}

// The one lock of this process; nested RecordFileLocks share it. It is the
// lock file, or the record file's own flock where no lock file can be made.
struct SharedLock {
  std::unique_ptr<QLockFile> file;
  int lockedFile = -1;
  int holders = 0;
  bool refused = false;
};

SharedLock& TheLock() {
  static SharedLock lock;
  return lock;
}

// Locks the record file itself, waiting up to waitMs for another process's
// flock. Returns the locked descriptor, -1 when the file cannot be opened
// (no lock at all), or -2 when another process kept it locked.
int LockTheFileItself(const QString& target, int waitMs) {
  const QByteArray path = QFile::encodeName(target);
  int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) fd = ::open(path.constData(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  QElapsedTimer waited;
  waited.start();
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if ((errno != EWOULDBLOCK && errno != EINTR) || waited.elapsed() >= waitMs) {
      const bool heldElsewhere = errno == EWOULDBLOCK;
      ::close(fd);
      return heldElsewhere ? -2 : -1;
    }
    QThread::msleep(FileLockRetryMs);
  }
  return fd;
}

}  // namespace

QString FixedLength(const QString& text, int length) {
  return text.left(length).leftJustified(length, u' ');
}

QString RecordFileTarget(const QString& name) {
  QFileInfo info(name);
  if (info.exists()) return info.canonicalFilePath();
  // A link to a file not made yet: the file it names, through as many links
  // as the system itself follows (a loop of links names no file).
  for (int links = 0; info.isSymLink() && links < 40; ++links) info = QFileInfo(info.symLinkTarget());
  return info.absoluteFilePath();
}

void SetFileSyncForTesting(int (*sync)(int)) { syncFile = sync ? sync : ::fsync; }

RecordFileLock::RecordFileLock(const QString& recordFileName, int waitMs) {
  SharedLock& shared = TheLock();
  if (shared.holders++ > 0) {
    refused_ = shared.refused;
    return;
  }
  const QString target = RecordFileTarget(recordFileName);
  auto file = std::make_unique<QLockFile>(target + QStringLiteral(".lock"));
  file->setStaleLockTime(StaleLockMs);
  if (file->tryLock(waitMs)) {
    shared.file = std::move(file);
  } else if (file->error() == QLockFile::LockFailedError) {
    refused_ = true;
  } else {
    // The folder takes no lock file.
    const int fd = LockTheFileItself(target, waitMs);
    refused_ = fd == -2;
    shared.lockedFile = std::max(fd, -1);
  }
  shared.refused = refused_;
}

bool RecordFileLock::Held() const {
  return !refused_ && (TheLock().file != nullptr || TheLock().lockedFile >= 0);
}

bool RecordFileLock::OnTheFileItself() const { return !refused_ && TheLock().lockedFile >= 0; }

RecordFileLock::~RecordFileLock() {
  SharedLock& shared = TheLock();
  if (--shared.holders > 0) return;
  shared.file.reset();  // unlocks and removes the lock file
  if (shared.lockedFile >= 0) ::close(shared.lockedFile);  // and its flock with it
  shared.lockedFile = -1;
  shared.refused = false;
}

RecordFile::RecordFile(const QString& name, int recordLength, int lockWaitMs)
    : name_(name), length_(recordLength), lockWaitMs_(lockWaitMs) {
  IgnoreFileSizeLimitSignal();
  open_ = true;
}

RecordFile::~RecordFile() = default;

void RecordFile::ReadBytes() {
  QFile file(name_);
  if (!file.exists()) {
    // Nothing to read yet. A folder the file could not be written in is
    // reported now, as when a missing file cannot be made.
    QTemporaryFile probe(RecordFileTarget(name_) + QStringLiteral(".XXXXXX.tmp"));
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
    lock_ = std::make_unique<RecordFileLock>(name_, lockWaitMs_);
    if (lock_->Refused()) throw AccessError(name_, QStringLiteral("locked by another program"));
    ReadBytes();
    original_ = bytes_;
  }
  const qint64 offset = static_cast<qint64>(record - 1) * length_;
  // A short file grows by the blanks its missing records read as.
  if (bytes_.size() < offset + length_) bytes_ = bytes_.leftJustified(offset + length_, ' ');
  bytes_.replace(offset, length_, FixedLength(text, length_).toLatin1());
  changed_ = true;
}

int RecordFile::RecordsHeld() const { return static_cast<int>(original_.size() / length_); }

void RecordFile::Close() {
  if (!open_) return;
  open_ = false;
  if (changed_) WriteBytes();
  lock_.reset();
}

void RecordFile::WriteBytes() {
  const QString target = RecordFileTarget(name_);
  const QByteArray path = QFile::encodeName(target);
  // The first Put took the lock. Under the record file's own flock the file
  // must stay the file; under the lock file, temporary files found now were
  // left by killed writers.
  const bool mayReplace = !lock_->OnTheFileItself();
  if (lock_->Held() && mayReplace) RemoveLeftoverTemporaryFiles(target);

  struct stat old {};
  if (::stat(path.constData(), &old) != 0) {
    if (errno != ENOENT) throw SystemError(name_);
    if (!Replace(target, nullptr)) throw SystemError(name_);
    return;
  }
  // A file that may only be read is refused before anything is written.
  const int fd = ::open(path.constData(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) throw SystemError(name_);
  try {
    if (mayReplace && old.st_nlink == 1 && !HasExtendedAttributes(fd) && Replace(target, &old)) {
      ::close(fd);
      return;
    }
    OverwriteInPlace(fd);
  } catch (...) {
    ::close(fd);
    throw;
  }
  ::close(fd);
}

// Replaces the file by a new one holding the bytes, through a temporary file
// renamed over it. Returns false, having changed nothing, when the new file
// could not be the same file to its owner (see CanReplace) or the folder
// takes no new file. A write that fails throws and leaves the old file.
bool RecordFile::Replace(const QString& target, const struct stat* old) {
  QByteArray temporaryPath;
  int fd = -1;
  for (int tries = 0; fd < 0 && tries < 100; ++tries) {
    temporaryPath = QFile::encodeName(TemporaryName(target));
    fd = ::open(temporaryPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    if (errno == EACCES || errno == EPERM || errno == EROFS) return false;
    throw SystemError(name_);
  }
  const auto discard = [&] {
    ::close(fd);
    ::unlink(temporaryPath.constData());
  };
  if (old && !CanReplace(*old, fd)) {
    discard();
    return false;
  }
  if (WriteFromStart(fd, bytes_) != bytes_.size() || syncFile(fd) != 0) {
    const VbError error = SystemError(name_);
    discard();
    throw error;
  }
  if (::close(fd) != 0 || ::rename(temporaryPath.constData(), QFile::encodeName(target).constData()) != 0) {
    const VbError error = SystemError(name_);
    ::unlink(temporaryPath.constData());
    throw error;
  }
  SyncFolderOf(target);
  return true;
}

// Writes the whole image over the file's bytes; it is never shorter than
// the file, as it starts from the file's own bytes. A write that stops
// partway (a full disk, a file-size limit) puts back the old bytes of what
// it had written and the old length, so that the file reads as before, and
// throws. Once every byte is in, the write is done: a flush to disk that
// then fails changes nothing a read would see.
void RecordFile::OverwriteInPlace(int fd) {
  const qsizetype written = WriteFromStart(fd, bytes_);
  if (written != bytes_.size()) {
    const VbError error = SystemError(name_);
    WriteFromStart(fd, original_.left(written));
    if (written > original_.size() && ::ftruncate(fd, original_.size()) != 0) {
      // Nothing more can be put back; the records the file held are.
    }
    syncFile(fd);
    throw error;
  }
  syncFile(fd);
}

}  // namespace platform
