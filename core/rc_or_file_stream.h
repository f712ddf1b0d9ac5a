// A read-only stream over a loose file or a resource compiled into the program, chosen by name.
#pragma once

#include "platform/stream.h"

#include <memory>

namespace zabko {

class TRCOrFileStream : public TStream {
 public:
  // Opens FileName when PreferFile is set (or a debugger is attached) and the file exists;
  // otherwise the compiled-in resource named after it (see ResourceNameFor).
  TRCOrFileStream(const QString& fileName, bool preferFile);

  // "Hebrew.GUI.txt" becomes "HEBREW_GUI": the last extension removed, every "." replaced by
  // "_", upper-cased. Only the file-name part of a path counts.
  static QString ResourceNameFor(const QString& fileName);

  qint64 Read(void* buffer, qint64 count) override { return inner_->Read(buffer, count); }
  // Fails with "Write not supported".
  qint64 Write(const void* buffer, qint64 count) override;
  qint64 Seek(qint64 offset, SeekOrigin origin) override { return inner_->Seek(offset, origin); }
  qint64 Position() override { return inner_->Position(); }
  qint64 Size() override { return inner_->Size(); }
  // Fails with "Not allowed to update size".
  void SetSize(qint64 size) override;
  const char* PeekBuffer(qint64& available) override { return inner_->PeekBuffer(available); }
  void Consume(qint64 count) override { inner_->Consume(count); }

  bool IsFile() const { return isFile_; }

 private:
  std::unique_ptr<TStream> inner_;
  bool isFile_ = false;
};

// True when a debugger is attached to this process.
bool DebuggerAttached();

}  // namespace zabko
