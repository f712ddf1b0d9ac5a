#include "core/data_packet.h"

#include "core/buffered_stream.h"
#include "platform/exception.h"
#include "platform/stream.h"
#include "tests/common/test_util.h"

#include <QTemporaryDir>

#include <iostream>

#include <gtest/gtest.h>

namespace zabko {

// Readable dates in failures (found by argument lookup, so outside the unnamed namespace).
void PrintTo(const DateTimeFields& f, std::ostream* os) {
  *os << f.year << '-' << f.month << '-' << f.day << ' ' << f.hour << ':' << f.minute << ':' << f.second << '.'
      << f.millisecond;
}

namespace {

std::unique_ptr<TDataPacket> FromHex(const char* hex) {
  auto p = std::make_unique<TDataPacket>();
  p->LoadFromHexString(QByteArray(hex));
  return p;
}

// A packet with every list filled and two levels of sub-packets.
std::unique_ptr<TDataPacket> FullPacket() {
  auto p = std::make_unique<TDataPacket>();
  p->AddInteger(-7);
  p->AddInteger(0x7FFFFFFF);
  p->AddBoolean(true);
  p->AddBoolean(false);
  p->AddByte(0);
  p->AddByte(255);
  p->AddDate(EncodeDateTime({2010, 3, 5, 14, 30, 0, 0}));
  p->AddDate(EncodeDateTime({1850, 1, 2, 3, 4, 5, 6}));
  p->AddString(QByteArray("a\0b", 3));
  p->AddString(QByteArray());
  p->AddUTFString(QString::fromUtf8("שלום é"));
  p->AddUTFString(QString(QChar(0)));
  p->AddUTFString(QString::fromUtf8("\xF0\x9F\x98\x80"));  // U+1F600, a surrogate pair
  p->AddDouble(0.5);
  p->AddDouble(-1e300);
  TDataPacket* sub = p->AddNewPacket();
  sub->AddString("inner");
  sub->AddNewPacket()->AddInteger(42);
  p->AddNewPacket();
  return p;
}

void ExpectEqualPackets(const TDataPacket& a, const TDataPacket& b) {
  EXPECT_EQ(a.SaveToHexString(), b.SaveToHexString());
  EXPECT_EQ(a.ToText(), b.ToText());
}

void ExpectParentsSet(const TDataPacket& p) {
  for (int i = 0; i < p.PacketCount(); ++i) {
    EXPECT_EQ(p.GetPacket(i)->Parent(), &p);
    ExpectParentsSet(*p.GetPacket(i));
  }
}

// ---- the hex form of known packets

struct GoldenCase {
  const char* name;
  std::function<void(TDataPacket&)> fill;
  const char* hex;
};

void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.name; }

class PacketGolden : public testing::TestWithParam<GoldenCase> {};

TEST_P(PacketGolden, WritesAndReadsTheKnownForm) {
  const GoldenCase& c = GetParam();
  TDataPacket p;
  c.fill(p);
  EXPECT_EQ(p.SaveToHexString(), QByteArray(c.hex));
  auto loaded = FromHex(c.hex);
  EXPECT_EQ(loaded->SaveToHexString(), QByteArray(c.hex));
  EXPECT_EQ(loaded->ToText(), p.ToText());
}

INSTANTIATE_TEST_SUITE_P(
    Forms, PacketGolden,
    testing::Values(
        GoldenCase{"Empty", [](TDataPacket&) {}, "AA9911EE00"},
        GoldenCase{"IntegerAndUtf",
                   [](TDataPacket& p) {
                     p.AddInteger(1);
                     p.AddUTFString(QString(QChar(0xE9)));
                   },
                   "AA9911EE1101000000010000000100000001000000C3A9"},
        GoldenCase{"BooleanBeforeString",
                   [](TDataPacket& p) {
                     p.AddString("ab");
                     p.AddBoolean(true);
                   },
                   "AA9911EE0A010000000101000000020000006162"},
        GoldenCase{"EmptySubPacket", [](TDataPacket& p) { p.AddNewPacket(); },
                   "AA9911EE8001000000AA9911EE00"},
        GoldenCase{"Date", [](TDataPacket& p) { p.AddDate(EncodeDateTime({2010, 3, 5, 14, 30, 0, 0})); },
                   "AA9911EE2001000000DA07030005000E001E0000000000"},
        GoldenCase{"OnlyDoubles", [](TDataPacket& p) { p.AddDouble(1.0); },
                   "AA9911EE4001000000000000000000F03F"},
        GoldenCase{"SurrogatesAsThreeByteGroups",
                   [](TDataPacket& p) { p.AddUTFString(QString::fromUtf8("\xF0\x9F\x98\x80")); },
                   "AA9911EE100100000002000000EDA0BDEDB880"},
        GoldenCase{"EmptyStringAndZeroUnit",
                   [](TDataPacket& p) {
                     p.AddString(QByteArray());
                     p.AddUTFString(QString(QChar(0)));
                   },
                   "AA9911EE180100000000000000010000000100000000"}),
    [](const testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.name); });

