// The universal container of the system: eight typed lists addressed by list and index, the
// Packets list nesting further packets. Every server message and every data file is one packet;
// the meaning of each position is fixed by whoever builds it.
#pragma once

#include "core/date_time.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace zabko {

class TStream;
class TCustomMemoryStream;
class TMemoryStream;
class TDataPacket;

using TByteArray = std::vector<quint8>;

// The abstract interface of a packet. Every operation is virtual, so code that only reads a
// packet (a deep copy, for example) works through it. The operations appear in their slot order.
class TAbstractDataPacket {
 public:
  virtual ~TAbstractDataPacket() = default;

  // The packet that owns this one, or none; not an owning reference.
  TDataPacket* Parent() const { return parent_; }

  // 1. Element access. Indexes run from 0 to count - 1.
  virtual void SetBoolean(int index, bool value) = 0;
  virtual bool GetBoolean(int index) const = 0;
  virtual quint8 GetByte(int index) const = 0;
  virtual void SetByte(int index, quint8 value) = 0;
  virtual qint32 GetInteger(int index) const = 0;
  virtual void SetInteger(int index, qint32 value) = 0;
  virtual TDataPacket* GetPacket(int index) const = 0;
  virtual void SetString(int index, const QByteArray& value) = 0;
  virtual QByteArray GetString(int index) const = 0;
  virtual QString GetUTFString(int index) const = 0;
  virtual void SetUTFString(int index, const QString& value) = 0;
  virtual TDateTime GetDate(int index) const = 0;
  virtual void SetDate(int index, TDateTime value) = 0;
  virtual double GetDouble(int index) const = 0;
  virtual void SetDouble(int index, double value) = 0;

  // 2. A new empty packet whose Parent is this one; not added to the Packets list.
  virtual TDataPacket* NewPacket() = 0;
  // 3. Empties all eight lists, destroying the sub-packets.
  virtual void Clear() = 0;
  // 4. The binary form.
  virtual void SaveToStream(TStream& stream) const = 0;
  virtual void SaveToFile(const QString& fileName) const = 0;
  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void LoadFromFile(const QString& fileName, bool buffered) = 0;
  // 5. Deep copy from any packet.
  virtual void Assign(const TAbstractDataPacket& source) = 0;
  // 6. A readable dump, each line followed by CR LF.
  virtual QString ToText() const = 0;

  // 7. Appends; each returns the index of the new element.
  virtual int AddInteger(qint32 value) = 0;
  virtual int AddString(const QByteArray& value) = 0;
  virtual int AddUTFString(const QString& value) = 0;
  virtual int AddByte(quint8 value) = 0;
  virtual int AddBoolean(bool value) = 0;
  virtual int AddDate(TDateTime value) = 0;
  virtual int AddDouble(double value) = 0;
  // Takes ownership of the packet and becomes its Parent.
  virtual int AddPacket(TDataPacket* packet) = 0;
  // Makes, adds and returns a new sub-packet.
  virtual TDataPacket* AddNewPacket() = 0;

  // 8. Byte blocks; the adds return the index of the last byte appended.
  virtual int AddBytes(const TByteArray& source, int start, int count) = 0;
  virtual int AddBytesFromStream(TStream& stream, int count) = 0;
  virtual TByteArray GetBytes(int index, int count) const = 0;

  // 9. Counts.
  virtual int IntegerCount() const = 0;
  virtual int StringCount() const = 0;
  virtual int UTFStringCount() const = 0;
  virtual int ByteCount() const = 0;
  virtual int BooleanCount() const = 0;
  virtual int DateCount() const = 0;
  virtual int DoubleCount() const = 0;
  virtual int PacketCount() const = 0;

  // 10. The index of the first equal element, or -1. Packets compare by identity.
  virtual int IndexOfInteger(qint32 value) const = 0;
  virtual int IndexOfString(const QByteArray& value) const = 0;
  virtual int IndexOfUTFString(const QString& value) const = 0;
  virtual int IndexOfByte(quint8 value) const = 0;
  virtual int IndexOfBoolean(bool value) const = 0;
  virtual int IndexOfDate(TDateTime value) const = 0;
  virtual int IndexOfDouble(double value) const = 0;
  virtual int IndexOfPacket(const TDataPacket* packet) const = 0;

