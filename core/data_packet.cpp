#include "core/data_packet.h"

#include "core/buffered_stream.h"
#include "platform/exception.h"
#include "platform/stream.h"
#include "platform/atomic_file.h"
#include "platform/code_page.h"
#include "platform/text_compare.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace zabko {
namespace {

constexpr quint32 kMagic = 0xEE1199AA;

enum Flag : quint8 {
  kFlagIntegers = 0x01,
  kFlagBooleans = 0x02,
  kFlagBytes = 0x04,
  kFlagStrings = 0x08,
  kFlagUTFStrings = 0x10,
  kFlagDates = 0x20,
  kFlagDoubles = 0x40,
  kFlagPackets = 0x80,
};

[[noreturn]] void IndexError(int index) {
  throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
}

template <typename Vec>
void CheckIndex(const Vec& v, int index) {
  if (index < 0 || static_cast<size_t>(index) >= v.size()) IndexError(index);
}

template <typename Vec, typename T>
void InsertAt(Vec& v, int index, T&& value) {
  if (index < 0 || static_cast<size_t>(index) > v.size()) IndexError(index);
  v.insert(v.begin() + index, std::forward<T>(value));
}

template <typename Vec>
void EraseRange(Vec& v, int index, int count) {
  if (count <= 0) return;
  if (index < 0 || static_cast<size_t>(index) + static_cast<size_t>(count) > v.size())
    IndexError(index);
  v.erase(v.begin() + index, v.begin() + index + count);
}

template <typename Vec, typename T>
int IndexOfValue(const Vec& v, const T& value) {
  const auto it = std::find(v.begin(), v.end(), value);
  return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

// General float text: up to 15 significant digits, fixed notation for values whose integer
// part has at most 15 digits and that are at least 0.00001, scientific ("1E20") otherwise.
QString FloatToText(double value) {
  if (std::isnan(value)) return QStringLiteral("NAN");
  if (std::isinf(value)) return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
  if (value == 0) return QStringLiteral("0");
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", value);
  // buf: [-]d.ddddddddddddddde[+-]xx
  const char* e = std::strchr(buf, 'e');
  const int exponent = std::atoi(e + 1);
  if (exponent < 15 && std::fabs(value) >= 0.00001) {
    const int decimals = std::max(0, 14 - exponent);
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    QString text = QString::fromLatin1(buf);
    if (text.contains('.')) {
      while (text.endsWith('0')) text.chop(1);
      if (text.endsWith('.')) text.chop(1);
    }
    return text;
  }
  QString mantissa = QString::fromLatin1(buf, static_cast<int>(e - buf));
  if (mantissa.contains('.')) {
    while (mantissa.endsWith('0')) mantissa.chop(1);
    if (mantissa.endsWith('.')) mantissa.chop(1);
  }
  return mantissa + 'E' + QString::number(exponent);
}

QString DateToText(TDateTime value) {
  try {
    // The system's date-times carry no zone: shown as they are, never shifted by daylight saving.
    const DateTimeFields f = DecodeDateTime(value);
    const QDateTime shown(QDate(f.year, f.month, f.day), QTime(f.hour, f.minute, f.second, f.millisecond), Qt::UTC);
    return QLocale::system().toString(shown, QLocale::ShortFormat);
  } catch (const Exception&) {
    return FloatToText(value);
  }
}

}  // namespace

// ---- Writer: builds the whole binary form in memory.

class PacketWriter {
 public:
  QByteArray& Bytes() { return out_; }