TEST(PacketForm, ListMadeEmptyWritesNoSection) {
  TDataPacket p;
  p.AddInteger(5);
  p.DeleteInteger(0);
  EXPECT_EQ(p.SaveToHexString(), QByteArray("AA9911EE00"));
}

TEST(PacketForm, FlagSetWithZeroCountLoadsAsEmptyList) {
  auto p = FromHex("AA9911EE0100000000");
  EXPECT_TRUE(p->IsEmpty());
}

TEST(PacketForm, OddHexLengthIgnoresTheLastCharacter) {
  auto p = FromHex("AA9911EE00F");
  EXPECT_TRUE(p->IsEmpty());
}

TEST(PacketForm, LowerCaseHexIsAccepted) {
  auto p = FromHex("aa9911ee0101000000ff000000");
  EXPECT_EQ(p->GetInteger(0), 255);
}

TEST(PacketForm, ThreeByteLeadsAndContinuationBitsFollowTheLeadByte) {
  // 0x80 acts as a 2-byte lead, 0xA0 as a 3-byte lead; continuation bytes are not checked.
  auto p = FromHex("AA9911EE1001000000020000008041A04142");
  ASSERT_EQ(p->GetUTFString(0).size(), 2);
  EXPECT_EQ(p->GetUTFString(0)[0].unicode(), 0x01);
  EXPECT_EQ(p->GetUTFString(0)[1].unicode(), 0x0042);
}

