// Byte streams: the abstract stream with read, write, seek and set-size operations, and its file,
// memory and compiled-in resource forms.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace zabko {

enum class SeekOrigin { Beginning = 0, Current = 1, End = 2 };

class TStream {
 public:
  virtual ~TStream() = default;

  // Reads up to Count bytes; returns how many were read (fewer only at the end of the data).
  virtual qint64 Read(void* buffer, qint64 count) = 0;
  // Writes up to Count bytes; returns how many were written.
  virtual qint64 Write(const void* buffer, qint64 count) = 0;
  // Moves the position and returns the new one.
  virtual qint64 Seek(qint64 offset, SeekOrigin origin) = 0;

  virtual qint64 Position() { return Seek(0, SeekOrigin::Current); }
  void SetPosition(qint64 position) { Seek(position, SeekOrigin::Beginning); }
  // The stream's size; the default seeks to the end and back.
  virtual qint64 Size();
  // Sets the size; streams that cannot change size ignore it.
  virtual void SetSize(qint64 size);

  // Reads exactly Count bytes or fails with "Stream read error".
  void ReadBuffer(void* buffer, qint64 count);
  // Writes exactly Count bytes or fails with "Stream write error".
  void WriteBuffer(const void* buffer, qint64 count);
  void WriteBuffer(const QByteArray& bytes) { WriteBuffer(bytes.constData(), bytes.size()); }
  // Copies Count bytes from Source at its position; Count 0 copies all of Source from its start.
  qint64 CopyFrom(TStream& source, qint64 count);

  // Zero-copy reading for parsers: a view of bytes available at the current position without
  // consuming them (none at the end, or for streams that keep no such bytes), and Consume to
  // step over some of them.
  virtual const char* PeekBuffer(qint64& available) {
    available = 0;
    return nullptr;
  }
  virtual void Consume(qint64 count) { Seek(count, SeekOrigin::Current); }
};

enum class FileMode { Create, OpenRead, OpenWrite, OpenReadWrite };

// A stream over a file of the file system.
class TFileStream : public TStream {
 public:
  // Create makes a new empty file (an existing one is replaced); the Open modes open an existing
  // file. Fails with "Cannot create file ..." or "Cannot open file ...".
  TFileStream(const QString& fileName, FileMode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  qint64 Read(void* buffer, qint64 count) override;
  qint64 Write(const void* buffer, qint64 count) override;
  qint64 Seek(qint64 offset, SeekOrigin origin) override;
  qint64 Size() override;
  void SetSize(qint64 size) override;

  const QString& FileName() const { return fileName_; }

 private:
  QString fileName_;
  int fd_ = -1;
};

// Common part of the memory and resource streams: bytes held in memory and a position.
class TCustomMemoryStream : public TStream {
 public:
  qint64 Read(void* buffer, qint64 count) override;
  qint64 Seek(qint64 offset, SeekOrigin origin) override;
  qint64 Position() override { return position_; }
  qint64 Size() override { return size_; }
  const char* PeekBuffer(qint64& available) override;
  void Consume(qint64 count) override { position_ += count; }

  const char* Memory() const { return data_.constData(); }
  // A copy of the whole contents.
  QByteArray ToByteArray() const { return QByteArray(data_.constData(), size_); }
  void SaveToStream(TStream& target) const;
  void SaveToFile(const QString& fileName) const;

 protected:
  QByteArray data_;  // capacity; the first size_ bytes are the contents
  qint64 size_ = 0;
  qint64 position_ = 0;
};

// A growable in-memory stream.
class TMemoryStream : public TCustomMemoryStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(const QByteArray& contents);

  qint64 Write(const void* buffer, qint64 count) override;
  void SetSize(qint64 size) override;

  char* Memory() { return data_.data(); }
  void Clear();
  // Replaces the contents with all of Source (from its start) or with a file; position 0.
  void LoadFromStream(TStream& source);
  void LoadFromFile(const QString& fileName);

 private:
  void Reserve(qint64 capacity);
};

// A read-only stream over a resource compiled into the program, found by its upper-case name.
// Resources live under the Qt resource prefix ":/rcdata/".
class TResourceStream : public TCustomMemoryStream {
 public:
  // Fails with "Resource <name> not found".
  explicit TResourceStream(const QString& name);

  qint64 Write(const void* buffer, qint64 count) override;

  // True when a resource of that name is compiled in.
  static bool Exists(const QString& name);
  static QString ResourcePath(const QString& name);
};

}  // namespace zabko
