// The word-question game the play screen runs: a word's meaning at the top of the play area, four
// characters of the current stage's sheet drifting across it, each labelled with a candidate
// word, and the player shoots the one that matches. Keeps the score, lives, the correct and
// missed counts, the question clock with its time-out and the nine stages, and reports every
// answer through the answer callback.
#pragma once

#include "core/integer_list.h"
#include "game/play/shoot_game.h"
#include "net/zabkolex_client.h"
#include "ui/win_font.h"

#include <QByteArray>
#include <QFont>
#include <QRect>
#include <QString>

#include <array>

class QPainter;

namespace zabko {

class TQuestion2Game : public TShootGame {
 public:
  struct TStage {
    int MinSpeed = 0;
    int MaxSpeed = 0;
    int Sheet = 0;
  };
  static constexpr int kStageCount = 9;
  static constexpr int kAnswerCount = 4;
  static constexpr int kSmallestFontSize = 6;

  TQuestion2Game(const QByteArray& name, const QByteArray& answerFontName, const QByteArray& questionFontName,
                 TDataFileCallback dataFile, TResManager* resManager, int areaHeight, int areaWidth);

  // The next-question callback of the model; NextQuestion below hides its name.
  void SetQuestionSource(TNextQuestion source) { TGameManagment::NextQuestion = std::move(source); }

  void InitStages();
  // The next question from the next-question callback, with the clock restarted; with Spawn the
  // four answer characters are made again. A question that cannot be fetched leaves the game as
  // it was and its exception goes on to the caller.
  void NextQuestion(bool spawn);
  void SpawnAnswers();
  // The answer character at Position for a new question: the living one there gets the stage's
  // sheet and the position as its answer, an exploding one is left as it is, and where none
  // stands a new one is spawned.
  void ReMakeAnswer(int position);
  // The character at Index in the current stage's sheet, at its place, with its speeds,
  // direction and answer.
  void ChangeSheet(int index);
  void SetSpeeds(int index);
  void SetStage(int stage);
  void ShowComment(bool bad);
  void DrawQuestion(QPainter& canvas);
  void DrawAnswers(QPainter& canvas);
  // A translucent white box with Text centred on (CenterX, CenterY); the font shrinks until the
  // text fits MaxWidth (0: no limit), at most down to the smallest size, and a text still too
  // wide is clipped to a box of MaxWidth.
  void DrawLabel(QPainter& canvas, const QString& text, int maxWidth, TFontStyles style, int size,
                 const QString& fontName, int verticalPadding, int horizontalPadding, int centerY, int centerX);
  // The text a label shows: one '*' per character while hidden.
  QString ShownText(const QString& text) const;
  // The box of a label and the font fitted to its maximum width.
  QRect LabelBox(const QString& text, int maxWidth, TFontStyles style, int size, const QString& fontName,
                 int verticalPadding, int horizontalPadding, int centerY, int centerX, QFont& fitted) const;
  // The stage whose sheet and speeds new answer characters get (stage 1's before any stage).
  const TStage& CurrentStage() const;
  // The answer id at an answer position 0-3.
  qint32 AnswerAt(int position) const;

  // TGameManagment
  void OnTimeout() override;
  void DrawTexts(QPainter& canvas) override;
  void OnHit(int index) override;
  void Reset() override;
  // TShootGame
  void SpawnInitial() override;
  void Respawn(int count) override;

 private:
  // An overlay picture of the game's graphics; one that cannot be read is logged and left out.
  void ShowPicture(const QString& name, int kind);

 public:
  TTestQuestion Question;
  bool Answered = false;
  QString QuestionText;
  TIntegerList Missed;
  bool TimedOut = false;
  bool Hidden = false;
  int Stage = 0;
  std::array<TStage, kStageCount> Stages;
  QByteArray QuestionFontName;
  QByteArray AnswerFontName;
};

}  // namespace zabko
