#include "core/cube_management.h"

#include "core/data_packet.h"
#include "platform/exception.h"
#include "platform/registry_ini_file.h"

#include "tests/common/test_util.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zabko {
namespace {

class CubeTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8());
    ini_ = std::make_unique<TRegistryIniFile>("Software\\Kestrani\\Zabkolex");
  }
  void TearDown() override {
    ini_.reset();
    qputenv("XDG_CONFIG_HOME", saved_);
  }

  // The URLs one walk visits, up to the first empty one.
  static std::vector<QByteArray> Walk(TCubeManagement& cube) {
    std::vector<QByteArray> urls;
    quint8 kind;
    QByteArray start, next;
    cube.FirstServer(kind, start, next);
    for (int guard = 0; !next.isEmpty() && guard < 20; ++guard) {
      urls.push_back(next);
      cube.NextServer(kind, start, next);
    }
    return urls;
  }

  QTemporaryDir dir_;
  QByteArray saved_;
  std::unique_ptr<TRegistryIniFile> ini_;
};

TEST_F(CubeTest, NoUserWalksOnlyTheDefaultServer) {
  auto cube = CreateCubeManagement(*ini_);
  EXPECT_EQ(cube->CandidateCount(), 1);
  EXPECT_EQ(Walk(*cube), std::vector<QByteArray>{kDefaultServerURL});
  ini_->WriteString("Main", "ConnectionURL", "http://other/app/");
  EXPECT_EQ(Walk(*cube), std::vector<QByteArray>{"http://other/app/"});
}

struct WalkCase {
  const char* name;
  std::vector<QByteArray> members;
  QByteArray group;
  int storedIndex;
  std::vector<QByteArray> order;
};

void PrintTo(const WalkCase& c, std::ostream* os) { *os << c.name; }

class CubeWalk : public CubeTest, public testing::WithParamInterface<WalkCase> {};

