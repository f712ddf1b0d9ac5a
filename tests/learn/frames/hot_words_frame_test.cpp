#include "learn/frames/hot_words_frame.h"

#include "core/data_packet.h"
#include "core/word.h"
#include "platform/registry_ini_file.h"
#include "ui/component.h"
#include "ui/n_button.h"
#include "ui/tnt_label.h"

#include "tests/learn/frame_fixture.h"

#include <climits>

namespace zabko::test {
namespace {

TEST(GroupDigitsTest, GroupsOfThreeWithTheSignInFront) {
  const std::pair<qint64, const char*> cases[] = {
      {0, "0"},          {999, "999"},           {1000, "1,000"},       {1502, "1,502"},
      {1234567, "1,234,567"}, {-502, "-502"},    {-123456, "-123,456"}, {-1502, "-1,502"},
      {4294967294LL, "4,294,967,294"}, {LLONG_MIN, "-9,223,372,036,854,775,808"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(GroupDigits(value), text) << value;
}

class HotWordsFrameTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    panel.resize(186, 149);
    frame = new THotWordsFrm(&panel, &manager, &host);
    frame->SetSizeChanged([this](QWidget*) { ++sizeChanges; });
  }
  qint32 IdOf(int pack, int index) { return central_->LanguagePacks()[size_t(pack)]->WordList().GetWord(index)->Id; }
  QString Headword(int pack, int index) {
    return central_->LanguagePacks()[size_t(pack)]->WordList().GetWord(index)->Headword;
  }
  QString Caption(const char* name) { return FindComponent<TTntLabel>(frame, name)->Caption(); }
  QString Text(const char* key) { return central_->Strings().GetString(key); }
  QString Total(const QString& grouped) {
    return Text("HotWordsFrm.TotalLbl.CaptionPre") + grouped + Text("HotWordsFrm.TotalLbl.CaptionSuf");
  }

  QWidget panel;
  THotWordsFrm* frame = nullptr;
  int sizeChanges = 0;
};

// The words answered wrong on the stand-in server arrive with the log-on; ids the client's word
// list does not know are skipped.
TEST_F(HotWordsFrameTest, ShowsTheServersHotWordsAfterLogOn) {
  LoadPacks();
  const qint32 second = IdOf(0, 1), first = IdOf(0, 0);
  server_->WithState([&](dev::TDevProtocol& p) {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (int i = 0; i < 3; ++i) p.Store().LogAnswer(kHebrew, second, false, now);
    p.Store().LogAnswer(kHebrew, 99999, false, now);
    p.Store().LogAnswer(kHebrew, 99999, false, now);
    p.Store().LogAnswer(kHebrew, first, false, now);
    p.Store().AddToCounter("questions", 1500);
    p.Store().AddToCounter("answers", 2);
  });
  StartAndLogOn();
  ASSERT_GE(window_->hotWordCalls, 1);
  frame->Init();
  frame->SetPacket(window_->hotWords);
  EXPECT_EQ(Caption("TotalLbl"), Total("1,502"));
  EXPECT_EQ(Caption("WordsLbl"), Headword(0, 1) + ", " + Headword(0, 0));
  ASSERT_EQ(frame->Words().size(), 2);
  EXPECT_EQ(frame->Words()[0].Word->Id, second);

  frame->WordsLblClick();
  EXPECT_EQ(host.calls, QStringList{"ShowStringList " + Text("HotWordsFrm.ListCaption")});
  EXPECT_EQ(host.shown.size(), 2);

  // English has no hot words: an empty line and list.
  central_->CurrentLanguageId = 1;
  frame->PackChanged();
  EXPECT_EQ(Caption("WordsLbl"), "");
  EXPECT_TRUE(frame->Words().isEmpty());
  EXPECT_EQ(FindComponent<TTntLabel>(frame, "WordsLbl")->layoutDirection(), Qt::LeftToRight);
}

TEST_F(HotWordsFrameTest, ALongLineIsCut) {
  LoadPacks();
  central_->CurrentLanguageId = 1;  // English: "book" is word 1
  TDataPacket packet;
  packet.AddNewPacket()->AddInteger(7);
  packet.GetPacket(0)->AddInteger(8);
  packet.AddNewPacket();
  TDataPacket* english = packet.AddNewPacket();
  for (int i = 0; i < 34; ++i) english->AddInteger(IdOf(1, 1));
  frame->SetPacket(packet);
  const QString shown = Caption("WordsLbl");
  EXPECT_EQ(shown.size(), THotWordsFrm::kMaxLineLength + 3);
  EXPECT_TRUE(shown.startsWith("book, book, "));
  EXPECT_TRUE(shown.endsWith("..."));
  EXPECT_EQ(Caption("TotalLbl"), Total("15"));
  // The frame keeps its own copy.
  packet.Clear();
  frame->Refresh();
  EXPECT_EQ(Caption("WordsLbl"), shown);
}

TEST_F(HotWordsFrameTest, ShortPacketsShowNothingAndRaiseNothing) {
  LoadPacks();
  TDataPacket empty;
  TDataPacket oneCount;
  oneCount.AddNewPacket()->AddInteger(5);
  TDataPacket noPackItem;
  noPackItem.AddNewPacket()->AddInteger(5);
  noPackItem.GetPacket(0)->AddInteger(6);
  for (const TDataPacket* packet : {&empty, &oneCount, &noPackItem}) {
    frame->SetPacket(*packet);
    EXPECT_EQ(Caption("WordsLbl"), "");
    EXPECT_TRUE(frame->Words().isEmpty());
  }
  EXPECT_EQ(Caption("TotalLbl"), Total("11"));
  frame->SetPacket(oneCount);
  EXPECT_EQ(Caption("TotalLbl"), "");
}

TEST_F(HotWordsFrameTest, CollapseDoesNothingWhileHidden) {
  LoadPacks();
  frame->Init();
  frame->LoadCaptions();
  EXPECT_EQ(FindComponent<TNButton>(frame, "MiniBtn")->toolTip(), Text("SearchFrm.MiniBtn.Hint"));
  frame->MiniBtnClick();
  EXPECT_EQ(panel.height(), 24);
  EXPECT_FALSE(central_->Settings().ReadBool("Main", "ShowHotWords", true));
  central_->Settings().DeleteKey("Main", "ShowHotWords");
  panel.resize(186, 0);
  frame->MiniBtnClick();
  EXPECT_EQ(panel.height(), 0);
  EXPECT_FALSE(central_->Settings().ValueExists("Main", "ShowHotWords"));
  EXPECT_EQ(sizeChanges, 1);
}

TEST_F(HotWordsFrameTest, StartsCollapsedWhenStored) {
  LoadPacks();
  central_->Settings().WriteBool("Main", "ShowHotWords", false);
  frame->Init();
  EXPECT_EQ(panel.height(), 24);
  EXPECT_EQ(FindComponent<TNButton>(frame, "MiniBtn")->X(), 0);
}

}  // namespace
}  // namespace zabko::test
