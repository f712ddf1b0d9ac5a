#include "learn/start/extra_info_form.h"

#include "ui/component.h"
#include "ui/tnt_label.h"
#include "ui/win_font.h"

namespace zabko {

namespace {

// The class library's Font.Size of a font given by its height at 96 pixels per inch.
int FontSize(const QFont& font) { return MulDiv(font.pixelSize(), 72, 96); }

}  // namespace

TExtraInfoForm::TExtraInfoForm(QWidget* parent) : TModalForm(parent, QStringLiteral("ExtraInfoForm")) {
  setFixedSize(640, 270);
  setLayoutDirection(Qt::RightToLeft);
  SetBackgroundColor(this, 15789020);
  const auto makeLabel = [this](const char* name, int top, int height) {
    auto* label = new TLinkLabel2(this, QString::fromLatin1(name));
    label->SetAutoSize(false);
    label->setWordWrap(true);
    label->setGeometry(12, top, 613, height);
    label->setFont(WinFont(QStringLiteral("Arial"), 0, -23));
    label->SetLinkColor(clBlack);
    return label;
  };
  label1_ = makeLabel("Label1", 4, 125);
  label2_ = makeLabel("Label2", 131, 126);
  connect(label1_, &TTntLabel::OnClick, this, &TExtraInfoForm::Label1Click);
}

void TExtraInfoForm::Label1Click() {
  if (Event) Event(kPlayExample);
}

void TExtraInfoForm::ApplyLeftToRight() {
  setLayoutDirection(Qt::LeftToRight);
  label1_->setLayoutDirection(Qt::LeftToRight);
  label2_->setLayoutDirection(Qt::LeftToRight);
}

void TExtraInfoForm::ApplyLargeLayout(bool largeTestLayout) {
  if (!largeTestLayout) return;
  for (auto [label, delta] : {std::pair{label1_, 4}, std::pair{label2_, -4}}) {
    QFont font = label->font();
    SetWinFontSize(font, FontSize(font) + delta);
    label->setFont(font);
  }
}

}  // namespace zabko
