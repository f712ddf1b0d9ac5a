#include "net/answer_report.h"

#include "core/data_packet.h"

#include <gtest/gtest.h>

#include <set>

namespace zabko {
namespace {

TEST(AnswerReport, ClearGivesSeventeenZeros) {
  TDataPacket p;
  p.AddInteger(5);
  ClearAnswerReport(p);
  ASSERT_EQ(p.IntegerCount(), report::kSlotCount);
  for (int i = 0; i < report::kSlotCount; ++i) EXPECT_EQ(p.GetInteger(i), 0);
}

TEST(AnswerReport, RecordsThatCannotBeAskedAreDropped) {
  const std::set<qint32> known = {1, 2, 3, 4, 5};
  const auto exists = [&](qint32 id) { return known.count(id) > 0; };
  std::vector<TTestQuestion> qs = {
      {1, 2, 3, 4, 2, 0, 0, 0, 0},   // fine
      {1, 2, 3, 4, 5, 0, 0, 0, 0},   // asked word not among the answers
      {1, 2, 3, 99, 1, 0, 0, 0, 0},  // an answer unknown
      {2, 3, 4, 5, 5, 0, 0, 0, 0},   // fine, right answer last
      {1, 2, 3, 4, 77, 0, 0, 0, 0},  // asked word unknown
  };
  EXPECT_EQ(DropUnaskableQuestions(qs, exists), 3);
  ASSERT_EQ(qs.size(), 2u);
  EXPECT_EQ(qs[0].WordId, 2);
  EXPECT_EQ(qs[1].WordId, 5);
}

}  // namespace
}  // namespace zabko
