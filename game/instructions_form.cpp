#include "game/instructions_form.h"

#include "core/zabkolex_strings.h"
#include "game/zabko_game_main_form.h"
#include "ui/component.h"
#include "ui/form_loading.h"
#include "ui/my_shape.h"
#include "ui/n_button.h"
#include "ui/tnt_label.h"

namespace zabko {

namespace {
constexpr int kWidth = 640, kHeight = 540;
constexpr int kTop = 56, kRowHeight = 62, kBoxHeight = 54;
constexpr int kBoxRight = kWidth - 16, kTextLeft = 16;
}  // namespace

TInstructionsForm::TInstructionsForm(TZabkoGameMainForm& main)
    : TGameDialog(main, QStringLiteral("InstructionsForm"), kWidth, kHeight) {
  TFormLoading loading(this);
  MakeCaptionPanel(QString::fromUtf8("הוראות המשחק"));
  for (int n = 1; n <= kSections; ++n) {
    const int top = kTop + (n - 1) * kRowHeight;
    auto* box = new TMyShape(this, QStringLiteral("MyShape%1").arg(n));
    box->setGeometry(kBoxRight - 100, top, 100, kBoxHeight);
    box->SetShape(TShapeType::RoundRect);
    box->SetRadiusX(16);
    box->SetRadiusY(16);
    box->SetPenColor(kDialogOutline);
    box->SetBrushColor(0xC8E6F7);
    const QByteArray header = QByteArray("Label") + QByteArray::number(2 * n - 1);
    const QByteArray text = QByteArray("Label") + QByteArray::number(2 * n);
    TTntLabel* headerLabel = MakeDialogLabel(this, header.constData(), QRect(box->x() + 8, top, 84, kBoxHeight), {}, 16, true);
    headerLabel->SetAutoSize(true);
    TTntLabel* textLabel = MakeDialogLabel(this, text.constData(), QRect(kTextLeft, top, box->x() - 5 - kTextLeft, kBoxHeight), {}, 14);
    textLabel->setWordWrap(true);
  }
  MakeDialogButton("NButton1", dbClose, (kWidth - kButtonWidth) / 2, kHeight - kButtonHeight - 14);
  loading.Finish();
  connect(FindComponent<TNButton>(this, QStringLiteral("NButton1")), &TNBase::OnClick, this,
          &TInstructionsForm::NButton1Click);
  ClipToBackshape();
}

void TInstructionsForm::NButton1Click() { SetModalResult(mrOk); }

void TInstructionsForm::LoadTexts() {
  const TZabkolexStrings& texts = Main().Strings();
  for (int n = 1; n <= kSections; ++n) {
    LayoutSection(texts.GetString(QStringLiteral("InstructionsForm.Header%1").arg(n)),
                  texts.GetString(QStringLiteral("InstructionsForm.Text%1").arg(n)),
                  FindComponent<TTntLabel>(this, QStringLiteral("Label%1").arg(2 * n)),
                  FindComponent<TTntLabel>(this, QStringLiteral("Label%1").arg(2 * n - 1)),
                  FindComponent<TMyShape>(this, QStringLiteral("MyShape%1").arg(n)));
  }
}

void TInstructionsForm::LayoutSection(const QString& header, const QString& text, TTntLabel* textLabel,
                                      TTntLabel* headerLabel, TMyShape* box) {
  headerLabel->SetCaption(header);
  textLabel->SetCaption(text);
  const int right = box->x() + box->width();
  const int width = headerLabel->width() + 16;
  box->setGeometry(right - width, box->y(), width, box->height());
  headerLabel->move(box->x() + 8, box->y() + (box->height() - headerLabel->height()) / 2);
  textLabel->setGeometry(textLabel->x(), textLabel->y(), box->x() - 5 - textLabel->x(), textLabel->height());
}

}  // namespace zabko