  void Write(const TDataPacket& p) {
    Put32(kMagic);
    quint8 flags = 0;
    if (p.IntegerCount()) flags |= kFlagIntegers;
    if (p.BooleanCount()) flags |= kFlagBooleans;
    if (p.ByteCount()) flags |= kFlagBytes;
    if (p.StringCount()) flags |= kFlagStrings;
    if (p.UTFStringCount()) flags |= kFlagUTFStrings;
    if (p.DateCount()) flags |= kFlagDates;
    if (p.DoubleCount()) flags |= kFlagDoubles;
    if (p.PacketCount()) flags |= kFlagPackets;
    out_.append(static_cast<char>(flags));

    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the binary form is little-endian");
    if (const int n = p.IntegerCount()) {
      Put32(static_cast<quint32>(n));
      for (qint32 v : p.L().integers) Put32(static_cast<quint32>(v));
    }
    if (const int n = p.BooleanCount()) {
      Put32(static_cast<quint32>(n));
      out_.append(reinterpret_cast<const char*>(p.L().booleans.data()), n);
    }
    if (const int n = p.ByteCount()) {
      Put32(static_cast<quint32>(n));
      out_.append(reinterpret_cast<const char*>(p.L().bytes.data()), n);
    }
    if (const int n = p.DateCount()) {
      Put32(static_cast<quint32>(n));
      for (TDateTime d : p.L().dates) {
        const DateTimeFields f = DecodeDateTime(d);
        for (int v : {f.year, f.month, f.day, f.hour, f.minute, f.second, f.millisecond})
          Put16(static_cast<quint16>(v));
      }
    }
    if (const int n = p.StringCount()) {
      Put32(static_cast<quint32>(n));
      for (const QByteArray& s : p.L().strings) {
        Put32(static_cast<quint32>(s.size()));
        out_.append(s);
      }
    }
    if (const int n = p.UTFStringCount()) {
      Put32(static_cast<quint32>(n));
      for (const QString& s : p.L().utfStrings) PutUTF(s);
    }
    if (const int n = p.DoubleCount()) {
      Put32(static_cast<quint32>(n));
      out_.append(reinterpret_cast<const char*>(p.L().doubles.data()), 8 * static_cast<qsizetype>(n));
    }
    if (const int n = p.PacketCount()) {
      Put32(static_cast<quint32>(n));
      for (const auto& sub : p.L().packets) Write(*sub);
    }
  }

 private:
  void Put16(quint16 v) {
    const char raw[2] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
    out_.append(raw, 2);
  }
  void Put32(quint32 v) {
    const char raw[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                         static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24)};
    out_.append(raw, 4);
  }
  // Each UTF-16 code unit on its own as 1, 2 or 3 bytes; surrogates are ordinary units.
  void PutUTF(const QString& s) {
    const qsizetype n = s.size();
    Put32(static_cast<quint32>(n));
    const qsizetype start = out_.size();
    out_.resize(start + 3 * n);
    char* d = out_.data() + start;
    char* const begin = d;
    for (const QChar qc : s) {
      const char16_t u = qc.unicode();
      if (u < 0x80) {
        *d++ = static_cast<char>(u);
      } else if (u < 0x800) {
        *d++ = static_cast<char>(0xC0 | (u >> 6));
        *d++ = static_cast<char>(0x80 | (u & 0x3F));
      } else {
        *d++ = static_cast<char>(0xE0 | (u >> 12));
        *d++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        *d++ = static_cast<char>(0x80 | (u & 0x3F));
      }
    }
    out_.resize(start + (d - begin));
  }

  QByteArray out_;
};

// ---- Reader: parses straight from the stream's own buffer where it has one, checks every
// count and length against what is left, and caps the nesting depth.

class PacketReader {
 public:
  explicit PacketReader(TStream& stream) : s_(stream) {
    const qint64 size = stream.Size();
    const qint64 position = stream.Position();
    remaining_ = size >= position ? size - position : -1;
  }
  ~PacketReader() {
    // Leave the stream just after what was parsed (also after a failure, harmlessly).
    try {
      Commit();
    } catch (...) {
    }
  }