  // 11. Inserts at Index (0 .. count); InsertPacket takes ownership like AddPacket.
  virtual void InsertInteger(int index, qint32 value) = 0;
  virtual void InsertString(int index, const QByteArray& value) = 0;
  virtual void InsertUTFString(int index, const QString& value) = 0;
  virtual void InsertByte(int index, quint8 value) = 0;
  virtual void InsertBoolean(int index, bool value) = 0;
  virtual void InsertDate(int index, TDateTime value) = 0;
  virtual void InsertDouble(int index, double value) = 0;
  virtual void InsertPacket(int index, TDataPacket* packet) = 0;

  // 12. Single deletes; DeletePacket destroys the sub-packet.
  virtual void DeleteInteger(int index) = 0;
  virtual void DeleteString(int index) = 0;
  virtual void DeleteUTFString(int index) = 0;
  virtual void DeleteByte(int index) = 0;
  virtual void DeleteBoolean(int index) = 0;
  virtual void DeleteDate(int index) = 0;
  virtual void DeleteDouble(int index) = 0;
  virtual void DeletePacket(int index) = 0;

  // 13. Range deletes; DeletePackets destroys the removed sub-packets.
  virtual void DeleteIntegers(int index, int count) = 0;
  virtual void DeleteStrings(int index, int count) = 0;
  virtual void DeleteUTFStrings(int index, int count) = 0;
  virtual void DeleteBytes(int index, int count) = 0;
  virtual void DeleteBooleans(int index, int count) = 0;
  virtual void DeleteDates(int index, int count) = 0;
  virtual void DeleteDoubles(int index, int count) = 0;
  virtual void DeletePackets(int index, int count) = 0;

 protected:
  TDataPacket* parent_ = nullptr;
};

class TDataPacket final : public TAbstractDataPacket {
 public:
  // An empty packet with no Parent.
  TDataPacket() = default;
  // A packet whose lists have these lengths (zeros, empty strings, new empty sub-packets).
  static std::unique_ptr<TDataPacket> CreateSized(int integerCount, int stringCount,
                                                  int utfStringCount, int byteCount,
                                                  int booleanCount, int dateCount,
                                                  int doubleCount, int packetCount);
  ~TDataPacket() override;
  TDataPacket(const TDataPacket&) = delete;
  TDataPacket& operator=(const TDataPacket&) = delete;

  void SetBoolean(int index, bool value) override;
  bool GetBoolean(int index) const override;
  quint8 GetByte(int index) const override;
  void SetByte(int index, quint8 value) override;
  qint32 GetInteger(int index) const override;
  void SetInteger(int index, qint32 value) override;
  TDataPacket* GetPacket(int index) const override;
  void SetString(int index, const QByteArray& value) override;
  QByteArray GetString(int index) const override;
  QString GetUTFString(int index) const override;
  void SetUTFString(int index, const QString& value) override;
  TDateTime GetDate(int index) const override;
  void SetDate(int index, TDateTime value) override;
  double GetDouble(int index) const override;
  void SetDouble(int index, double value) override;

  TDataPacket* NewPacket() override;
  void Clear() override;
  void SaveToStream(TStream& stream) const override;
  // Written to a temporary file renamed over the old one: a failed save keeps the old file.
  void SaveToFile(const QString& fileName) const override;
  // Replaces the contents with one binary form read from the stream. On any failure the packet
  // keeps its previous contents and the exception says what was wrong.
  void LoadFromStream(TStream& stream) override;
  void LoadFromFile(const QString& fileName, bool buffered) override;
  void Assign(const TAbstractDataPacket& source) override;
  QString ToText() const override;

  int AddInteger(qint32 value) override;
  int AddString(const QByteArray& value) override;
  int AddUTFString(const QString& value) override;
  int AddByte(quint8 value) override;
  int AddBoolean(bool value) override;
  int AddDate(TDateTime value) override;
  int AddDouble(double value) override;
  int AddPacket(TDataPacket* packet) override;
  int AddPacket(std::unique_ptr<TDataPacket> packet) { return AddPacket(packet.release()); }
  TDataPacket* AddNewPacket() override;

  int AddBytes(const TByteArray& source, int start, int count) override;
  int AddBytesFromStream(TStream& stream, int count) override;
  TByteArray GetBytes(int index, int count) const override;

  int IntegerCount() const override { return CountOf(kIntegers); }
  int StringCount() const override { return CountOf(kStrings); }
  int UTFStringCount() const override { return CountOf(kUTFStrings); }
  int ByteCount() const override { return CountOf(kBytes); }
  int BooleanCount() const override { return CountOf(kBooleans); }
  int DateCount() const override { return CountOf(kDates); }
  int DoubleCount() const override { return CountOf(kDoubles); }
  int PacketCount() const override { return CountOf(kPackets); }