TEST(PacketForm, DateRoundsToTheMillisecondBeforeSplitting) {
  // A moment a fraction of a millisecond before midnight is written as the next day, on both
  // sides of day 0 (30 Dec 1899): before it the day is the whole part and the time its
  // fraction's size, so the next day is one whole part up there too.
  const struct {
    TDateTime value;
    DateTimeFields fields;
  } cases[] = {
      {EncodeDate(2010, 3, 5) + 1.0 - 1e-10, {2010, 3, 6, 0, 0, 0, 0}},
      {EncodeDate(1899, 12, 29) - 1.0 + 1e-10, {1899, 12, 30, 0, 0, 0, 0}},
      {EncodeDate(1800, 1, 1) - 1.0 + 1e-10, {1800, 1, 2, 0, 0, 0, 0}},
      {-0.5, {1899, 12, 30, 12, 0, 0, 0}},
      {-1.0 + 1e-10, {1899, 12, 31, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    TDataPacket p;
    p.AddDate(c.value);
    auto loaded = FromHex(p.SaveToHexString().constData());
    EXPECT_EQ(DecodeDateTime(loaded->GetDate(0)), c.fields);
  }
}

// ---- memory

// A packet costs memory only for the lists it holds. Each shape is a file of nothing but
// sub-packets of one kind, the worst cases for the container's own overhead: no such file may
// take more than ten times its size once loaded.
struct MemoryShape {
  const char* name;
  const char* subPacketHex;  // the binary form of each sub-packet
  int count;
};

void PrintTo(const MemoryShape& c, std::ostream* os) { *os << c.name; }

class PacketMemory : public testing::TestWithParam<MemoryShape> {};

TEST_P(PacketMemory, SubPacketsCostAtMostTenTimesTheirBytes) {
  const MemoryShape& shape = GetParam();
  const QByteArray sub = test::FromHex(shape.subPacketHex);
  QByteArray bytes = test::FromHex("AA9911EE80");
  const qint32 count = shape.count;
  bytes.append(reinterpret_cast<const char*>(&count), 4);
  bytes.reserve(bytes.size() + sub.size() * count);
  for (int i = 0; i < count; ++i) bytes.append(sub);

  const size_t before = test::HeapBytesInUse();
  TDataPacket loaded;
  loaded.LoadFromBytes(bytes);
  const size_t used = test::HeapBytesInUse() - before;
  EXPECT_LE(used, 10 * static_cast<size_t>(bytes.size()))
      << used / double(bytes.size()) << " times " << bytes.size() << " bytes";
  std::cout << "[ memory   ] " << shape.name << ": " << bytes.size() << " bytes take " << used
            << " (" << used / double(bytes.size()) << " times)\n";

  // Loaded whole, and written back as read (an empty flagged list is written as no list).
  ASSERT_EQ(loaded.PacketCount(), count);
  const TDataPacket& last = *loaded.GetPacket(count - 1);
  EXPECT_EQ(last.Parent(), &loaded);
  TDataPacket expected;
  expected.LoadFromBytes(sub);
  EXPECT_EQ(last.SaveToHexString(), expected.SaveToHexString());
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, PacketMemory,
    testing::Values(MemoryShape{"Empty", "AA9911EE00", 400000},
                    MemoryShape{"EmptyBooleanListFlagged", "AA9911EE02 00000000", 400000},
                    MemoryShape{"OneBoolean", "AA9911EE02 01000000 01", 400000},
                    MemoryShape{"OneInteger", "AA9911EE01 01000000 2A000000", 400000},
                    MemoryShape{"OneEmptyString", "AA9911EE08 01000000 00000000", 400000},
                    MemoryShape{"OneDouble", "AA9911EE40 01000000 000000000000F03F", 400000}),
    [](const testing::TestParamInfo<MemoryShape>& info) { return std::string(info.param.name); });

// A list that comes and goes leaves a packet that is empty and writes as one.
TEST(PacketMemory, ListsEmptiedByDeletesLeaveAnEmptyPacket) {
  TDataPacket p;
  p.AddInteger(1);
  p.AddString("s");
  p.AddNewPacket()->AddBoolean(true);
  p.DeleteInteger(0);
  p.DeleteString(0);
  p.DeletePacket(0);
  EXPECT_TRUE(p.IsEmpty());
  EXPECT_EQ(p.SaveToHexString(), QByteArray("AA9911EE00"));
  p.AddBoolean(false);
  EXPECT_EQ(p.BooleanCount(), 1);
  EXPECT_EQ(p.SaveToHexString(), QByteArray("AA9911EE020100000000"));
}

// ---- failures

struct BadInput {
  const char* name;
  const char* hex;
  const char* message;
};

void PrintTo(const BadInput& c, std::ostream* os) { *os << c.name; }

class PacketBadInput : public testing::TestWithParam<BadInput> {};

TEST_P(PacketBadInput, FailsCleanlyAndKeepsThePreviousContents) {
  TDataPacket p;
  p.AddInteger(99);
  p.AddNewPacket()->AddString("kept");
  const QByteArray before = p.SaveToHexString();
  try {
    p.LoadFromHexString(QByteArray(GetParam().hex));
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), QString(GetParam().message));
  }
  EXPECT_EQ(p.SaveToHexString(), before);
  ExpectParentsSet(p);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, PacketBadInput,
    testing::Values(
        BadInput{"NotHex", "00000000", "Invalid packet header"},
        BadInput{"Empty", "", "Packet data ends early"},
        BadInput{"NestedBadMagic", "AA9911EE8001000000AA9911EF00", "Invalid packet header"},
        BadInput{"FourByteLead", "AA9911EE100100000001000000F0808080",
                 "Support for up to three byte UTF encoding"},
        BadInput{"B0Lead", "AA9911EE100100000001000000B08080",
                 "Support for up to three byte UTF encoding"},
        BadInput{"CountBeyondData", "AA9911EE01FFFFFF7F01000000", "Packet data ends early"},
        BadInput{"NegativeCount", "AA9911EE01FFFFFFFF", "Invalid packet data: negative count"},
        BadInput{"NegativeStringLength", "AA9911EE0801000000FFFFFFFF",
                 "Invalid packet data: negative count"},
        BadInput{"StringCutShort", "AA9911EE08010000000A000000616263", "Packet data ends early"},
        BadInput{"UtfCutShort", "AA9911EE10010000000300000041E0", "Packet data ends early"},
        BadInput{"MissingFlags", "AA9911EE", "Packet data ends early"},
        BadInput{"InvalidDate", "AA9911EE2001000000DA070D0005000E001E0000000000",
                 "Invalid argument to date encode"},
        BadInput{"InvalidTime", "AA9911EE2001000000DA07030005001800000000000000",
                 "Invalid argument to time encode"},
        BadInput{"SubPacketsBeyondData", "AA9911EE8003000000AA9911EE00", "Packet data ends early"}),
    [](const testing::TestParamInfo<BadInput>& info) { return std::string(info.param.name); });