  void Load(TDataPacket& p, int depth) {
    if (depth > TDataPacket::kMaxDepth) throw Exception("Packet nesting too deep");
    if (Get32() != kMagic) throw Exception("Invalid packet header");
    const quint8 flags = GetByte();

    if (flags & kFlagIntegers) {
      const int n = GetCount(4);
      p.L().integers.resize(static_cast<size_t>(n));
      GetRaw(p.L().integers.data(), 4 * static_cast<qint64>(n));
    }
    if (flags & kFlagBooleans) {
      const int n = GetCount(1);
      p.L().booleans.resize(static_cast<size_t>(n));
      GetRaw(p.L().booleans.data(), n);
    }
    if (flags & kFlagBytes) {
      const int n = GetCount(1);
      p.L().bytes.resize(static_cast<size_t>(n));
      GetRaw(p.L().bytes.data(), n);
    }
    if (flags & kFlagDates) {
      const int n = GetCount(14);
      p.L().dates.resize(static_cast<size_t>(n));
      for (int i = 0; i < n; ++i) {
        quint16 f[7];
        GetRaw(f, sizeof f);
        p.L().dates[static_cast<size_t>(i)] =
            EncodeDateTime({f[0], f[1], f[2], f[3], f[4], f[5], f[6]});
      }
    }
    if (flags & kFlagStrings) {
      const int n = GetCount(4);
      p.L().strings.resize(static_cast<size_t>(n));
      for (auto& s : p.L().strings) {
        const int length = GetCount(1);
        s = QByteArray(length, Qt::Uninitialized);
        GetRaw(s.data(), length);
      }
    }
    if (flags & kFlagUTFStrings) {
      const int n = GetCount(4);
      p.L().utfStrings.resize(static_cast<size_t>(n));
      for (auto& s : p.L().utfStrings) s = GetUTF();
    }
    if (flags & kFlagDoubles) {
      const int n = GetCount(8);
      p.L().doubles.resize(static_cast<size_t>(n));
      GetRaw(p.L().doubles.data(), 8 * static_cast<qint64>(n));
    }
    if (flags & kFlagPackets) {
      const int n = GetCount(5);
      p.L().packets.reserve(static_cast<size_t>(n));
      for (int i = 0; i < n; ++i) {
        p.L().packets.emplace_back(p.NewPacket());
        Load(*p.L().packets.back(), depth + 1);
      }
    }
  }

 private:
  qint64 Consumed() const { return committed_ + (cur_ - begin_); }

  void Commit() {
    if (cur_ != begin_) {
      s_.Consume(cur_ - begin_);
      committed_ += cur_ - begin_;
    }
    begin_ = end_ = cur_ = nullptr;
  }

  // Makes a view of the stream's bytes current; false when the stream has none.
  bool Refill() {
    Commit();
    qint64 available = 0;
    const char* view = s_.PeekBuffer(available);
    if (!view || available <= 0) return false;
    begin_ = cur_ = view;
    end_ = view + available;
    return true;
  }

  [[noreturn]] static void EndsEarly() { throw Exception("Packet data ends early"); }

  void GetRaw(void* out, qint64 n) {
    auto* d = static_cast<char*>(out);
    while (n > 0) {
      if (cur_ == end_ && !Refill()) {
        // No view: read straight from the stream.
        try {
          s_.ReadBuffer(d, n);
        } catch (const Exception&) {
          EndsEarly();
        }
        committed_ += n;
        return;
      }
      const qint64 take = std::min<qint64>(n, end_ - cur_);
      std::memcpy(d, cur_, static_cast<size_t>(take));
      cur_ += take;
      d += take;
      n -= take;
    }
  }

  quint8 GetByte() {
    if (cur_ != end_) return static_cast<quint8>(*cur_++);
    quint8 b;
    GetRaw(&b, 1);
    return b;
  }

  quint32 Get32() {
    quint32 v;
    if (end_ - cur_ >= 4) {
      std::memcpy(&v, cur_, 4);
      cur_ += 4;
    } else {
      GetRaw(&v, 4);
    }
    return v;
  }

  // A count or length, checked to be non-negative and to fit in what is left of the data at
  // MinSize bytes an element.
  int GetCount(int minSize) {
    const qint32 n = static_cast<qint32>(Get32());
    if (n < 0) throw Exception("Invalid packet data: negative count");
    if (remaining_ >= 0 && static_cast<qint64>(n) * minSize > remaining_ - Consumed())
      EndsEarly();
    return n;
  }

