#include "net/answer_holder.h"

#include "core/data_packet.h"
#include "net/db_handler.h"
#include "platform/exception.h"
#include "tests/common/test_util.h"
#include "tests/net/dev_fixture.h"
#include "tests/net/scripted_channel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zabko {
namespace {

using dev::TFault;
using dev::TFaultKind;

std::unique_ptr<TDataPacket> Report(qint32 wordId, qint32 position) {
  auto report = std::make_unique<TDataPacket>();
  report->AddInteger(wordId);
  for (int i = 1; i < 16; ++i) report->AddInteger(i);
  report->AddInteger(position);
  return report;
}

class AnswerHolderTest : public test::DevServerTest {
 protected:
  QString File(const char* name) const { return dir_.filePath(name); }
  dev::TWordState State(int lang, qint32 id) {
    dev::TWordState state;
    server_->WithState([&](dev::TDevProtocol& p) { state = p.Store().WordState(userKey_, lang, id); });
    return state;
  }
  QTemporaryDir dir_;
  TAnswerHolder holder_;
};

TEST_P(AnswerHolderTest, QueuesInOrderWithACopyOfTheDetail) {
  auto report = Report(20001, 1);
  holder_.AddAnswer(20, 20001, report.get(), kAnswerRight);
  report->SetInteger(0, 99);  // the holder kept its own copy
  holder_.AddAnswer(10, 10005, nullptr, kAnswerMarkedKnown);
  ASSERT_EQ(holder_.Count(), 2);
  const TDataPacket& d = holder_.Data();
  EXPECT_EQ(d.GetPacket(0)->GetInteger(1), 10);
  EXPECT_EQ(d.GetPacket(1)->GetInteger(0), 20001);
  EXPECT_EQ(d.GetPacket(2)->GetInteger(1), kAnswerMarkedKnown);
  EXPECT_EQ(d.GetPacket(3)->GetPacket(0)->GetInteger(0), 20001);
  EXPECT_TRUE(d.GetPacket(3)->GetPacket(1)->IsEmpty());
}

TEST_P(AnswerHolderTest, UploadsBatchesOfAHundredAndMovesTheStatuses) {
  LogOn();
  for (int i = 0; i < 250; ++i) holder_.AddAnswer(20, 20001 + i % 26, Report(20001 + i % 26, i).get(), kAnswerRight);
  ASSERT_TRUE(holder_.Upload(*client_));
  EXPECT_EQ(holder_.Count(), 150);
  ASSERT_TRUE(holder_.Upload(*client_));
  ASSERT_TRUE(holder_.Upload(*client_));
  EXPECT_TRUE(holder_.IsEmpty());
  EXPECT_TRUE(holder_.Upload(*client_)) << "an empty queue sends nothing";
  const auto batches = server_->LogOf("UpdateWords");
  ASSERT_EQ(batches.size(), 3u);
  EXPECT_EQ(batches[0].arguments->PacketCount(), 100);
  EXPECT_EQ(batches[2].arguments->PacketCount(), 50);
  const TDataPacket& first = *batches[0].arguments->GetPacket(0);
  EXPECT_EQ(first.GetInteger(0), 20);
  EXPECT_EQ(first.GetInteger(1), 20001);
  EXPECT_FALSE(first.GetBoolean(0));
  EXPECT_TRUE(first.GetBoolean(1));
  EXPECT_EQ(first.GetPacket(0)->IntegerCount(), 17);
  EXPECT_EQ(State(20, 20001).status, 2) << "right answers raise the status up to 2";
}

TEST_P(AnswerHolderTest, KnownMarksAreReportedBackExceptForNoResult) {
  LogOn();
  holder_.AddAnswer(10, 10001, nullptr, kAnswerMarkedKnown);
  holder_.AddAnswer(10, 10002, Report(10002, 1).get(), kAnswerWrong);
  holder_.AddAnswer(10, 999999, nullptr, kAnswerMarkedKnown);  // no such word: 0xFF
  holder_.AddAnswer(20, 20003, nullptr, kAnswerMarkRemoved);
  std::vector<std::tuple<qint32, qint32, quint8, bool>> results;
  holder_.OnMarkResult = [&](qint32 lang, qint32 id, quint8 status, bool removed) {
    results.emplace_back(lang, id, status, removed);
  };
  ASSERT_TRUE(holder_.Upload(*client_));
  EXPECT_EQ(results, (std::vector<std::tuple<qint32, qint32, quint8, bool>>{
                         {10, 10001, 0, false}, {20, 20003, 0, true}}));
  const auto upload = Only("UpdateWords");
  EXPECT_TRUE(upload.arguments->GetPacket(0)->GetBoolean(0));
  EXPECT_TRUE(upload.arguments->GetPacket(0)->GetBoolean(1));
  EXPECT_TRUE(upload.arguments->GetPacket(3)->GetBoolean(0));
  EXPECT_FALSE(upload.arguments->GetPacket(3)->GetBoolean(1));
  EXPECT_TRUE(State(10, 10001).known);
}

TEST_P(AnswerHolderTest, AListenerThatFailsDoesNotKeepWhatTheServerTook) {
  LogOn();
  holder_.AddAnswer(10, 10001, nullptr, kAnswerMarkedKnown);
  holder_.AddAnswer(10, 10002, Report(10002, 1).get(), kAnswerRight);
  holder_.OnMarkResult = [](qint32, qint32, quint8, bool) { throw Exception("no such word row"); };
  EXPECT_THROW(holder_.Upload(*client_), Exception);
  EXPECT_TRUE(holder_.IsEmpty()) << "a failing listener must not make the batch go up again";
}

TEST_P(AnswerHolderTest, WhatTheServerDidNotTakeStaysQueued) {
  LogOn();
  holder_.AddAnswer(10, 10001, Report(10001, 1).get(), kAnswerRight);
  holder_.AddAnswer(10, 10002, nullptr, kAnswerMarkedKnown);
  server_->SetFault("", "UpdateWords", TFault{TFaultKind::Http500, 1});
  EXPECT_FALSE(holder_.Upload(*client_));
  EXPECT_EQ(holder_.Count(), 2);
  server_->SetFault("", "UpdateWords", TFault{TFaultKind::MissingFields, 1});
  EXPECT_FALSE(holder_.Upload(*client_)) << "no byte for the known mark";
  EXPECT_EQ(holder_.Count(), 2);
  server_->SetFault("", "UpdateWords", TFault{TFaultKind::ErrorStatus, 1, true, 7});
  EXPECT_THROW(holder_.Upload(*client_), Exception);
  EXPECT_EQ(holder_.Count(), 2);
  EXPECT_TRUE(holder_.Upload(*client_));
  EXPECT_TRUE(holder_.IsEmpty());
}

TEST(AnswerHolderReply, BytesWithoutKnownMarksFailTheUpload) {
  auto* channel = new test::TScriptedChannel;
  TZabkolexClient client(channel, true);
  TAnswerHolder holder;
  for (int i = 0; i < 100; ++i) holder.AddAnswer(20, i, nullptr, kAnswerWrong);
  channel->Queue(test::Reply("Success", [](TDataPacket& p) { p.AddByte(1); }));
  EXPECT_FALSE(holder.Upload(client));
  EXPECT_EQ(holder.Count(), 100);
  channel->Queue(test::Reply("Success"));
  EXPECT_TRUE(holder.Upload(client));
  EXPECT_TRUE(holder.IsEmpty());
}

TEST_P(AnswerHolderTest, ABatchSentAgainIsCountedOnce) {
  LogOn();
  holder_.AddAnswer(20, 20001, Report(20001, 1).get(), kAnswerRight);
  holder_.AddAnswer(20, 20002, nullptr, kAnswerMarkedKnown);
  // The server takes the batch, but its reply is lost on the way back.
  TFault lostReply{TFaultKind::BadHex, 1};
  lostReply.afterHandling = true;
  server_->SetFault("", "UpdateWords", lostReply);
  EXPECT_FALSE(holder_.Upload(*client_));
  EXPECT_EQ(State(20, 20001).status, 1);
  ASSERT_TRUE(client_->LogOn(-1, false));  // the flow logs on again before it retries
  ASSERT_TRUE(holder_.Upload(*client_));
  EXPECT_EQ(State(20, 20001).status, 1) << "the answer counted once";
  EXPECT_TRUE(State(20, 20002).known);
  // The same word answered again in a new question is a new answer.
  holder_.AddAnswer(20, 20001, Report(20001, 2).get(), kAnswerRight);
  ASSERT_TRUE(holder_.Upload(*client_));
  EXPECT_EQ(State(20, 20001).status, 2);
}

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

TEST_P(AnswerHolderTest, SavesAndLoadsTheAnswersFile) {
  holder_.AddAnswer(20, 20001, Report(20001, 3).get(), kAnswerRight);
  holder_.AddAnswer(10, 10002, nullptr, kAnswerMarkRemoved);
  const QString file = File("Users/U1.answers");
  holder_.SaveToFile(file);
  TAnswerHolder loaded;
  loaded.AddAnswer(10, 1, nullptr, kAnswerWrong);
  loaded.LoadFromFile(file);
  EXPECT_EQ(loaded.Data().SaveToBytes(), holder_.Data().SaveToBytes());
  EXPECT_EQ(QDir(File("Users")).entryList(QDir::Files | QDir::Hidden), QStringList{"U1.answers"});
  // The learner's answers are for the learner's eyes only.
  EXPECT_EQ(test::FileMode(file), 0600);
  const QString created = File("Users/U2.answers");
  loaded.LoadFromFile(created);
  ASSERT_TRUE(QFileInfo::exists(created));
  EXPECT_EQ(test::FileMode(created), 0600);
}

TEST_P(AnswerHolderTest, LoadingKeepsTheQueueUnlessTheFileIsAGoodQueue) {
  holder_.AddAnswer(10, 7, nullptr, kAnswerWrong);
  const QByteArray before = holder_.Data().SaveToBytes();

  TDataPacket unequal;  // four columns, one of them short
  for (int i = 0; i < 4; ++i) unequal.AddNewPacket();
  unequal.GetPacket(0)->AddInteger(10);
  unequal.GetPacket(1)->AddInteger(5);
  TDataPacket good;
  for (int i = 0; i < 4; ++i) good.AddNewPacket();
  struct Case {
    const char* name;
    QByteArray bytes;
    bool exists;
    bool damaged;  // moved aside, never lost under the next save
  } cases[] = {
      {"missing file", {}, false, false},
      {"empty file", {}, true, false},
      {"not a packet", "garbage", true, true},
      {"cut short", holder_.Data().SaveToBytes().left(20), true, true},
      {"columns of unequal length", unequal.SaveToBytes(), true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = File(c.name);
    if (c.exists) {
      QFile f(path);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(c.bytes);
    }
    holder_.LoadFromFile(path);
    EXPECT_EQ(holder_.Data().SaveToBytes(), before);
    if (c.damaged) {
      EXPECT_EQ(ReadFile(path + ".damaged"), c.bytes);
      EXPECT_EQ(test::FileMode(path + ".damaged"), 0600) << "the learner's answers stay private";
      holder_.SaveToFile(path);
      EXPECT_EQ(ReadFile(path + ".damaged"), c.bytes);
    } else {
      EXPECT_TRUE(QFile::exists(path)) << "a missing file is created empty";
      EXPECT_FALSE(QFile::exists(path + ".damaged"));
    }
  }
  // A second damaged file of the same name is numbered; one that cannot be read (a folder in
  // its place) is moved aside too.
  const QString path = File("cut short");
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("again");
  f.close();
  holder_.LoadFromFile(path);
  EXPECT_EQ(ReadFile(path + ".damaged.2"), QByteArray("again"));
  const QString folder = File("a folder");
  ASSERT_TRUE(QDir().mkpath(folder + "/inside"));
  holder_.LoadFromFile(folder);
  EXPECT_TRUE(QFileInfo(folder + ".damaged/inside").isDir());
  EXPECT_EQ(holder_.Data().SaveToBytes(), before);

  // A good empty queue does replace it.
  const QString emptyQueue = File("empty queue");
  QFile e(emptyQueue);
  ASSERT_TRUE(e.open(QIODevice::WriteOnly));
  e.write(good.SaveToBytes());
  e.close();
  holder_.LoadFromFile(emptyQueue);
  EXPECT_TRUE(holder_.IsEmpty());
}

TEST(DBHandler, LocalDataCountIsTheFirstIntegerOrMinusOne) {
  QTemporaryDir dir;
  TDataPacket data;
  data.AddInteger(12);
  data.SaveToFile(dir.filePath("u.data"));
  TDataPacket noCount;
  noCount.AddString("x");
  noCount.SaveToFile(dir.filePath("n.data"));

  TDBHandler handler;
  EXPECT_EQ(handler.LocalDataCount(), -1);
  handler.LoadFromFile(dir.filePath("u.data"));
  EXPECT_EQ(handler.LocalDataCount(), 12);
  handler.LoadFromFile(dir.filePath("n.data"));
  EXPECT_EQ(handler.LocalDataCount(), -1);
}

INSTANTIATE_TEST_SUITE_P(Channels, AnswerHolderTest, ::testing::Bool(), test::ChannelName);

}  // namespace
}  // namespace zabko