TEST(PacketForm, NestingDeeperThanTheCapFails) {
  QByteArray hex;
  for (int i = 0; i <= TDataPacket::kMaxDepth; ++i) hex += "AA9911EE8001000000";
  hex += "AA9911EE00";
  TDataPacket p;
  EXPECT_THROW(p.LoadFromHexString(hex), Exception);
  // One level less loads.
  hex.remove(0, 18);
  p.LoadFromHexString(hex);
  EXPECT_EQ(p.PacketCount(), 1);
}

// ---- round trips through streams and files

TEST(PacketStreams, RoundTripThroughEveryForm) {
  auto p = FullPacket();
  TDataPacket viaHex;
  viaHex.LoadFromHexString(p->SaveToHexString());
  ExpectEqualPackets(*p, viaHex);
  ExpectParentsSet(viaHex);

  QTemporaryDir dir;
  const QString file = dir.filePath("p.dat");
  p->SaveToFile(file);
  for (bool buffered : {false, true}) {
    TDataPacket viaFile;
    viaFile.LoadFromFile(file, buffered);
    ExpectEqualPackets(*p, viaFile);
    ExpectParentsSet(viaFile);
  }
  EXPECT_EQ(viaHex.GetUTFString(2).size(), 2);
  EXPECT_EQ(viaHex.GetString(0), QByteArray("a\0b", 3));
}

TEST(PacketStreams, LoadLeavesTheStreamJustAfterThePacket) {
  auto p = FullPacket();
  QTemporaryDir dir;
  const QString file = dir.filePath("two.dat");
  {
    TFileStream out(file, FileMode::Create);
    p->SaveToStream(out);
    out.WriteBuffer("XY", 2);
    TDataPacket().SaveToStream(out);
  }
  // Through a read-ahead buffer, a file and memory, the second read starts at the marker.
  auto check = [&](TStream& in) {
    TDataPacket a, b;
    a.LoadFromStream(in);
    char marker[2];
    in.ReadBuffer(marker, 2);
    EXPECT_EQ(QByteArray(marker, 2), QByteArray("XY"));
    b.LoadFromStream(in);
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ(in.Position(), in.Size());
  };
  TBufferedStream buffered(std::make_unique<TFileStream>(file, FileMode::OpenRead));
  check(buffered);
  TFileStream plain(file, FileMode::OpenRead);
  check(plain);
  TMemoryStream memory;
  memory.LoadFromFile(file);
  check(memory);
}

TEST(PacketStreams, AFailedSaveKeepsTheOldFile) {
  QTemporaryDir dir;
  const QString file = dir.filePath("db.dat");
  auto good = FullPacket();
  good->SaveToFile(file);
  TDataPacket bad;
  bad.AddInteger(1);
  bad.AddDate(1e10);  // beyond the year 9999
  EXPECT_THROW(bad.SaveToFile(file), Exception);
  TMemoryStream stream;
  EXPECT_THROW(bad.SaveToStream(stream), Exception);
  EXPECT_EQ(stream.Size(), 0);
  TDataPacket back;
  back.LoadFromFile(file, true);
  ExpectEqualPackets(*good, back);
}

TEST(PacketStreams, MissingFileFails) {
  TDataPacket p;
  EXPECT_THROW(p.LoadFromFile("/nonexistent/none.dat", true), Exception);
}

// ---- the container

TEST(PacketContainer, NewPacketIsEmptyAndDumpsEmptySections) {
  TDataPacket p;
  EXPECT_TRUE(p.IsEmpty());
  EXPECT_EQ(p.ToText(), QString("Integers:\r\n\r\nDates:\r\n\r\nDoubles:\r\n\r\nBytes:\r\n\r\n"
                                "Booleans:\r\n\r\nStrings:\r\n\r\nUTFStrings:\r\n\r\nPackets:\r\n"));
}