  QString GetUTF() {
    const int n = GetCount(1);
    QString s(n, Qt::Uninitialized);
    char16_t* d = reinterpret_cast<char16_t*>(s.data());
    for (int i = 0; i < n; ++i) {
      const quint8 b1 = GetByte();
      if (b1 < 0x80) {
        d[i] = b1;
        continue;
      }
      const quint8 b2 = GetByte();
      if (!(b1 & 0x20)) {
        d[i] = static_cast<char16_t>(((b1 & 0x1F) << 6) + (b2 & 0x3F));
        continue;
      }
      const quint8 b3 = GetByte();
      if (b1 & 0x10) throw Exception("Support for up to three byte UTF encoding");
      d[i] = static_cast<char16_t>(((b1 & 0x0F) << 12) + ((b2 & 0x3F) << 6) + (b3 & 0x3F));
    }
    return s;
  }

  TStream& s_;
  qint64 remaining_ = -1;
  qint64 committed_ = 0;
  const char* begin_ = nullptr;
  const char* cur_ = nullptr;
  const char* end_ = nullptr;
};

// ---- TDataPacket

std::unique_ptr<TDataPacket> TDataPacket::CreateSized(int integerCount, int stringCount,
                                                      int utfStringCount, int byteCount,
                                                      int booleanCount, int dateCount,
                                                      int doubleCount, int packetCount) {
  auto p = std::make_unique<TDataPacket>();
  p->L().integers.resize(static_cast<size_t>(std::max(0, integerCount)));
  p->L().strings.resize(static_cast<size_t>(std::max(0, stringCount)));
  p->L().utfStrings.resize(static_cast<size_t>(std::max(0, utfStringCount)));
  p->L().bytes.resize(static_cast<size_t>(std::max(0, byteCount)));
  p->L().booleans.resize(static_cast<size_t>(std::max(0, booleanCount)));
  p->L().dates.resize(static_cast<size_t>(std::max(0, dateCount)));
  p->L().doubles.resize(static_cast<size_t>(std::max(0, doubleCount)));
  for (int i = 0; i < packetCount; ++i) p->L().packets.emplace_back(p->NewPacket());
  return p;
}

TDataPacket::~TDataPacket() = default;

void TDataPacket::SetBoolean(int index, bool value) {
  CheckIndex(L().booleans, index);
  L().booleans[static_cast<size_t>(index)] = value ? 1 : 0;
}
bool TDataPacket::GetBoolean(int index) const {
  CheckIndex(L().booleans, index);
  return L().booleans[static_cast<size_t>(index)] != 0;
}
quint8 TDataPacket::RawBoolean(int index) const {
  CheckIndex(L().booleans, index);
  return L().booleans[static_cast<size_t>(index)];
}
quint8 TDataPacket::GetByte(int index) const {
  CheckIndex(L().bytes, index);
  return L().bytes[static_cast<size_t>(index)];
}
void TDataPacket::SetByte(int index, quint8 value) {
  CheckIndex(L().bytes, index);
  L().bytes[static_cast<size_t>(index)] = value;
}
qint32 TDataPacket::GetInteger(int index) const {
  CheckIndex(L().integers, index);
  return L().integers[static_cast<size_t>(index)];
}
void TDataPacket::SetInteger(int index, qint32 value) {
  CheckIndex(L().integers, index);
  L().integers[static_cast<size_t>(index)] = value;
}
TDataPacket* TDataPacket::GetPacket(int index) const {
  CheckIndex(L().packets, index);
  return L().packets[static_cast<size_t>(index)].get();
}
void TDataPacket::SetString(int index, const QByteArray& value) {
  CheckIndex(L().strings, index);
  L().strings[static_cast<size_t>(index)] = value;
}
QByteArray TDataPacket::GetString(int index) const {
  CheckIndex(L().strings, index);
  return L().strings[static_cast<size_t>(index)];
}
QString TDataPacket::GetUTFString(int index) const {
  CheckIndex(L().utfStrings, index);
  return L().utfStrings[static_cast<size_t>(index)];
}
void TDataPacket::SetUTFString(int index, const QString& value) {
  CheckIndex(L().utfStrings, index);
  L().utfStrings[static_cast<size_t>(index)] = value;
}
TDateTime TDataPacket::GetDate(int index) const {
  CheckIndex(L().dates, index);
  return L().dates[static_cast<size_t>(index)];
}
void TDataPacket::SetDate(int index, TDateTime value) {
  CheckIndex(L().dates, index);
  L().dates[static_cast<size_t>(index)] = value;
}
double TDataPacket::GetDouble(int index) const {
  CheckIndex(L().doubles, index);
  return L().doubles[static_cast<size_t>(index)];
}
void TDataPacket::SetDouble(int index, double value) {
  CheckIndex(L().doubles, index);
  L().doubles[static_cast<size_t>(index)] = value;
}

