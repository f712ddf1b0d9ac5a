#include "game/top10_form.h"

#include "core/data_packet.h"
#include "core/window_services.h"
#include "core/zabkolex_strings.h"
#include "game/zabko_game_main_form.h"
#include "platform/exception.h"
#include "platform/exception_handler.h"
#include "ui/component.h"
#include "ui/form_loading.h"
#include "ui/my_shape.h"
#include "ui/n_button.h"
#include "ui/tnt_label.h"

#include <QTimer>

namespace zabko {

namespace {
constexpr int kWidth = 420, kHeight = 470;
constexpr int kTop = 56, kRowHeight = 34, kRowLeft = 24, kRowWidth = kWidth - 48;
constexpr int kTimerMs = 50;
}  // namespace

TTop10Form::TTop10Form(TZabkoGameMainForm& main) : TGameDialog(main, QStringLiteral("Top10Form"), kWidth, kHeight) {
  TFormLoading loading(this);
  MakeCaptionPanel(QString::fromUtf8("עשרת הגדולים"));
  for (int row = 1; row <= kRows; ++row) {
    const QRect area(kRowLeft, kTop + (row - 1) * kRowHeight, kRowWidth, kRowHeight - 4);
    if (row == 1) {
      auto* best = new TNStatic(this, QStringLiteral("Best1"));
      best->setGeometry(area);
      best->SetManager(Manager());
      best->SetStretchDraw(true);
      best->SetBackgroundName(QStringLiteral("Dialogs\\Best.bmp"));
    } else {
      auto* shape = new TMyShape(this, QStringLiteral("MyShape%1").arg(row - 1));
      shape->setGeometry(area);
      shape->SetShape(TShapeType::RoundRect);
      shape->SetRadiusX(14);
      shape->SetRadiusY(14);
      shape->SetPenColor(0xD1A95D);
      shape->SetBrushColor(row % 2 ? 0xFAF7F0 : 0xF2E4C8);
    }
    const QByteArray name = "NameLbl" + QByteArray::number(row), score = "ScoreLbl" + QByteArray::number(row);
    // Right to left: the rank and the name at the right, the score at the left.
    MakeDialogLabel(this, QByteArray("RankLbl" + QByteArray::number(row)).constData(),
                    QRect(area.right() - 40, area.top(), 32, area.height()), QString::number(row) + QLatin1Char('.'),
                    16, true);
    MakeDialogLabel(this, name.constData(), QRect(area.left() + 90, area.top(), area.width() - 182, area.height()),
                    QStringLiteral("(?\?\?)"), 16, row == 1);
    TTntLabel* scoreLabel = MakeDialogLabel(this, score.constData(), QRect(area.left() + 10, area.top(), 70, area.height()),
                                            QStringLiteral("0"), 16, true);
    scoreLabel->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
  }
  MakeDialogButton("NButton1", dbClose, (kWidth - kButtonWidth) / 2, kHeight - kButtonHeight - 14);
  loading.Finish();

  timer_ = new QTimer(this);
  timer_->setObjectName(QStringLiteral("Timer"));
  timer_->setSingleShot(true);
  timer_->setInterval(kTimerMs);
  connect(timer_, &QTimer::timeout, this, [this] { Guarded([this] { TimerTimer(); }); });
  connect(FindComponent<TNButton>(this, QStringLiteral("NButton1")), &TNBase::OnClick, this, &TTop10Form::NButton1Click);
  ClipToBackshape();
}

void TTop10Form::FormShow() { timer_->start(); }

void TTop10Form::TimerTimer() {
  timer_->stop();
  Main().Progress().RunJob(2, Main().Strings().GetString(QStringLiteral("Top10Form.LoadingData")),
                           [this](IProgress& progress) { LoadTop10Job(progress); });
}

void TTop10Form::LoadTop10Job(IProgress& progress) {
  progress.Step();
  TTntLabel* names[kRows];
  TTntLabel* scores[kRows];
  for (int row = 0; row < kRows; ++row) {
    names[row] = FindComponent<TTntLabel>(this, QStringLiteral("NameLbl%1").arg(row + 1));
    scores[row] = FindComponent<TTntLabel>(this, QStringLiteral("ScoreLbl%1").arg(row + 1));
  }
  TDataPacket table;
  if (!Main().Client().GetTop10(table)) throw Exception("Failed to get Top10 list");
  for (int row = 0; row < std::min(table.PacketCount(), int(kRows)); ++row) {
    const TDataPacket* entry = table.GetPacket(row);
    names[row]->SetCaption(entry->GetUTFString(0));
    scores[row]->SetCaption(QString::number(entry->GetInteger(1)));
  }
}

void TTop10Form::NButton1Click() { SetModalResult(mrOk); }

void TTop10Form::showEvent(QShowEvent* event) {
  TGameDialog::showEvent(event);
  Guarded([this] { FormShow(); });
}

}  // namespace zabko
