// The run-length coding of bitmaps kept in resource databases: a stream that decodes coded
// blocks, and encodes them when written to.
//
// Coded data is a sequence of blocks, each a little-endian 16-bit header (bit 15 = run flag,
// bits 0..14 = count) followed by a 3-byte pattern (run: the pattern repeated count times) or by
// count literal bytes.
#pragma once

#include "platform/stream.h"

#include <QByteArray>

namespace zabko {

class TRLEStream : public TStream {
 public:
  TRLEStream() = default;

  // Reads a signed 32-bit length N and the N coded bytes that follow it, then rewinds. Fails
  // with "Stream read error" when the length or the data is cut short, and with "Invalid
  // run-length data" when the blocks do not fit the data.
  void LoadFromStream(TStream& source);
  // Writes the coded data as LoadFromStream reads it: its length, then the blocks.
  void SaveToStream(TStream& target) const;
  // Back to decoded position 0.
  void Rewind();
  // Sums the decoded lengths of all blocks; fails with "Invalid run-length data" on blocks
  // that run past the end of the coded data.
  qint64 ComputeSize() const;

  qint64 Read(void* buffer, qint64 count) override;
  // Moves forward only, by skipping decoded bytes; a seek from the start rewinds first.
  qint64 Seek(qint64 offset, SeekOrigin origin) override;
  qint64 Position() override { return position_; }
  qint64 Size() override { return size_; }
  // Appends the data as coded blocks.
  qint64 Write(const void* buffer, qint64 count) override;

  const QByteArray& CodedData() const { return coded_; }

 private:
  friend class TCompress;
  bool NextBlock();
  void Skip(qint64 count);
  void AppendLiteral(const char* data, int count);
  void AppendRun(const char* pattern, int count);

  QByteArray coded_;
  qint64 size_ = 0;      // decoded size
  qint64 position_ = 0;  // decoded position
  qint64 codedPos_ = 0;  // read position in coded_
  bool run_ = false;     // the current block
  qint64 blockLength_ = 0;
  qint64 blockOffset_ = 0;
  char pattern_[3] = {0, 0, 0};
};

// The encoder's state while one chunk of at most 32767 bytes is coded, a triple at a time.
class TCompress {
 public:
  TCompress(TRLEStream& target, const char* chunk, int length);
  // Codes the chunk's whole triples; the caller codes the 1 or 2 bytes after them.
  void Run();

 private:
  void AddTriple(const char* triple);
  void Finish();

  TRLEStream& target_;
  const char* chunk_;
  int length_;
  QByteArray pending_;  // literal bytes not yet written
  int last_ = -1;       // offset of the last stored triple in the chunk
  int repeats_ = 0;     // how many times it occurred in a row
  bool first_ = true;
};

}  // namespace zabko