TDataPacket* TDataPacket::NewPacket() {
  auto* p = new TDataPacket();
  p->parent_ = this;
  return p;
}

const TDataPacket::Lists TDataPacket::kNoLists;

void TDataPacket::Clear() { lists_.reset(); }

void TDataPacket::SwapContents(TDataPacket& other) {
  lists_.swap(other.lists_);
  for (const auto& p : std::as_const(*this).L().packets) p->parent_ = this;
  for (const auto& p : std::as_const(other).L().packets) p->parent_ = &other;
}

void TDataPacket::SaveToStream(TStream& stream) const {
  // The whole form is made first, so a packet that cannot be written (a date out of range)
  // leaves nothing half written in the stream.
  stream.WriteBuffer(SaveToBytes());
}

void TDataPacket::SaveToFile(const QString& fileName) const {
  WriteFileAtomically(fileName, SaveToBytes());
}

void TDataPacket::LoadFromStream(TStream& stream) {
  TDataPacket fresh;
  {
    PacketReader reader(stream);
    reader.Load(fresh, 0);
  }
  SwapContents(fresh);
}

void TDataPacket::LoadFromFile(const QString& fileName, bool buffered) {
  if (buffered) {
    TBufferedStream stream(std::make_unique<TFileStream>(fileName, FileMode::OpenRead));
    LoadFromStream(stream);
  } else {
    TFileStream stream(fileName, FileMode::OpenRead);
    LoadFromStream(stream);
  }
}

QByteArray TDataPacket::SaveToBytes() const {
  PacketWriter writer;
  writer.Write(*this);
  return std::move(writer.Bytes());
}

void TDataPacket::LoadFromBytes(const QByteArray& bytes) {
  TMemoryStream stream(bytes);
  LoadFromStream(stream);
}

QByteArray TDataPacket::SaveToHexString() const {
  const QByteArray bytes = SaveToBytes();
  return BytesToHex(bytes.constData(), bytes.size());
}

void TDataPacket::LoadFromHexString(const QByteArray& text) {
  LoadFromBytes(HexToBytes(text.constData(), text.size()));
}

void TDataPacket::Assign(const TAbstractDataPacket& source) {
  // Built aside and swapped in, so that assigning from this packet or one of its own
  // sub-packets reads a source that is still whole.
  TDataPacket copy;
  if (const auto* s = dynamic_cast<const TDataPacket*>(&source)) {
    if (s->lists_) {
      const Lists& from = *s->lists_;
      Lists& to = copy.L();
      to.integers = from.integers;
      to.booleans = from.booleans;
      to.bytes = from.bytes;
      to.dates = from.dates;
      to.strings = from.strings;
      to.utfStrings = from.utfStrings;
      to.doubles = from.doubles;
    }
  } else {
    for (int i = 0, n = source.IntegerCount(); i < n; ++i)
      copy.L().integers.push_back(source.GetInteger(i));
    for (int i = 0, n = source.BooleanCount(); i < n; ++i)
      copy.L().booleans.push_back(source.GetBoolean(i) ? 1 : 0);
    for (int i = 0, n = source.ByteCount(); i < n; ++i) copy.L().bytes.push_back(source.GetByte(i));
    for (int i = 0, n = source.DateCount(); i < n; ++i) copy.L().dates.push_back(source.GetDate(i));
    for (int i = 0, n = source.StringCount(); i < n; ++i)
      copy.L().strings.push_back(source.GetString(i));
    for (int i = 0, n = source.UTFStringCount(); i < n; ++i)
      copy.L().utfStrings.push_back(source.GetUTFString(i));
    for (int i = 0, n = source.DoubleCount(); i < n; ++i)
      copy.L().doubles.push_back(source.GetDouble(i));
  }
  const int packets = source.PacketCount();
  if (packets > 0) copy.L().packets.reserve(static_cast<size_t>(packets));
  for (int i = 0; i < packets; ++i) {
    copy.L().packets.emplace_back(copy.NewPacket());
    copy.L().packets.back()->Assign(*source.GetPacket(i));
  }
  SwapContents(copy);
}