  int IndexOfInteger(qint32 value) const override;
  int IndexOfString(const QByteArray& value) const override;
  int IndexOfUTFString(const QString& value) const override;
  int IndexOfByte(quint8 value) const override;
  int IndexOfBoolean(bool value) const override;
  int IndexOfDate(TDateTime value) const override;
  int IndexOfDouble(double value) const override;
  int IndexOfPacket(const TDataPacket* packet) const override;

  void InsertInteger(int index, qint32 value) override;
  void InsertString(int index, const QByteArray& value) override;
  void InsertUTFString(int index, const QString& value) override;
  void InsertByte(int index, quint8 value) override;
  void InsertBoolean(int index, bool value) override;
  void InsertDate(int index, TDateTime value) override;
  void InsertDouble(int index, double value) override;
  void InsertPacket(int index, TDataPacket* packet) override;

  void DeleteInteger(int index) override;
  void DeleteString(int index) override;
  void DeleteUTFString(int index) override;
  void DeleteByte(int index) override;
  void DeleteBoolean(int index) override;
  void DeleteDate(int index) override;
  void DeleteDouble(int index) override;
  void DeletePacket(int index) override;

  void DeleteIntegers(int index, int count) override;
  void DeleteStrings(int index, int count) override;
  void DeleteUTFStrings(int index, int count) override;
  void DeleteBytes(int index, int count) override;
  void DeleteBooleans(int index, int count) override;
  void DeleteDates(int index, int count) override;
  void DeleteDoubles(int index, int count) override;
  void DeletePackets(int index, int count) override;

  // The binary form as upper-case hex text, and back.
  void LoadFromHexString(const QByteArray& text);
  QByteArray SaveToHexString() const;
  // The binary form as bytes, and back (the hex forms without the hex step).
  QByteArray SaveToBytes() const;
  void LoadFromBytes(const QByteArray& bytes);

  // The first sub-packet whose Strings[index] equals Text byte for byte, or none. Sub-packets
  // without such a string do not match.
  TDataPacket* FindPacketByString(const QByteArray& text, int index) const;
  // A deep copy whose Parent is this packet (not in its list); the caller owns it.
  std::unique_ptr<TDataPacket> Clone();
  bool IsEmpty() const;
  // The stored byte of a Boolean (0 false, anything else true), as the binary form keeps it.
  quint8 RawBoolean(int index) const;

  // Nesting deeper than this fails the load ("Packet nesting too deep").
  static constexpr int kMaxDepth = 64;

 private:
  friend class PacketReader;
  friend class PacketWriter;
  friend struct PacketStorage;
  void SwapContents(TDataPacket& other);

  // The lists in their declaration order. A list is stored only once it holds something: a
  // file may hold millions of small sub-packets, each of which then costs its own object and
  // one block for what it holds, not eight lists.
  enum ListKind : quint8 {
    kIntegers, kStrings, kUTFStrings, kBytes, kBooleans, kPackets, kDates, kDoubles,
    kListKinds  // the kind of a Directory
  };
  struct Block {
    quint8 kind;
  };
  // One list in one allocation: its count and room, then the elements.
  struct ListBlock : Block {
    quint32 size;
    quint32 capacity;
  };
  // The lists of a packet that holds more than one kind.
  struct Directory : Block {
    ListBlock* lists[kListKinds];
  };
  const ListBlock* Find(ListKind kind) const {
    if (!lists_) return nullptr;
    if (lists_->kind == kind) return static_cast<const ListBlock*>(lists_);
    if (lists_->kind == kListKinds) return static_cast<const Directory*>(lists_)->lists[kind];
    return nullptr;
  }
  int CountOf(ListKind kind) const {
    const ListBlock* b = Find(kind);
    return b ? static_cast<int>(b->size) : 0;
  }

  // None, the one list the packet holds, or a Directory.
  Block* lists_ = nullptr;
};

// Hex text routines: upper-case digits, high nibble first.
char NibbleToHex(int value);
QByteArray ByteToHex(quint8 value);
int HexToNibble(char digit);
quint8 HexPairToByte(char high, char low);
// The whole contents of a memory stream, from its start, as hex text.
QByteArray StreamToHex(TCustomMemoryStream& stream);
// Sets the stream's size to the decoded length and writes the bytes from position 0.
void HexToStream(const QByteArray& text, TMemoryStream& stream);
// The same on plain byte arrays.
QByteArray BytesToHex(const char* data, qsizetype size);
QByteArray HexToBytes(const char* text, qsizetype length);

}  // namespace zabko
