#include "game/play/question2_game.h"

#include "core/exception_log.h"
#include "core/word.h"
#include "game/play/game_utils.h"
#include "game/play/sprite.h"
#include "net/answer_holder.h"
#include "platform/exception.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace zabko {

namespace {

constexpr int kOverlayMs = 1000;
constexpr int kTimeoutPenalty = 5;
constexpr int kWrongPenalty = 2;
constexpr int kBestScore = 10;
constexpr int kLabelAlpha = 128;
constexpr qreal kLabelRadius = 7.5;  // corner ellipses 15 pixels across

constexpr int kBadComments[] = {5, 6, 7, 10, 11, 12, 13, 14, 15, 19, 20, 21};
constexpr int kGoodComments[] = {1, 2, 3, 4, 8, 9, 16, 17, 18, 22, 23};
constexpr const char* kWrongSounds[] = {"shoot_laugh.mp3", "shoot_whistle.mp3", "shoot_boing.mp3",
                                        "shoot_mehehe.mp3"};
constexpr quint8 kDiagonals[] = {dirSE, dirSW, dirNW, dirNE};

}  // namespace

TQuestion2Game::TQuestion2Game(const QByteArray& name, const QByteArray& answerFontName,
                               const QByteArray& questionFontName, TDataFileCallback dataFile,
                               TResManager* resManager, int areaHeight, int areaWidth)
    : TShootGame(name, std::move(dataFile), resManager, areaHeight, areaWidth),
      QuestionFontName(questionFontName),
      AnswerFontName(answerFontName) {
  InitStages();
}

void TQuestion2Game::InitStages() {
  Stages = {{{1, 2, 5}, {1, 3, 6}, {2, 3, 5}, {2, 4, 1}, {3, 4, 4}, {3, 5, 6}, {4, 5, 0}, {4, 6, 3}, {5, 6, 2}}};
}

const TQuestion2Game::TStage& TQuestion2Game::CurrentStage() const {
  return Stages[static_cast<size_t>(std::clamp(Stage, 1, kStageCount) - 1)];
}

qint32 TQuestion2Game::AnswerAt(int position) const {
  switch (position) {
    case 0: return Question.Answer1;
    case 1: return Question.Answer2;
    case 2: return Question.Answer3;
    case 3: return Question.Answer4;
    default: return -1;
  }
}

void TQuestion2Game::NextQuestion(bool spawn) {
  ResetClock(Question);
  Answered = false;
  const TWord* word = WordLookup ? WordLookup(Question.WordId) : nullptr;
  QuestionText = word ? word->PickMeaning(Random) : QString();
  TimedOut = false;
  if (spawn) SpawnAnswers();
}

void TQuestion2Game::SpawnAnswers() {
  for (int position = 0; position < kAnswerCount; ++position) ReMakeAnswer(position);
}

void TQuestion2Game::ChangeSheet(int index) {
  const TCharacter* old = Character(index);
  auto changed =
      std::make_unique<TCharacter>(old->X, Sprite(CurrentStage().Sheet), old->Direction, old->Dy, old->Dx, old->Y);
  changed->Slot = old->Slot;
  ReplaceCharacter(index, std::move(changed));
}

void TQuestion2Game::ReMakeAnswer(int position) {
  if (position < CharacterCount()) {
    // An exploding answer finishes as it is, its answer with it.
    if (IsExploding(Character(position))) return;
    ChangeSheet(position);
  } else {
    SpawnRandom(CurrentStage().Sheet);
    position = CharacterCount() - 1;
    Character(position)->Direction = kDiagonals[RandomIndex(4)];
    SetSpeeds(position);
  }
  Character(position)->Slot = position;
}

void TQuestion2Game::SetSpeeds(int index) {
  TCharacter* c = Character(index);
  c->Dx = RandomBetween(CurrentStage().MinSpeed, CurrentStage().MaxSpeed, Random);
  c->Dy = RandomBetween(CurrentStage().MinSpeed, CurrentStage().MaxSpeed, Random);
}

void TQuestion2Game::ShowPicture(const QString& name, int kind) {
  if (!ResManager()) return;
  try {
    AddOverlay(std::make_unique<TShowBitmap>(name, kind, kOverlayMs, *ResManager()));
  } catch (const Exception& e) {
    // A picture missing from the game's graphics: the game goes on without it.
    LogLine("Picture " + name.toUtf8() + " cannot show: " + e.Message().toUtf8());
  }
}

void TQuestion2Game::SetStage(int stage) {
  if (stage == Stage) return;
  Stage = std::clamp(stage, 1, kStageCount);
  ShowPicture("Texts\\Stage" + QString::number(Stage) + ".bmp", kStageOverlay);
  // Each character keeps its answer and only changes its sheet and speeds: after a wrong answer
  // has exploded and gone, the characters' indexes no longer match their answers, and numbering
  // them afresh would hand the right answer to a second character while the first explodes.
  for (int i = 0; i < CharacterCount(); ++i) {
    if (!IsExploding(Character(i))) ChangeSheet(i);
    SetSpeeds(i);
  }
}

void TQuestion2Game::ShowComment(bool bad) {
  const int n = bad ? kBadComments[RandomIndex(std::size(kBadComments))]
                    : kGoodComments[RandomIndex(std::size(kGoodComments))];
  ShowPicture("Texts\\comment" + QString::number(n) + ".bmp", kCommentOverlay);
}

