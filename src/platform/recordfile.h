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
// everyone else, so it is made only when it can take the old file's owner,
// group and permissions and the old file has no second name (hard link).
// Otherwise, and when the folder takes no new file, the bytes are written
// over the old ones in one write and flushed to disk. Records that were not
// put keep the bytes the file holds when the first record is put. A file
// that may not be written is not written, and a symbolic link keeps
// pointing at the file it named.
//
// From the first Put to Close the file's lock is held (see RecordFileLock),
// so that another process writing the same file cannot slip in between.
// Every failure to open, read or write throws VbError(ErrFileAccess) naming
// the file.
#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

namespace platform {

class RecordFileLock;

class RecordFile {
 public:
  RecordFile(const QString& name, int recordLength);
  ~RecordFile();
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;

  // The record's text, exactly recordLength characters (Latin-1 bytes).
  QString Get(int record);
  // Sets the record's text, left-justified, blank-padded and cut to the
  // record length.
  void Put(int record, const QString& text);
  // Writes the file when a record was put. Without Close nothing is written.
  void Close();

  const QString& Name() const { return name_; }

 private:
  void ReadBytes();
  void WriteBytes();

  QString name_;
  int length_;
  QByteArray bytes_;
  bool open_ = false;
  bool loaded_ = false;
  bool changed_ = false;
  std::unique_ptr<RecordFileLock> lock_;
};

// Keeps other processes from writing a record file while it lives. The lock
// is a file next to the record file ("<name>.lock") that also holds a
// system lock (flock) for as long as its owner runs. Within this process
// the lock is shared: a lock taken while another one is held is the same
// lock, so a read, a change and a write can run under one lock.
// A lock whose owner still runs is never taken over, however long it is
// held; the wait for it is short, and what could not be written then is
// written later (see Module1's bookings). A lock left by a killed process
// is taken over at once, as its process id names no running program; one
// whose process was killed before it could write its id into it is taken
// over once it is a second old. A lock that cannot be taken because the
// folder does not allow the lock file is no lock at all.
class RecordFileLock {
 public:
  explicit RecordFileLock(const QString& recordFileName);
  ~RecordFileLock();
  RecordFileLock(const RecordFileLock&) = delete;
  RecordFileLock& operator=(const RecordFileLock&) = delete;

  // True when the lock could not be had within the wait (another process
  // kept taking it); a lock taken inside a refused one is refused as well.
  bool Refused() const { return refused_; }
  // True when this process holds the lock file (not a refused lock, nor the
  // no-lock of a folder that takes no lock file).
  bool Held() const;

 private:
  bool refused_ = false;
};

// The text as a record holds it: left-justified, blank-padded, cut to length.
QString FixedLength(const QString& text, int length);

}  // namespace platform