QString TDataPacket::ToText() const {
  QStringList lines;
  lines << QStringLiteral("Integers:");
  for (qint32 v : L().integers) lines << QString::number(v);
  lines << QString();
  lines << QStringLiteral("Dates:");
  for (TDateTime v : L().dates) lines << DateToText(v);
  lines << QString();
  lines << QStringLiteral("Doubles:");
  for (double v : L().doubles) lines << FloatToText(v);
  lines << QString();
  lines << QStringLiteral("Bytes:");
  for (quint8 v : L().bytes) lines << QString::number(v);
  lines << QString();
  lines << QStringLiteral("Booleans:");
  for (quint8 v : L().booleans) lines << (v ? QStringLiteral("True") : QStringLiteral("False"));
  lines << QString();
  lines << QStringLiteral("Strings:");
  for (const QByteArray& v : L().strings) lines << SystemCodePageToWide(v);
  lines << QString();
  lines << QStringLiteral("UTFStrings:");
  for (const QString& v : L().utfStrings) lines << v;
  lines << QString();
  lines << QStringLiteral("Packets:");
  for (const auto& p : L().packets) {
    lines << QStringLiteral("---");
    lines << p->ToText();
  }
  QString text;
  for (const QString& line : lines) {
    text += line;
    text += QStringLiteral("\r\n");
  }
  return text;
}

int TDataPacket::AddInteger(qint32 value) {
  L().integers.push_back(value);
  return IntegerCount() - 1;
}
int TDataPacket::AddString(const QByteArray& value) {
  L().strings.push_back(value);
  return StringCount() - 1;
}
int TDataPacket::AddUTFString(const QString& value) {
  L().utfStrings.push_back(value);
  return UTFStringCount() - 1;
}
int TDataPacket::AddByte(quint8 value) {
  L().bytes.push_back(value);
  return ByteCount() - 1;
}
int TDataPacket::AddBoolean(bool value) {
  L().booleans.push_back(value ? 1 : 0);
  return BooleanCount() - 1;
}
int TDataPacket::AddDate(TDateTime value) {
  L().dates.push_back(value);
  return DateCount() - 1;
}
int TDataPacket::AddDouble(double value) {
  L().doubles.push_back(value);
  return DoubleCount() - 1;
}
int TDataPacket::AddPacket(TDataPacket* packet) {
  if (!packet) throw Exception("Cannot add an unassigned packet");
  L().packets.emplace_back(packet);
  packet->parent_ = this;
  return PacketCount() - 1;
}
TDataPacket* TDataPacket::AddNewPacket() {
  TDataPacket* p = NewPacket();
  AddPacket(p);
  return p;
}

int TDataPacket::AddBytes(const TByteArray& source, int start, int count) {
  if (count < 0 || start < 0 || static_cast<size_t>(start) + static_cast<size_t>(count) > source.size())
    IndexError(start);
  L().bytes.insert(L().bytes.end(), source.begin() + start, source.begin() + start + count);
  return ByteCount() - 1;
}