void TQuestion2Game::OnTimeout() {
  // A question answered right waits only for its explosion; the time-out fires once.
  if (TimedOut || Answered) return;
  TimedOut = true;
  TShootGame::OnTimeout();
  SetScore(Score() - kTimeoutPenalty);
  --Lives;
}

void TQuestion2Game::OnHit(int index) {
  const int slot = Character(index)->Slot;
  const qint32 answer = AnswerAt(slot);
  if (answer == Question.WordId) {
    Answered = true;
    SetScore(Score() + std::max<int>(1, kBestScore - static_cast<int>(ElapsedSeconds())));
    ++CorrectCount;
    ShowComment(false);
    if (AnswerCallback) AnswerCallback(Question.WordId, kAnswerRight, slot + 1, Question);
  } else {
    PlaySound(kWrongSounds[RandomIndex(4)]);
    SetScore(Score() - kWrongPenalty);
    --Lives;
    ShowComment(true);
    if (!Missed.Contains(Question.WordId)) Missed.Add(Question.WordId);
    if (AnswerCallback) AnswerCallback(Question.WordId, kAnswerWrong, slot + 1, Question);
  }
  TShootGame::OnHit(index);
}

void TQuestion2Game::Reset() {
  TShootGame::Reset();
  Missed.Clear();
  SetScore(0);
  MissCount = 0;
  CorrectCount = 0;
  SetElapsed(0);
  NextQuestion(true);
}

void TQuestion2Game::SpawnInitial() { SpawnAnswers(); }

void TQuestion2Game::Respawn(int count) {
  if (Answered) PlaySound("shoot_good.mp3");
  if ((Answered || CharacterCount() == 0) && Dying.empty()) NextQuestion(true);
}

void TQuestion2Game::DrawTexts(QPainter& canvas) {
  TShootGame::DrawTexts(canvas);
  DrawAnswers(canvas);
  DrawQuestion(canvas);
}

void TQuestion2Game::DrawQuestion(QPainter& canvas) {
  DrawLabel(canvas, QuestionText, 500, TFontStyle::Bold, 20, QString::fromLatin1(QuestionFontName), 5, 25, 30,
            AreaWidth() / 2);
}

void TQuestion2Game::DrawAnswers(QPainter& canvas) {
  for (int i = 0; i < CharacterCount(); ++i) {
    const TCharacter* c = Character(i);
    if (IsExploding(c)) continue;
    const TWord* word = WordLookup ? WordLookup(AnswerAt(c->Slot)) : nullptr;
    if (!word) continue;
    DrawLabel(canvas, word->Headword, 0, TFontStyle::Bold, 13, QString::fromLatin1(AnswerFontName), 2, 10,
              c->Y + c->Height() / 4 + 20, c->X);
  }
}

QString TQuestion2Game::ShownText(const QString& text) const {
  if (!Hidden) return text;
  return QString::fromLatin1(ReplaceCharsInSet(text.toLatin1(), FullCharSet(), '*'));
}

QRect TQuestion2Game::LabelBox(const QString& text, int maxWidth, TFontStyles style, int size,
                               const QString& fontName, int verticalPadding, int horizontalPadding, int centerY,
                               int centerX, QFont& fitted) const {
  SetFontNSS(fitted, fontName, size, style);
  int textWidth = QFontMetrics(fitted).horizontalAdvance(text);
  while (maxWidth > 0 && textWidth > maxWidth && size > kSmallestFontSize) {
    SetFontNSS(fitted, fontName, --size, style);
    textWidth = QFontMetrics(fitted).horizontalAdvance(text);
  }
  // A text too wide even at the smallest size is clipped to the maximum width.
  if (maxWidth > 0) textWidth = std::min(textWidth, maxWidth);
  const int width = textWidth + 2 * horizontalPadding;
  const int height = QFontMetrics(fitted).height() + 2 * verticalPadding;
  return QRect(centerX - width / 2, centerY - height / 2, width, height);
}

void TQuestion2Game::DrawLabel(QPainter& canvas, const QString& text, int maxWidth, TFontStyles style, int size,
                               const QString& fontName, int verticalPadding, int horizontalPadding, int centerY,
                               int centerX) {
  if (text.isEmpty()) return;
  const QString shown = ShownText(text);
  QFont font;
  const QRect box =
      LabelBox(shown, maxWidth, style, size, fontName, verticalPadding, horizontalPadding, centerY, centerX, font);

  // A white rounded box with the default black pen, blended onto the scene at half strength.
  canvas.save();
  canvas.setOpacity(kLabelAlpha / 255.0);
  canvas.setRenderHint(QPainter::Antialiasing);
  canvas.setPen(Qt::black);
  canvas.setBrush(Qt::white);
  canvas.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), kLabelRadius, kLabelRadius);
  canvas.restore();

  canvas.save();
  canvas.setRenderHint(QPainter::Antialiasing);
  canvas.setPen(Qt::white);
  canvas.setBrush(Qt::NoBrush);
  canvas.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), kLabelRadius, kLabelRadius);
  const QRect textArea = box.adjusted(horizontalPadding, verticalPadding, -horizontalPadding, -verticalPadding);
  canvas.setClipRect(textArea);
  canvas.setFont(font);
  canvas.setPen(Qt::black);
  canvas.setLayoutDirection(Qt::RightToLeft);
  canvas.drawText(textArea, Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine, shown);
  canvas.restore();
}

}  // namespace zabko