TEST_P(CubeWalk, EveryServerIsTriedOnceInOrder) {
  const WalkCase& c = GetParam();
  TCubeManagement cube(*ini_);
  for (size_t i = 0; i < c.members.size(); ++i) cube.CubeMembers.push_back({c.members[i], int(i)});
  cube.CubeServer = c.group;
  cube.CubeMemberIndex = c.storedIndex;
  const auto order = Walk(cube);
  EXPECT_EQ(order, c.order);
  if (!c.group.isEmpty()) {
    EXPECT_EQ(static_cast<int>(order.size()), cube.CandidateCount());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Orders, CubeWalk,
    testing::Values(
        WalkCase{"ThreeMembers", {"m0", "m1", "m2"}, "g", 0, {"m0", "m1", "m2", "g", kDefaultServerURL}},
        // A stored index from an earlier walk does not make the walk skip members.
        WalkCase{"StoredIndexTwo", {"m0", "m1", "m2"}, "g", 2, {"m0", "m1", "m2", "g", kDefaultServerURL}},
        WalkCase{"StoredIndexNegative", {"m0", "m1"}, "g", -1, {"m0", "m1", "g", kDefaultServerURL}},
        // With an empty group server the walk stops after the members.
        WalkCase{"OneMemberNoGroup", {"m0"}, "", 0, {"m0"}},
        // Members sharing a URL are still each tried.
        WalkCase{"SharedURLs", {"a", "a", "b"}, "g", 0, {"a", "a", "b", "g", kDefaultServerURL}},
        WalkCase{"GroupOnly", {}, "g", 0, {"g", kDefaultServerURL}}),
    [](const testing::TestParamInfo<WalkCase>& info) { return std::string(info.param.name); });

std::unique_ptr<TDataPacket> GroupReply(const QByteArray& key, int members) {
  auto reply = std::make_unique<TDataPacket>();
  reply->AddString(key);
  TDataPacket* group = reply->AddNewPacket();
  group->AddString("cube-7");
  group->AddString("http://g/app/AccessIn.ashx?page=APP");
  for (int i = 0; i < members; ++i) {
    TDataPacket* m = group->AddNewPacket();
    m->AddString("http://m" + QByteArray::number(i) + "/app/accessin.ASHX?Page=APP");
    m->AddInteger(10 + i);
  }
  return reply;
}

TEST_F(CubeTest, GroupFromTheServerIsStrippedSavedAndLoadedAgain) {
  TCubeManagement cube(*ini_);
  cube.Username = "dana";
  cube.LoadFromPacket(*GroupReply("key_1", 3));
  EXPECT_EQ(cube.State, 1);
  EXPECT_EQ(cube.CubeServer, QByteArray("http://g/app/"));
  ASSERT_EQ(cube.CubeMembers.size(), 3u);
  EXPECT_EQ(cube.CubeMembers[2].url, QByteArray("http://m2/app/"));
  EXPECT_EQ(cube.FirstMemberURL(), QByteArray("http://m0/app/"));

  // A shorter list later leaves no stale members behind.
  cube.LoadFromPacket(*GroupReply("key_1", 1));
  auto again = CreateCubeManagement(*ini_);
  EXPECT_EQ(again->UserKey, QByteArray("key_1"));
  EXPECT_EQ(again->Username, QByteArray("dana"));
  EXPECT_EQ(again->CubeId, QByteArray("cube-7"));
  ASSERT_EQ(again->CubeMembers.size(), 1u);
  EXPECT_EQ(again->CubeMembers[0].index, 10);

  again->ClearUser();
  EXPECT_TRUE(again->UserKey.isEmpty());
  EXPECT_TRUE(CreateCubeManagement(*ini_)->UserKey.isEmpty());
}

// The record of a user is saved in one rewrite of the settings file; a save that fails on the
// way (a full disk) leaves the previous record whole, members included.
TEST_F(CubeTest, AUserRecordIsSavedWholeOrNotAtAll) {
  TCubeManagement cube(*ini_);
  cube.Username = "dana";
  {
    test::RewriteCounter rewrites(ini_->FileName());
    cube.LoadFromPacket(*GroupReply("key_1", 3));
    EXPECT_EQ(rewrites.Count(), 1);
  }
  const qint64 size = QFileInfo(ini_->FileName()).size();
  auto longer = GroupReply("key_1", 3);
  for (int i = 0; i < 3; ++i)
    longer->GetPacket(0)->GetPacket(i)->SetString(0, "http://member-" + QByteArray(40, 'a' + i) + "/app/");
  {
    test::FileSizeCap cap(size + 60);
    EXPECT_THROW(cube.LoadFromPacket(*longer), Exception);
  }
  auto again = CreateCubeManagement(*ini_);
  EXPECT_EQ(again->UserKey, QByteArray("key_1"));
  EXPECT_EQ(again->State, 1);
  ASSERT_EQ(again->CubeMembers.size(), 3u);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(again->CubeMembers[i].url, "http://m" + QByteArray::number(i) + "/app/");
  EXPECT_EQ(again->CubeMembers[2].index, 12);
}

TEST_F(CubeTest, UnsafeOrIncompleteRepliesAreRefused) {
  TCubeManagement cube(*ini_);
  // A bad reply after a good one leaves the record of the first user as it was.
  cube.Username = "first";
  cube.LoadFromPacket(*GroupReply("first_key", 2));
  auto noStrings = GroupReply("second_key", 1);
  noStrings->GetPacket(0)->DeleteStrings(0, 2);
  EXPECT_THROW(cube.LoadFromPacket(*noStrings), Exception);
  EXPECT_EQ(cube.UserKey, QByteArray("first_key"));
  EXPECT_FALSE(ini_->SectionExists("Users\\second_key"));
  cube.ClearUser();
  ini_->EraseSection("Users");
  for (const QByteArray& key : {QByteArray("..\\x"), QByteArray("a/b"), QByteArray(""), QByteArray(65, 'a')}) {
    EXPECT_THROW(cube.LoadFromPacket(*GroupReply(key, 1)), Exception) << key.constData();
  }
  TDataPacket empty;
  EXPECT_THROW(cube.LoadFromPacket(empty), Exception);
  auto noIndex = GroupReply("k", 0);
  noIndex->GetPacket(0)->AddNewPacket()->AddString("http://m/");
  EXPECT_THROW(cube.LoadFromPacket(*noIndex), Exception);
  EXPECT_FALSE(ini_->SectionExists("Users"));
}

TEST_F(CubeTest, MembersWithoutAURLAreLeftOut) {
  auto reply = GroupReply("k", 3);
  reply->GetPacket(0)->GetPacket(1)->SetString(0, "");
  TCubeManagement cube(*ini_);
  cube.LoadFromPacket(*reply);
  ASSERT_EQ(cube.CubeMembers.size(), 2u);
  EXPECT_EQ(cube.CubeMembers[1].url, QByteArray("http://m2/app/"));
  EXPECT_EQ(CreateCubeManagement(*ini_)->CubeMembers.size(), 2u);
}

TEST_F(CubeTest, SelectUserByName) {
  ini_->WriteString("Users\\a1", "Username", "dana");
  ini_->WriteString("Users\\b2", "Username", "noa");
  ini_->WriteString("Users\\c3", "Username", "noa");
  ini_->WriteString("Users\\c3", "CubeServer", "http://g/");
  TCubeManagement cube(*ini_);
  EXPECT_TRUE(cube.SelectUserByName("dana"));
  EXPECT_EQ(cube.UserKey, QByteArray("a1"));
  EXPECT_EQ(cube.State, 0);  // no group server
  EXPECT_FALSE(cube.SelectUserByName("Dana"));
  EXPECT_FALSE(cube.SelectUserByName("noa"));
  EXPECT_FALSE(ini_->SectionExists("Users\\b2"));
  EXPECT_FALSE(ini_->SectionExists("Users\\c3"));
  EXPECT_TRUE(ini_->SectionExists("Users\\a1"));
}

TEST(CubeStatic, StripAccessPage) {
  EXPECT_EQ(TCubeManagement::StripAccessPage("http://x/app/AccessIn.ashx?page=APP"), QByteArray("http://x/app/"));
  EXPECT_EQ(TCubeManagement::StripAccessPage("http://x/app/"), QByteArray("http://x/app/"));
}

}  // namespace
}  // namespace zabko
