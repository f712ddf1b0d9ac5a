// The progress follow-up's arithmetic over one language pack's letters: the letter the learner is
// at, the letter the schedule puts the learner at, the letters to go over with the one to focus
// on, and the face comparing the two. Pure; the follow-up panel shows the results.
#pragma once

#include <QList>
#include <QString>

namespace zabko {

struct TFollowLetter {
  int Known = 0;  // words known or partly known
  int Total = 0;  // words in statuses 0, 1 and 2
  QString Label;
};

// The last letter reached: consecutive letters from 1 on with a tenth of their words started, or
// a letter with 30 % known when the letters up to it are 15 % known on the whole (letter 0 is
// where everyone starts and counts in neither).
int FollowAmAt(const QList<TFollowLetter>& letters);

// The letter the schedule reaches after Elapsed of Span days, the letters spread over the span
// in proportion to their word counts out of Words (the words not marked known; above 0). Before
// the start letter 0, after the span the last letter; a walk that finds no letter gives 0.
int FollowShouldBeAt(const QList<TFollowLetter>& letters, double spanDays, double elapsedDays, int words);

struct TGoOver {
  // " " + first label of each run of consecutive letters to go over, "-" + its last label when
  // longer than one letter, the runs joined with ", ".
  QString Runs;
  int Count = 0;  // letters to go over
  int Focus = 0;  // the letter to go over with the lowest share known
};

// The letters up to Should with at most half their words known (a letter without words too).
TGoOver FollowGoOver(const QList<TFollowLetter>& letters, int should);

enum TFollowState { kFollowBehind = 0, kFollowOnSchedule = 1, kFollowAhead = 2 };

// The labels compared as texts, which is alphabet order for both packs' letter labels.
TFollowState FollowStateOf(const QString& shouldLabel, const QString& amLabel);

}  // namespace zabko