int TDataPacket::AddBytesFromStream(TStream& stream, int count) {
  if (count < 0) IndexError(count);
  // Read first, so that a short stream leaves the Bytes list as it was.
  TByteArray block(static_cast<size_t>(count));
  stream.ReadBuffer(block.data(), count);
  L().bytes.insert(L().bytes.end(), block.begin(), block.end());
  return ByteCount() - 1;
}

TByteArray TDataPacket::GetBytes(int index, int count) const {
  if (count < 0 || index < 0 || static_cast<size_t>(index) + static_cast<size_t>(count) > L().bytes.size())
    IndexError(index);
  return TByteArray(L().bytes.begin() + index, L().bytes.begin() + index + count);
}

int TDataPacket::IndexOfInteger(qint32 value) const { return IndexOfValue(L().integers, value); }
int TDataPacket::IndexOfString(const QByteArray& value) const { return IndexOfValue(L().strings, value); }
int TDataPacket::IndexOfUTFString(const QString& value) const {
  for (size_t i = 0; i < L().utfStrings.size(); ++i)
    if (LocaleEqual(L().utfStrings[i], value, false)) return static_cast<int>(i);
  return -1;
}
int TDataPacket::IndexOfByte(quint8 value) const { return IndexOfValue(L().bytes, value); }
int TDataPacket::IndexOfBoolean(bool value) const {
  return IndexOfValue(L().booleans, static_cast<quint8>(value ? 1 : 0));
}
int TDataPacket::IndexOfDate(TDateTime value) const { return IndexOfValue(L().dates, value); }
int TDataPacket::IndexOfDouble(double value) const { return IndexOfValue(L().doubles, value); }
int TDataPacket::IndexOfPacket(const TDataPacket* packet) const {
  for (size_t i = 0; i < L().packets.size(); ++i)
    if (L().packets[i].get() == packet) return static_cast<int>(i);
  return -1;
}

void TDataPacket::InsertInteger(int index, qint32 value) { InsertAt(L().integers, index, value); }
void TDataPacket::InsertString(int index, const QByteArray& value) { InsertAt(L().strings, index, value); }
void TDataPacket::InsertUTFString(int index, const QString& value) {
  InsertAt(L().utfStrings, index, value);
}
void TDataPacket::InsertByte(int index, quint8 value) { InsertAt(L().bytes, index, value); }
void TDataPacket::InsertBoolean(int index, bool value) {
  InsertAt(L().booleans, index, static_cast<quint8>(value ? 1 : 0));
}
void TDataPacket::InsertDate(int index, TDateTime value) { InsertAt(L().dates, index, value); }
void TDataPacket::InsertDouble(int index, double value) { InsertAt(L().doubles, index, value); }
void TDataPacket::InsertPacket(int index, TDataPacket* packet) {
  if (!packet) throw Exception("Cannot add an unassigned packet");
  if (index < 0 || index > PacketCount()) IndexError(index);
  L().packets.emplace(L().packets.begin() + index, packet);
  packet->parent_ = this;
}

void TDataPacket::DeleteInteger(int index) { DeleteIntegers(index, 1); }
void TDataPacket::DeleteString(int index) { DeleteStrings(index, 1); }
void TDataPacket::DeleteUTFString(int index) { DeleteUTFStrings(index, 1); }
void TDataPacket::DeleteByte(int index) { DeleteBytes(index, 1); }
void TDataPacket::DeleteBoolean(int index) { DeleteBooleans(index, 1); }
void TDataPacket::DeleteDate(int index) { DeleteDates(index, 1); }
void TDataPacket::DeleteDouble(int index) { DeleteDoubles(index, 1); }
void TDataPacket::DeletePacket(int index) { DeletePackets(index, 1); }

