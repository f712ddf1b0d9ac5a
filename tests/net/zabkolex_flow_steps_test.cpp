// Single steps of the connection flow against the stand-in server: the working-server choice,
// the stale record check, the answer upload with its re-logons, the data-file update and the
// due rule of server messages.
#include "flow_fixture.h"

#include <QFileInfo>

#include <cmath>
#include <optional>

namespace zabko::test {
namespace {

using dev::TFaultKind;

class ServerChoiceTest : public FlowTest {
 protected:
  int MemberCount() const override { return 3; }

  // The record of the user's group, as the group search leaves it.
  void FindGroup() {
    Client().UserName = kUser;
    Client().Password = kPassword;
    ASSERT_TRUE(flow_->CheckUserGroup());
    server_->ClearLog();
  }
  QByteArray MemberPage(int i) const { return Url(dev::TDevServer::MemberName(i)) + "AccessIn.ashx?page=CUBEMEMBER"; }
};

TEST_F(ServerChoiceTest, ChoosesByDataCounts) {
  // A member down answers nothing; any count, negative ones included, is a member up.
  constexpr std::nullopt_t kDown = std::nullopt;
  struct Case {
    const char* name;
    std::vector<std::optional<qint32>> counts;  // per member; kDown: down
    std::optional<std::pair<qint32, int>> meta;  // stored count and member
    qint32 local;
    QString error;               // the exception's message, if one
    bool result;
    int working;                 // member the client ends on
    std::optional<std::pair<qint32, int>> written;  // "SetDataMetaData" sent
  } cases[] = {
      {"stored metadata agrees", {5, 7, 7}, {{7, 1}}, 6, {}, true, 1, {}},
      {"stored metadata is behind", {5, 7, 7}, {{5, 0}}, 6, {}, true, 1, {{7, 1}}},
      {"stored count behind, working member current", {5, 7, 7}, {{5, 2}}, 6, {}, true, 2, {{7, 2}}},
      {"local data ahead of every server",
       {5, 7, 7}, {{8, 1}}, 9, "Local data count (9) is larger than maximal (7) and server (8)", false, -1, {}},
      {"local data ahead while a member is down", {5, 7, kDown}, {{8, 1}}, 9, {}, false, -1, {}},
      {"member down, working member current", {kDown, 7, 6}, {{7, 1}}, 6, {}, true, 1, {}},
      {"member down, working member behind",
       {5, 7, kDown}, {{7, 0}}, 3, "Working servers data count (5) is smaller than server (7), maximal: 7", false, -1, {}},
      {"no metadata, main member current", {7, 7, 2}, {}, -1, {}, true, 0, {}},
      {"no metadata, main member behind", {3, 7, 7}, {}, -1, {}, true, 1, {}},
      {"no metadata, a member down", {3, kDown, 7}, {}, -1, "Too many servers down. Servers up: 2", false, -1, {}},
      // Counts below -1 still make a maximum and a member that holds it.
      {"negative counts, no metadata", {-5, -3, -4}, {}, -1, {}, true, 1, {}},
      {"negative counts, stored metadata behind", {-5, -3, -4}, {{0, 0}}, -1, {}, true, 1, {{-3, 1}}},
      {"negative counts, a member down, local data ahead", {-3, -2, kDown}, {{-5, 1}}, -1, {}, false, -1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StartRun();
    FindGroup();
    for (int i = 0; i < 3; ++i) {
      const QByteArray name = dev::TDevServer::MemberName(i);
      if (c.counts[i]) server_->BringUp(name);
      else server_->TakeDown(name);
    }
    WithStore([&](dev::TDevStore& s) {
      for (int i = 0; i < 3; ++i) s.SetDataCount(dev::TDevServer::MemberName(i), userKey_, c.counts[i].value_or(0));
      if (c.meta) s.SetMetaData(userKey_, {c.meta->first, MemberPage(c.meta->second)});
      else s.ClearMetaData(userKey_);
    });
    central_->DBHandler().Data().Clear();
    if (c.local >= 0) central_->DBHandler().Data().AddInteger(c.local);
    bool result = false;
    EXPECT_EQ(MessageOf([&] { result = flow_->ChooseWorkingServer(); }), c.error.isEmpty() ? "(no exception)" : c.error);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(Cube().HasWorkingServer, c.meta ? 1 : 0);
    if (c.working >= 0) {
      EXPECT_EQ(Client().GetBaseURL(), Url(dev::TDevServer::MemberName(c.working)));
    }
    const auto written = Requests("SetDataMetaData");
    ASSERT_EQ(written.size(), c.written ? 1u : 0u);
    if (c.written) {
      EXPECT_EQ(written[0].server, "cube");
      EXPECT_EQ(written[0].arguments->GetString(0), userKey_);
      EXPECT_EQ(written[0].arguments->GetInteger(0), c.written->first);
      EXPECT_EQ(written[0].arguments->GetString(1), MemberPage(c.written->second));
    }
  }
}

TEST_F(ServerChoiceTest, WorkingServerOutsideTheGroupIsRefused) {
  FindGroup();
  WithStore([&](dev::TDevStore& s) { s.SetMetaData(userKey_, {0, "http://127.0.0.1:1/app/AccessIn.ashx?page=CUBEMEMBER"}); });
  EXPECT_EQ(MessageOf([&] { flow_->ChooseWorkingServer(); }), "Invalid working server from cube server");
  // A group server that answers "Success" without a count holds no metadata.
  Fault("cube", "GetDataMetaData", TFaultKind::MissingFields);
  EXPECT_TRUE(flow_->ChooseWorkingServer());
  EXPECT_EQ(Cube().HasWorkingServer, 0);
}

TEST_F(FlowTest, StaleRecordIsDroppedAndTheGroupFoundAgain) {
  StartAndLogOn();
  flow_->LogOffAtExit();
  // The group server forgot the user: the record goes and the search runs with the new key.
  WithStore([&](dev::TDevStore& s) { s.ClearMetaData(userKey_); });
  StartRun();
  LoadPacks();
  ASSERT_TRUE(Client().UserKey.isEmpty());
  flow_->RunLoginDialog();
  ASSERT_FALSE(flow_->MustClose) << runner_.exceptions.join("; ").toStdString();
  const auto check = Requests("GetDataMetaData");
  ASSERT_GE(check.size(), 2u);
  EXPECT_EQ(check[0].server, "cube");
  EXPECT_TRUE(check[0].arguments->GetBoolean(0)) << "the check, not the choice";
  EXPECT_EQ(check[0].arguments->GetString(0), userKey_) << "the stored record's key";
  EXPECT_EQ(Requests("FindUserCube").size(), 1u);
  for (const auto& count : Requests("GetDataCount")) EXPECT_EQ(count.arguments->GetString(0), userKey_);
  EXPECT_EQ(Cube().UserKey, userKey_);
  EXPECT_EQ(Cube().CubeQueryResult, 0);

  // A group server that does not answer stops the log-on with the connection error.
  flow_->LogOffAtExit();
  server_->TakeDown("cube");
  StartRun();
  flow_->RunLoginDialog();
  EXPECT_TRUE(flow_->MustClose);
  EXPECT_EQ(window_->connectionErrors, 1);
}

TEST_F(FlowTest, GroupSearchResultCodes) {
  // The default server down: no server answered.
  server_->TakeDown("default");
  Client().UserName = kUser;
  Client().Password = kPassword;
  runner_.runs.emplace_back();
  EXPECT_FALSE(flow_->CheckUserGroup(&runner_));
  EXPECT_EQ(Cube().CubeQueryResult, 1);
  EXPECT_EQ(runner_.runs.back().stepped, 1) << "one step for the server that did not find the user";
  server_->BringUp("default");
  Client().Password = "wrong";
  EXPECT_FALSE(flow_->CheckUserGroup());
  EXPECT_EQ(Cube().CubeQueryResult, 3);
  Client().Password = kPassword;
  EXPECT_TRUE(flow_->CheckUserGroup());
  EXPECT_EQ(Cube().CubeQueryResult, 0);
  EXPECT_EQ(Client().UserKey, userKey_);
}

TEST_F(FlowTest, NotLoggedDuringUploadLogsOnAgain) {
  StartAndLogOn();
  AddAnswers(3);
  // Three "Not Logged" replies use up the request's own re-logons; the flow logs on once more.
  Fault("member0", "UpdateWords", TFaultKind::NotLogged, 3);
  EXPECT_TRUE(flow_->UploadAnswersWithProgress());
  EXPECT_EQ(Requests("UpdateWords").size(), 4u);
  const auto logOns = Requests("LogOn");
  // Each "Not Logged" makes the request log on again (3), then the flow does once (1).
  ASSERT_EQ(logOns.size(), 4u);
  for (const auto& logOn : logOns) EXPECT_FALSE(logOn.arguments->GetBoolean(0));
  EXPECT_TRUE(messages_.boxes.empty());
  // After a re-logon the levels wait is left out.
  EXPECT_EQ(clock_.waited, 0);
  EXPECT_EQ(runner_.runs.back().stepped, 1 + 3);
}

TEST_F(FlowTest, UploadThatKeepsFailingKeepsTheAnswers) {
  StartAndLogOn();
  AddAnswers(5);
  Fault("member0", "UpdateWords", TFaultKind::Http500);
  EXPECT_FALSE(flow_->UploadAnswersWithProgress());
  EXPECT_EQ(Requests("UpdateWords").size(), 3u);
  EXPECT_EQ(Requests("LogOn").size(), 2u);
  ASSERT_EQ(messages_.boxes.size(), 1u);
  EXPECT_EQ(messages_.boxes[0].caption, "Error");
  EXPECT_EQ(messages_.boxes[0].text, central_->Strings().GetString("ConnectionRetry"));
  EXPECT_TRUE(messages_.boxes[0].links.isEmpty());
  TAnswerHolder saved;
  saved.LoadFromFile(window_->GetAnswersFileName());
  EXPECT_EQ(saved.Count(), 5);
}

TEST_F(FlowTest, UploadSendsBatchesOfAHundred) {
  StartAndLogOn();
  AddAnswers(150);
  EXPECT_TRUE(flow_->UploadAnswersWithProgress());
  const auto batches = Requests("UpdateWords");
  ASSERT_EQ(batches.size(), 2u);
  EXPECT_EQ(batches[0].arguments->PacketCount(), 100);
  EXPECT_EQ(batches[1].arguments->PacketCount(), 50);
  const auto& run = runner_.runs.back();
  EXPECT_EQ(run.caption, "Sending your answers to the server...");
  EXPECT_EQ(run.steps, 154);
  EXPECT_EQ(run.captions, QStringList{"Updating your knowledge levels..."});
  EXPECT_EQ(clock_.waited, 4 * 500);
  // Nothing pending: no window.
  const size_t runs = runner_.runs.size();
  EXPECT_TRUE(flow_->UploadAnswersWithProgress());
  EXPECT_EQ(runner_.runs.size(), runs);
}

TEST_F(FlowTest, ServerErrorDuringUploadKeepsWhatWentUpOutOfTheFile) {
  StartAndLogOn();
  AddAnswers(150);
  // The first batch goes up; the second meets an error status, which leaves through the window.
  dev::TFault fault;
  fault.kind = TFaultKind::ErrorStatus;
  fault.withErrorNumber = true;
  fault.errorNumber = 4;
  fault.skip = 1;
  server_->SetFault("member0", "UpdateWords", fault);
  EXPECT_FALSE(flow_->UploadAnswersWithProgress());
  EXPECT_EQ(runner_.exceptions, QStringList{"Server-side error (ERR-1004)"});
  EXPECT_EQ(central_->AnswerHolder().Count(), 50);
  TAnswerHolder saved;
  saved.LoadFromFile(window_->GetAnswersFileName());
  EXPECT_EQ(saved.Count(), 50) << "the batch that went up is not sent again";
}

TEST_F(FlowTest, FailedFileListLeavesAnEmptyListAndAMissingFileIsNamed) {
  StartAndLogOn();
  Fault("member0", "GetDownloadFiles", TFaultKind::Http500);
  EXPECT_EQ(MessageOf([&] { flow_->UpdateDataFiles(); }), "Missing data file: Data\\BaseAudio");
  ASSERT_EQ(download_.calls.size(), 2u);
  EXPECT_EQ(download_.calls[1].files, 0);
  EXPECT_EQ(download_.calls[1].line1, "The update takes about 10 minutes.");
  EXPECT_TRUE(runner_.exceptions.isEmpty()) << "the job itself went on";
  EXPECT_EQ(playersMade_, 0);

  // An error status is passed over the same way.
  dev::TFault fault;
  fault.kind = TFaultKind::ErrorStatus;
  server_->ClearFaults();
  server_->SetFault("member0", "GetDownloadFiles", fault);
  EXPECT_EQ(MessageOf([&] { flow_->UpdateDataFiles(); }), "Missing data file: Data\\BaseAudio");
  EXPECT_TRUE(runner_.exceptions.isEmpty());
}

TEST_F(FlowTest, LanguageFilesComeFromTheFirstServerThatLists) {
  struct Case {
    const char* name;
    TFaultKind kind;
  } cases[] = {{"refused", TFaultKind::Http404}, {"error status", TFaultKind::ErrorStatus}};
  StartAndLogOn();
  flow_->LogOffAtExit();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StartRun();
    server_->ClearLog();
    server_->ClearFaults();
    Fault("member0", "GetPreDownloadFiles", c.kind);
    EXPECT_TRUE(flow_->UpdateLanguageFiles());
    EXPECT_EQ(ServersOf("GetPreDownloadFiles"), (std::vector<QByteArray>{"member0", "member1"}));
    EXPECT_EQ(Requests("GetPreDownloadFiles")[1].arguments->GetString(0), Url("member1"));
  }
  server_->ClearFaults();
  for (const QByteArray& name : server_->ServerNames()) server_->TakeDown(name);
  StartRun();
  EXPECT_FALSE(flow_->UpdateLanguageFiles());
}

TEST_F(FlowTest, WordStatusMarksKnownWordsAndRefusesAShortPacket) {
  ASSERT_TRUE(flow_->UpdateLanguageFiles());
  LoadPacks();
  const auto& packs = central_->LanguagePacks();
  TDataPacket status;
  for (const auto& pack : packs) {
    TDataPacket* known = status.AddNewPacket();
    known->AddInteger(pack->GetCode() * 1000 + 1);
    known->AddInteger(99999);  // a word the list does not hold
    TDataPacket* counts = status.AddNewPacket();
    for (int j = 0; j < pack->AlphabetSize(); ++j)
      for (int s = 0; s < 3; ++s) counts->AddInteger(j * 10 + s);
  }
  status.AddNewPacket()->AddNewPacket()->AddInteger(5);

  // One integer short in the last pack: nothing changes.
  TDataPacket shortStatus;
  shortStatus.Assign(status);
  shortStatus.GetPacket(3)->DeleteInteger(shortStatus.GetPacket(3)->IntegerCount() - 1);
  EXPECT_NE(MessageOf([&] { flow_->ApplyWordsStatus(shortStatus); }), "(no exception)");
  EXPECT_EQ(packs[0]->GetCount(2, 1), 0);
  EXPECT_EQ(flow_->Messages.PacketCount(), 0);

  flow_->ApplyWordsStatus(status);
  for (const auto& pack : packs) {
    EXPECT_EQ(pack->GetCount(2, 0), 20);
    EXPECT_EQ(pack->GetCount(pack->AlphabetSize() - 1, 2), (pack->AlphabetSize() - 1) * 10 + 2);
  }
  EXPECT_TRUE(packs[1]->WordList().FindById(20001)->Known);
  EXPECT_FALSE(packs[1]->WordList().FindById(20002)->Known);
  EXPECT_EQ(flow_->Messages.PacketCount(), 1);
}

// The due rule of server messages, with the clock of the test.
class MessageRuleTest : public FlowTest {
 protected:
  std::unique_ptr<TDataPacket> Make(qint32 id, qint32 count, qint32 period) {
    auto m = std::make_unique<TDataPacket>();
    m->AddInteger(id);
    m->AddInteger(count);
    m->AddInteger(period);
    m->AddDate(clock_.now - 10);
    m->AddDate(std::floor(clock_.now) + 10);
    m->AddString("https://zabkolex.example/m");
    for (const char* t : {"Caption", "one", "two", "three", "more", "after"}) m->AddUTFString(t);
    return m;
  }
  TRegistryIniFile& Settings() { return central_->Settings(); }
};

TEST_F(MessageRuleTest, CountPeriodAndDateWindow) {
  const TDateTime today = std::floor(clock_.now);
  struct Case {
    const char* name;
    qint32 count, period;
    std::optional<TDateTime> last;  // stored "Last"
    std::optional<qint32> storedCount;
    TDateTime from, until;         // relative to now and to today
    bool shown;
  } cases[] = {
      {"fresh message", 1, 0, {}, {}, -1, 0, true},
      {"count used up", 1, 0, {}, {0}, -1, 0, false},
      {"period 7, shown 6 days ago", 3, 7, {today - 6}, {}, -1, 0, false},
      {"period 7, shown 7 days ago", 3, 7, {today - 7}, {}, -1, 0, true},
      {"not yet shown from", 1, 0, {}, {}, 0.01, 0, false},
      {"shown until yesterday", 1, 0, {}, {}, -5, -1, false},
      {"shown until today", 1, 0, {}, {}, -5, 0, true},
  };
  int id = 100;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString section = "Messages\\" + QString::number(++id);
    if (c.last) Settings().WriteDateTime(section, "Last", *c.last);
    if (c.storedCount) Settings().WriteInteger(section, "Count", *c.storedCount);
    auto m = Make(id, c.count, c.period);
    m->SetDate(0, clock_.now + c.from);
    m->SetDate(1, today + c.until);
    EXPECT_EQ(flow_->ShowMessage(*m), c.shown);
    if (c.shown) {
      EXPECT_EQ(Settings().ReadDateTime(section, "Last", 0), today);
      EXPECT_EQ(Settings().ReadInteger(section, "Count", -9), c.count - 1);
    } else if (!c.storedCount) {
      EXPECT_FALSE(Settings().ValueExists(section, "Count"));
    }
  }
}

TEST_F(MessageRuleTest, CountOneShowsOnceAndOnlyTheFirstDueMessageShows) {
  TDataPacket list;
  list.AddPacket(Make(1, 1, 0));
  list.AddPacket(Make(2, 1, 0));
  flow_->ShowMessages(list);
  ASSERT_EQ(messages_.boxes.size(), 1u);
  EXPECT_EQ(messages_.boxes[0].caption, "Caption");
  // The markup keeps the line breaks and makes the fourth part link 0.
  EXPECT_EQ(messages_.boxes[0].text, "one~\\n~two~\\n~three~[,,16646144]<0>more~after");
  EXPECT_EQ(messages_.boxes[0].links, QStringList{"https://zabkolex.example/m"});
  flow_->ShowMessages(list);
  flow_->ShowMessages(list);
  ASSERT_EQ(messages_.boxes.size(), 2u);
  EXPECT_EQ(Settings().ReadInteger("Messages\\2", "Count", -1), 0);
  flow_->ShowMessages(list);
  EXPECT_EQ(messages_.boxes.size(), 2u);
}

TEST_F(MessageRuleTest, UntrustedMessagesAndLinks) {
  // A message without its counters or dates, or without the caption and text its box shows
  // (missing or empty), is passed over and uses up none of its showings; the next one shows.
  TDataPacket list;
  list.AddNewPacket()->AddInteger(9);
  for (int texts : {0, 1}) {
    auto bare = Make(4 + texts, 1, 0);
    bare->DeleteUTFStrings(texts, bare->UTFStringCount() - texts);
    list.AddPacket(std::move(bare));
  }
  // Texts present but empty: the box would show nothing.
  auto blank = Make(6, 1, 0);
  for (int i = 0; i < blank->UTFStringCount(); ++i) blank->SetUTFString(i, QString());
  list.AddPacket(std::move(blank));
  auto m = Make(3, 1, 0);
  m->SetString(0, "javascript:alert(1)");
  list.AddPacket(std::move(m));
  flow_->ShowMessages(list);
  ASSERT_EQ(messages_.boxes.size(), 1u);
  EXPECT_TRUE(messages_.boxes[0].links.isEmpty()) << "only web links are handed on";
  EXPECT_EQ(messages_.boxes[0].caption, "Caption");
  EXPECT_FALSE(Settings().SectionExists("Messages\\4"));
  EXPECT_FALSE(Settings().SectionExists("Messages\\5"));
  EXPECT_FALSE(Settings().SectionExists("Messages\\6"));

  struct Case {
    QByteArray url;
    bool web;
  } cases[] = {{"https://a.example/x", true}, {"HTTP://a.example/", true}, {"ftp://a.example/", false},
               {"file:///etc/passwd", false}, {"http:///nohost", false}, {"", false}, {"a.example", false}};
  for (const Case& c : cases) EXPECT_EQ(TZabkolexFlow::IsWebLink(c.url), c.web) << c.url.constData();
}

}  // namespace
}  // namespace zabko::test