TEST(PacketContainer, ToTextNestsSubPacketDumps) {
  TDataPacket p;
  p.AddDouble(0.5);
  p.AddDouble(1e20);
  p.AddBoolean(true);
  p.AddString("\xF9\xEC\xE5\xED");  // Hebrew in code page 1255
  p.AddNewPacket()->AddInteger(3);
  const QString text = p.ToText();
  EXPECT_TRUE(text.contains("Doubles:\r\n0.5\r\n1E20\r\n\r\n"));
  EXPECT_TRUE(text.contains("Booleans:\r\nTrue\r\n"));
  EXPECT_TRUE(text.contains(QString::fromUtf8("Strings:\r\nשלום\r\n")));
  EXPECT_TRUE(text.endsWith("Packets:\r\n---\r\nIntegers:\r\n3\r\n\r\nDates:\r\n\r\nDoubles:\r\n"
                            "\r\nBytes:\r\n\r\nBooleans:\r\n\r\nStrings:\r\n\r\nUTFStrings:\r\n\r\n"
                            "Packets:\r\n\r\n"));
}

TEST(PacketContainer, AddInsertDelete) {
  TDataPacket p;
  EXPECT_EQ(p.AddInteger(10), 0);
  EXPECT_EQ(p.AddInteger(20), 1);
  p.AddInteger(30);
  p.AddInteger(40);
  p.DeleteIntegers(1, 2);
  ASSERT_EQ(p.IntegerCount(), 2);
  EXPECT_EQ(p.GetInteger(0), 10);
  EXPECT_EQ(p.GetInteger(1), 40);

  p.AddString("a");
  p.AddString("b");
  p.InsertString(0, "s");
  p.InsertString(p.StringCount(), "end");
  EXPECT_EQ(p.GetString(0), QByteArray("s"));
  EXPECT_EQ(p.GetString(3), QByteArray("end"));
  EXPECT_EQ(p.IndexOfString("abc"), -1);
  p.AddString("ABC");
  EXPECT_EQ(p.IndexOfString("abc"), -1);
  EXPECT_EQ(p.IndexOfString("ABC"), 4);
  p.AddDouble(0.5);
  EXPECT_EQ(p.IndexOfDouble(0.5), 0);
  p.AddUTFString("Word");
  EXPECT_EQ(p.IndexOfUTFString("Word"), 0);
  EXPECT_EQ(p.IndexOfUTFString("word"), -1);
}

TEST(PacketContainer, BadIndexesFailInsteadOfTouchingMemory) {
  TDataPacket p;
  p.AddInteger(1);
  EXPECT_THROW(p.GetInteger(1), Exception);
  EXPECT_THROW(p.GetPacket(0), Exception);
  EXPECT_THROW(p.InsertString(1, "x"), Exception);
  EXPECT_THROW(p.DeleteIntegers(0, 2), Exception);
  EXPECT_THROW(p.GetBytes(0, 1), Exception);
  EXPECT_EQ(p.FindPacketByString("x", 3), nullptr);
}

TEST(PacketContainer, PacketsAreOwnedAndFoundByIdentity) {
  TDataPacket p;
  TDataPacket* a = p.AddNewPacket();
  TDataPacket* b = p.AddNewPacket();
  EXPECT_EQ(a->Parent(), &p);
  EXPECT_EQ(p.GetPacket(1), b);
  TDataPacket lookalike;
  EXPECT_EQ(p.IndexOfPacket(&lookalike), -1);
  EXPECT_EQ(p.IndexOfPacket(b), 1);
  p.DeletePackets(0, 1);
  EXPECT_EQ(p.PacketCount(), 1);
  EXPECT_EQ(p.GetPacket(0), b);

  auto owned = std::make_unique<TDataPacket>();
  TDataPacket* raw = owned.get();
  p.InsertPacket(0, owned.release());
  EXPECT_EQ(raw->Parent(), &p);
  EXPECT_EQ(p.IndexOfPacket(raw), 0);
}

TEST(PacketContainer, BooleansCompareByStoredByte) {
  auto p = FromHex("AA9911EE02010000000502000000");  // stored byte 5
  ASSERT_EQ(p->BooleanCount(), 1);
  EXPECT_TRUE(p->GetBoolean(0));
  EXPECT_EQ(p->IndexOfBoolean(true), -1);
  EXPECT_EQ(p->RawBoolean(0), 5);
  // The stored byte survives a save.
  EXPECT_EQ(p->SaveToHexString(), QByteArray("AA9911EE020100000005"));
}

