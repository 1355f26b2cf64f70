// A file of fixed-length text records, opened for random access.
//
// Opening creates the file, empty, when it does not exist. Records are
// numbered from 1; record n lies at byte (n - 1) * length. A record read
// beyond the end of the file reads as blanks. Every failure to open, read or
// write throws VbError(ErrFileAccess) naming the file.
#pragma once

#include <QFile>
#include <QString>
#include <memory>

namespace platform {

class RecordFile {
 public:
  RecordFile(const QString& name, int recordLength);
  ~RecordFile();
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;

  // The record's text, exactly recordLength characters (Latin-1 bytes).
  QString Get(int record);
  // Writes text left-justified, blank-padded and cut to the record length.
  void Put(int record, const QString& text);
  void Close();

  const QString& Name() const { return name_; }

 private:
  QString name_;
  int length_;
  std::unique_ptr<QFile> file_;
  bool writable_ = false;
};

// The text as a record holds it: left-justified, blank-padded, cut to length.
QString FixedLength(const QString& text, int length);

}  // namespace platform
