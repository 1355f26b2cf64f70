#include "platform/recordfile.h"

#include "platform/vb.h"

namespace platform {

namespace {
VbError AccessError(const QString& name, const QString& reason) {
  return VbError(ErrFileAccess, name + QStringLiteral(": ") + reason);
}
}  // namespace

QString FixedLength(const QString& text, int length) {
  return text.left(length).leftJustified(length, u' ');
}

RecordFile::RecordFile(const QString& name, int recordLength)
    : name_(name), length_(recordLength), file_(std::make_unique<QFile>(name)) {
  // Read and write, creating the file when it is missing; an existing file
  // that may only be read can still be read.
  if (file_->open(QIODevice::ReadWrite)) {
    writable_ = true;
  } else if (!file_->exists() || !file_->open(QIODevice::ReadOnly)) {
    throw AccessError(name_, file_->errorString());
  }
}

RecordFile::~RecordFile() = default;

QString RecordFile::Get(int record) {
  if (!file_->isOpen()) throw AccessError(name_, QStringLiteral("not open"));
  const qint64 offset = static_cast<qint64>(record - 1) * length_;
  QByteArray bytes;
  if (offset < file_->size()) {
    if (!file_->seek(offset)) throw AccessError(name_, file_->errorString());
    bytes = file_->read(length_);
  }
  // Past the end of a short file the record reads as blanks.
  bytes = bytes.leftJustified(length_, ' ', true);
  return QString::fromLatin1(bytes);
}

void RecordFile::Put(int record, const QString& text) {
  if (!file_->isOpen() || !writable_) throw AccessError(name_, QStringLiteral("cannot be written"));
  const qint64 offset = static_cast<qint64>(record - 1) * length_;
  const QByteArray bytes = FixedLength(text, length_).toLatin1();
  if (file_->size() < offset && !file_->resize(offset))
    throw AccessError(name_, file_->errorString());
  if (!file_->seek(offset) || file_->write(bytes) != bytes.size())
    throw AccessError(name_, file_->errorString());
}

void RecordFile::Close() {
  if (!file_->isOpen()) return;
  const bool flushed = !writable_ || file_->flush();
  file_->close();
  if (!flushed) throw AccessError(name_, file_->errorString());
}

}  // namespace platform