void TDataPacket::DeleteIntegers(int index, int count) { EraseRange(L().integers, index, count); }
void TDataPacket::DeleteStrings(int index, int count) { EraseRange(L().strings, index, count); }
void TDataPacket::DeleteUTFStrings(int index, int count) { EraseRange(L().utfStrings, index, count); }
void TDataPacket::DeleteBytes(int index, int count) { EraseRange(L().bytes, index, count); }
void TDataPacket::DeleteBooleans(int index, int count) { EraseRange(L().booleans, index, count); }
void TDataPacket::DeleteDates(int index, int count) { EraseRange(L().dates, index, count); }
void TDataPacket::DeleteDoubles(int index, int count) { EraseRange(L().doubles, index, count); }
void TDataPacket::DeletePackets(int index, int count) { EraseRange(L().packets, index, count); }

TDataPacket* TDataPacket::FindPacketByString(const QByteArray& text, int index) const {
  if (index < 0) return nullptr;
  for (const auto& p : L().packets)
    if (static_cast<size_t>(index) < p->L().strings.size() && p->L().strings[static_cast<size_t>(index)] == text)
      return p.get();
  return nullptr;
}

std::unique_ptr<TDataPacket> TDataPacket::Clone() {
  std::unique_ptr<TDataPacket> copy(NewPacket());
  copy->Assign(*this);
  return copy;
}

bool TDataPacket::IsEmpty() const {
  return L().integers.empty() && L().strings.empty() && L().utfStrings.empty() && L().bytes.empty() &&
         L().booleans.empty() && L().packets.empty() && L().dates.empty() && L().doubles.empty();
}

// ---- Hex text

namespace {

struct HexTables {
  char16_t pairs[256];     // two upper-case digits of each byte, as one 16-bit store
  quint8 values[256];      // digit value of each character
  HexTables() {
    for (int b = 0; b < 256; ++b) {
      const char hi = NibbleToHex(b >> 4), lo = NibbleToHex(b & 15);
      char raw[2] = {hi, lo};
      std::memcpy(&pairs[b], raw, 2);
    }
    for (int c = 0; c < 256; ++c) values[c] = static_cast<quint8>(HexToNibble(static_cast<char>(c)));
  }
};

const HexTables& Tables() {
  static const HexTables tables;
  return tables;
}

}  // namespace

char NibbleToHex(int value) {
  value &= 15;
  return static_cast<char>(value < 10 ? value + 48 : value + 55);
}

QByteArray ByteToHex(quint8 value) {
  const char digits[2] = {NibbleToHex(value >> 4), NibbleToHex(value & 15)};
  return QByteArray(digits, 2);
}

int HexToNibble(char digit) {
  const int code = static_cast<unsigned char>(digit);
  // Lower-case digits are accepted as well; anything else keeps the system's arithmetic.
  if (code >= 'a' && code <= 'f') return code - 'a' + 10;
  return code > '9' ? code - 55 : code - 48;
}

quint8 HexPairToByte(char high, char low) {
  return static_cast<quint8>(16 * HexToNibble(high) + HexToNibble(low));
}

QByteArray BytesToHex(const char* data, qsizetype size) {
  const HexTables& t = Tables();
  QByteArray text(2 * size, Qt::Uninitialized);
  char* out = text.data();
  for (qsizetype i = 0; i < size; ++i)
    std::memcpy(out + 2 * i, &t.pairs[static_cast<quint8>(data[i])], 2);
  return text;
}

QByteArray HexToBytes(const char* text, qsizetype length) {
  const HexTables& t = Tables();
  const qsizetype n = length / 2;
  QByteArray bytes(n, Qt::Uninitialized);
  char* out = bytes.data();
  const auto* in = reinterpret_cast<const unsigned char*>(text);
  for (qsizetype i = 0; i < n; ++i)
    out[i] = static_cast<char>((t.values[in[2 * i]] << 4) + t.values[in[2 * i + 1]]);
  return bytes;
}

QByteArray StreamToHex(TCustomMemoryStream& stream) {
  return BytesToHex(stream.Memory(), stream.Size());
}

void HexToStream(const QByteArray& text, TMemoryStream& stream) {
  const QByteArray bytes = HexToBytes(text.constData(), text.size());
  stream.SetSize(bytes.size());
  stream.SetPosition(0);
  stream.WriteBuffer(bytes.constData(), bytes.size());
}

}  // namespace zabko