TEST(PacketContainer, ByteBlocks) {
  TDataPacket p;
  const TByteArray b = {1, 2, 3, 4, 5, 6};
  EXPECT_EQ(p.AddBytes(b, 2, 3), 2);
  EXPECT_EQ(p.GetBytes(1, 2), (TByteArray{4, 5}));

  TMemoryStream stream(QByteArray("\x07\x08", 2));
  EXPECT_EQ(p.AddBytesFromStream(stream, 2), 4);
  TMemoryStream shortStream(QByteArray("\x09", 1));
  EXPECT_THROW(p.AddBytesFromStream(shortStream, 2), Exception);
  EXPECT_EQ(p.ByteCount(), 5);
}

TEST(PacketContainer, FindPacketByString) {
  TDataPacket p;
  for (const char* s : {"A", "a", "a"}) p.AddNewPacket()->AddString(s);
  p.AddNewPacket();  // no string at all
  EXPECT_EQ(p.FindPacketByString("a", 0), p.GetPacket(1));
  EXPECT_EQ(p.FindPacketByString("b", 0), nullptr);
}

TEST(PacketContainer, CreateSized) {
  auto p = TDataPacket::CreateSized(1, 0, 0, 0, 0, 0, 0, 2);
  EXPECT_EQ(p->IntegerCount(), 1);
  EXPECT_EQ(p->GetInteger(0), 0);
  ASSERT_EQ(p->PacketCount(), 2);
  EXPECT_EQ(p->GetPacket(0)->Parent(), p.get());
  EXPECT_TRUE(p->GetPacket(1)->IsEmpty());
}

TEST(PacketContainer, AssignMakesIndependentDeepCopies) {
  auto source = FullPacket();
  TDataPacket copy;
  copy.AddInteger(1);
  copy.Assign(*source);
  ExpectEqualPackets(*source, copy);
  ExpectParentsSet(copy);
  copy.GetPacket(0)->GetPacket(0)->SetInteger(0, 7);
  EXPECT_EQ(source->GetPacket(0)->GetPacket(0)->GetInteger(0), 42);
}

TEST(PacketContainer, AssignFromItselfOrItsOwnSubPacketKeepsTheSource) {
  auto p = FullPacket();
  const QByteArray before = p->SaveToHexString();
  p->Assign(*p);
  EXPECT_EQ(p->SaveToHexString(), before);

  const QByteArray subForm = p->GetPacket(0)->SaveToHexString();
  p->Assign(*p->GetPacket(0));
  EXPECT_EQ(p->SaveToHexString(), subForm);
  ExpectParentsSet(*p);
}

TEST(PacketContainer, CloneIsADeepCopyParentedToItsSource) {
  auto p = FullPacket();
  auto clone = p->Clone();
  EXPECT_EQ(clone->Parent(), p.get());
  EXPECT_EQ(p->IndexOfPacket(clone.get()), -1);
  ExpectEqualPackets(*p, *clone);
}

TEST(PacketContainer, ClearDestroysSubPackets) {
  auto p = FullPacket();
  p->Clear();
  EXPECT_TRUE(p->IsEmpty());
}

// ---- hex routines

TEST(HexRoutines, DigitsAndStreams) {
  EXPECT_EQ(NibbleToHex(10), 'A');
  EXPECT_EQ(ByteToHex(0x0F), QByteArray("0F"));
  EXPECT_EQ(HexToNibble('F'), 15);
  EXPECT_EQ(HexPairToByte('E', 'E'), 0xEE);
  TMemoryStream m;
  HexToStream("00FF10", m);
  EXPECT_EQ(m.Size(), 3);
  EXPECT_EQ(StreamToHex(m), QByteArray("00FF10"));
  QByteArray all;
  for (int i = 0; i < 256; ++i) all.append(static_cast<char>(i));
  const QByteArray hex = BytesToHex(all.constData(), all.size());
  EXPECT_EQ(hex.left(6), QByteArray("000102"));
  EXPECT_EQ(HexToBytes(hex.constData(), hex.size()), all);
}

}  // namespace
}  // namespace zabko
