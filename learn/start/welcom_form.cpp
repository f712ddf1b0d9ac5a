#include "learn/start/welcom_form.h"

#include "core/zabkolex_strings.h"
#include "ui/anchors.h"
#include "ui/component.h"
#include "ui/event_guard.h"
#include "ui/form_loading.h"
#include "ui/gui_text_builder.h"
#include "ui/mirror.h"
#include "ui/my_shape.h"
#include "ui/n_base.h"

namespace zabko {

TWelcomForm::TWelcomForm(TNManager* manager, const TZabkolexStrings& strings, QWidget* parent)
    : QWidget(parent), strings_(strings) {
  setObjectName(QStringLiteral("WelcomForm"));
  resize(578, 443);
  setLayoutDirection(Qt::RightToLeft);
  SetBackgroundColor(this, 15985881);
  setAutoFillBackground(true);

  TFormLoading loading(this);
  myShape1_ = new TMyShape(this, QStringLiteral("MyShape1"));
  myShape1_->SetShape(TShapeType::RoundRect);
  myShape1_->SetRadiusX(20);
  myShape1_->SetRadiusY(20);
  myShape1_->SetBrushColor(8176634);
  myShape1_->setGeometry(0, 60, 550, 308);

  panel1_ = new QWidget(this);
  panel1_->setObjectName(QStringLiteral("Panel1"));
  panel1_->setGeometry(12, 300, 150, 130);
  SetAnchors(panel1_, TAnchorKind::Top | TAnchorKind::Right);

  image3_ = new TNStatic(this, QStringLiteral("Image3"));
  image3_->setGeometry(12, 300, 150, 130);
  image3_->SetManager(manager);
  image3_->SetColor(clNone);
  image3_->SetBackgroundName(QStringLiteral("Welcome\\Image3.bmp"));
  SetAnchors(image3_, TAnchorKind::Top | TAnchorKind::Right);
  loading.Finish();
}

void TWelcomForm::ShowOpenPage(bool leftToRight) {
  leftToRight_ = leftToRight;
  myShape1_->hide();
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  delete text_;
  // The labels live on a transparent layer of their own, so a refresh replaces them whole.
  text_ = new QWidget(this);
  text_->setObjectName(QStringLiteral("OpenPageText"));
  text_->setGeometry(rect());
  TGUITextBuilder builder;
  builder.RightToLeft = !leftToRight;
  builder.Anchors = leftToRight ? TAnchors(TAnchorKind::Left | TAnchorKind::Top)
                                : TAnchors(TAnchorKind::Top | TAnchorKind::Right);
  builder.Parse(strings_.GetString(QStringLiteral("WelcomeFormOpenPage")));
  builder.LayoutInRect(text_, {10, 7, width() - 11, height()});
  text_->show();
  image3_->raise();
}

void TWelcomForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The text flows again in the new width (the view host stretches the page).
  if (text_) Guarded([this] { ShowOpenPage(leftToRight_); });
}

void TWelcomForm::ApplyLeftToRight() {
  for (QWidget* control : {static_cast<QWidget*>(image3_), panel1_}) {
    SetAnchors(control, TAnchorKind::Left | TAnchorKind::Top);
    control->move(width() - control->x() - control->width(), control->y());
    control->setLayoutDirection(Qt::LeftToRight);
  }
  setLayoutDirection(Qt::LeftToRight);
}

void TWelcomForm::ClearLetter() {
  if (ClearLetterHandler) ClearLetterHandler();
}

QList<QWidget*> TWelcomForm::TextLabels() const {
  return text_ ? text_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly) : QList<QWidget*>();
}

}  // namespace zabko
