// A file of fixed-length text records, read and written whole.
//
// The first Get reads the file's bytes; the first Put reads them under the
// lock, so a write reads the file once. A file that does not exist reads as
// empty and is not created by the read, but a folder it could not be created
// in is an error already then. Records are numbered from 1; record n lies at
// byte (n - 1) * length. A record read beyond the end of the file reads as
// blanks.
//
// Put changes the records in memory only; Close then writes the file's new
// bytes. Where it can, Close replaces the file in one step: the bytes go to
// a temporary file in the same folder, are flushed to disk, and the
// temporary file is renamed over the file, so that a process killed at any
// moment leaves either the old file or the new one, and a write that fails
// leaves the old file as it was. The replacement must be the same file to
// everyone else, so it is made only when it has the old file's owner, group
// and permissions, and the old file has no second name (hard link) and no
// extended attributes (an access list, say), which a new file would not
// have. Otherwise, and when the folder takes no new file, the bytes are
// written over the old ones and flushed to disk; a write there that fails
// partway puts the old bytes back, so that the file is the old one. Records
// that were not put keep the bytes the file holds when the first record is
// put. A file that may not be written is not written, and a symbolic link
// keeps pointing at the file it named.
//
// From the first Put to Close the file's lock is held (see RecordFileLock),
// so that another process writing the same file cannot slip in between.
// Every failure to open, read or write throws VbError(ErrFileAccess) naming
// the file.
#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

struct stat;

namespace platform {

class RecordFileLock;

// How long a write waits for another process's lock on the file. A lock is
// held only for the milliseconds of one read-and-write.
constexpr int DefaultLockWaitMs = 1500;

class RecordFile {
 public:
  // lockWaitMs: how long the first Put waits for another process's lock.
  RecordFile(const QString& name, int recordLength, int lockWaitMs = DefaultLockWaitMs);
  ~RecordFile();
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;

  // The record's text, exactly recordLength characters (Latin-1 bytes).
  QString Get(int record);
  // Sets the record's text, left-justified, blank-padded and cut to the
  // record length.
  void Put(int record, const QString& text);
  // The whole records the file held when the first Put read it (0 for a
  // file that did not exist).
  int RecordsHeld() const;
  // Writes the file when a record was put. Without Close nothing is written.
  // Once every byte is in the file the write counts as done, even when the
  // flush to disk then fails: every later read sees the new records.
  void Close();

  const QString& Name() const { return name_; }

 private:
  void ReadBytes();
  void WriteBytes();
  bool Replace(const QString& target, const struct stat* old);
  void OverwriteInPlace(int fd);

  QString name_;
  int length_;
  int lockWaitMs_;
  QByteArray bytes_;
  // The file's bytes as the first Put read them: what a failed write in
  // place puts back.
  QByteArray original_;
  bool open_ = false;
  bool loaded_ = false;
  bool changed_ = false;
  std::unique_ptr<RecordFileLock> lock_;
};

// Keeps other processes from writing a record file while it lives. The lock
// belongs to the file itself, found through any symbolic links, so that
// programs reaching one file under different names share one lock. It is a
// file beside the record file ("<file>.lock") that also holds a system lock
// (flock) for as long as its owner runs. Where the folder takes no lock
// file, the record file itself is locked with flock instead; such a folder
// takes no temporary file either, so every write there is in place and the
// locked file stays the file. Within this process the lock is shared: a
// lock taken while another one is held is the same lock, so a read, a
// change and a write can run under one lock.
// A lock whose owner still runs is never taken over, however long it is
// held; the wait for it is short, and what could not be written then is
// written later (see Module1's bookings). A lock left by a killed process
// is taken over at once, as its process id names no running program; one
// whose process was killed before it could write its id into it is taken
// over once it is a second old. A file that is neither there nor in a
// folder that takes a lock file gets no lock at all.
class RecordFileLock {
 public:
  explicit RecordFileLock(const QString& recordFileName, int waitMs = DefaultLockWaitMs);
  ~RecordFileLock();
  RecordFileLock(const RecordFileLock&) = delete;
  RecordFileLock& operator=(const RecordFileLock&) = delete;

  // True when the lock could not be had within the wait (another process
  // kept taking it); a lock taken inside a refused one is refused as well.
  bool Refused() const { return refused_; }
  // True when this process holds the lock (not a refused lock, nor the
  // no-lock of a file that could be locked in neither way).
  bool Held() const;
  // True when the lock is the record file's own flock: the file must then be
  // written in place, since a file renamed over it would not be locked.
  bool OnTheFileItself() const;

 private:
  bool refused_ = false;
};

// The text as a record holds it: left-justified, blank-padded, cut to length.
QString FixedLength(const QString& text, int length);

// The file a record file's name stands for: the name with every symbolic
// link resolved, as an absolute path (also for a file not made yet).
QString RecordFileTarget(const QString& name);

// Replaces the flush to disk (fsync) with the given function, or puts it
// back with nullptr (tests).
void SetFileSyncForTesting(int (*sync)(int fd));

}  // namespace platform
