#include "ui/message_form.h"

#include "core/zabkolex_strings.h"
#include "platform/gui/window_helpers.h"
#include "platform/shell.h"
#include "ui/alpha_blend_form.h"
#include "ui/anchors.h"
#include "ui/component.h"
#include "ui/form_loading.h"
#include "ui/gui_text_builder.h"
#include "ui/n_base.h"
#include "ui/n_button.h"
#include "ui/tnt_label.h"
#include "ui/win_font.h"
#include "ui/progress_runner_form.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include <limits>

namespace zabko {

namespace {

constexpr TColor kButtonFontColor = 3355443;
constexpr int kButtonWidth = 81;
constexpr int kButtonHeight = 32;
constexpr int kYesSpriteX = 81;
constexpr int kContinueSpriteX = 162;

void StyleButton(TNButton* button, TNManager* manager, TNBitmapComponent* sheet, int size, int x, int deltaX) {
  button->SetManager(manager);
  button->SetBitmapComponent(sheet);
  button->SetSize(size);
  button->SetX(x);
  button->SetY(0);
  button->SetDeltaYPlain(-2);
  button->SetDeltaYOver(-1);
  button->SetDeltaYDown(-1);
  button->SetDeltaX(deltaX);
  button->setFont(WinFont(QStringLiteral("Arial"), 0, 17, TFontStyle::Bold));
  SetFontColor(button, kButtonFontColor);
}

// The shared measuring surface, or for the time of one layout a surface over the box's own
// font, so that a box shown before the main window set one still shows its text.
class TMeasureScope {
 public:
  explicit TMeasureScope(const QFont& font) : fallback_(font) {
    try {
      MeasureCanvas();
    } catch (...) {
      SetMeasureCanvas(&fallback_);
      installed_ = true;
    }
  }
  ~TMeasureScope() {
    if (installed_) SetMeasureCanvas(nullptr);
  }

 private:
  TCanvasTextMeasure fallback_;
  bool installed_ = false;
};

}  // namespace

TMessageForm::TMessageForm(TNManager* manager, const TZabkolexStrings& strings, QWidget* parent)
    : TModalForm(parent, QStringLiteral("MessageForm")), LinkOpener(OpenDocumentOrLink), manager_(manager), strings_(strings) {
  resize(kDesignWidth, kDesignHeight);
  setLayoutDirection(Qt::RightToLeft);
  setFont(WinFont(QStringLiteral("Arial"), 0, -15));

  TFormLoading loading(this);
  bkg_ = new TNStatic(this, QStringLiteral("Bkg"));
  bkg_->SetManager(manager);
  bkg_->SetBackgroundName(QStringLiteral("Popup\\Background.bmp"));
  bkg_->SetTile(true);

  mark_ = new TNStatic(this, QStringLiteral("NStatic1"));
  mark_->SetManager(manager);
  mark_->SetBackgroundName(QStringLiteral("Popup\\Mark.bmp"));
  AlignPanels();

  btnCmp_ = new TNBitmapComponent(this, QStringLiteral("BtnCmp"));
  btnCmp_->SetManager(manager);
  btnCmp_->SetFilename(QStringLiteral("Popup\\PopupBtns.bmp"));

  noBtn_ = new TNButton(this, QStringLiteral("NoBtn"));
  noBtn_->setGeometry(kNoLeft, kButtonTop, kButtonWidth, kButtonHeight);
  StyleButton(noBtn_, manager, btnCmp_, 27, 0, 10);
  noBtn_->SetCaption(QString::fromUtf8("לא"));

  yesBtn_ = new TNButton(this, QStringLiteral("YesBtn"));
  yesBtn_->setGeometry(kYesLeft, kButtonTop, kButtonWidth, kButtonHeight);
  StyleButton(yesBtn_, manager, btnCmp_, 27, kYesSpriteX, 10);
  yesBtn_->SetCaption(QString::fromUtf8("כן"));

  downloadBtn_ = new TNButton(this, QStringLiteral("DownloadBtn"));
  downloadBtn_->setGeometry(480, kButtonTop, 139, kButtonHeight);
  StyleButton(downloadBtn_, manager, btnCmp_, 15, 243, 0);
  downloadBtn_->SetCaption(QString::fromUtf8("הורד גרסה מעודכנת"));
  SetAnchors(downloadBtn_, TAnchorKind::Top | TAnchorKind::Right);
  loading.Finish();

  connect(noBtn_, &TNBase::OnClick, this, &TMessageForm::NoBtnClick);
  connect(yesBtn_, &TNBase::OnClick, this, &TMessageForm::YesBtnClick);
  connect(downloadBtn_, &TNBase::OnClick, this, &TMessageForm::DownloadBtnClick);
}

void TMessageForm::AlignPanels() {
  // The mark takes its side, the background the rest of the client area.
  const int textWidth = qMax(0, width() - kMarkWidth);
  const int markLeft = rightToLeft_ ? textWidth : 0;
  mark_->setGeometry(markLeft, 0, kMarkWidth, height());
  bkg_->setGeometry(rightToLeft_ ? 0 : kMarkWidth, 0, textWidth, height());
}

int TMessageForm::LayoutText(const QString& text, int width, int bottom, bool& overflow) {
  const QList<TTntLabel*> old = bkg_->findChildren<TTntLabel*>(QString(), Qt::FindDirectChildrenOnly);
  for (auto it = old.rbegin(); it != old.rend(); ++it) delete *it;

  TGUITextBuilder builder;
  builder.RightToLeft = rightToLeft_;
  builder.LinkHandler = [this](QObject* sender) { LinkClick(sender); };
  builder.Parse(text);
  const TNRect rect = rightToLeft_ ? TNRect{kTextMargin, kTextTop, width, bottom}
                                   : TNRect{0, kTextTop, width - kTextMargin, bottom};
  builder.LayoutInRect(bkg_, rect);
  // Centred in the band from the top of the box to its bottom (halved toward zero).
  const int shift = (bottom - kTextTop - builder.LastY) / 2;
  for (TTntLabel* label : builder.CreatedLabels()) label->move(label->x(), label->y() + shift);
  overflow = builder.Overflow;
  return builder.LastY;
}

int TMessageForm::TextHeight(const QString& text, int width) {
  bool overflow = false;
  return LayoutText(text, width, std::numeric_limits<int>::max() / 2, overflow);
}

int TMessageForm::WidestText() const {
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return kMaxTextWidth;
  const int frame = qMax(frameGeometry().width() - geometry().width(), kFrameAllowance);
  return qBound(kStartWidth, screen->availableGeometry().width() - frame - kMarkWidth, kMaxTextWidth);
}

void TMessageForm::Prepare(const QString& caption, const QString& text) {
  setWindowTitle(caption);
  TMeasureScope measure(font());
  const int widest = WidestText();
  int width = kStartWidth;
  int extra = 0;
  bool overflow = false;
  LayoutText(text, width, kTextBottom, overflow);
  // Sideways while that takes lines off (forced line breaks never go), within the screen.
  if (overflow) {
    int height = TextHeight(text, width);
    while (width + kWidthStep <= widest) {
      const int wider = TextHeight(text, width + kWidthStep);
      if (wider >= height) break;
      width += kWidthStep;
      height = wider;
      LayoutText(text, width, kTextBottom, overflow);
      if (!overflow) break;
    }
  }
  // Then downward.
  while (overflow && extra < kMaxExtraHeight) {
    extra += kHeightStep;
    LayoutText(text, width, kTextBottom + extra, overflow);
  }
  LayoutText(text, width, kTextBottom + extra, overflow);
  setFixedSize(width + kMarkWidth, kDesignHeight + extra);
  AlignPanels();
  ApplyAnchors(this);
  for (TNButton* button : {noBtn_, yesBtn_, downloadBtn_}) button->move(button->x(), kButtonTop + extra);
  extraHeight_ = extra;
}

void TMessageForm::SetButtons(int flags) {
  const bool showNo = flags & (kButtonNo | kButtonCancel);
  if (flags & kButtonNo) {
    noBtn_->SetCaption(strings_.GetString(QStringLiteral("NoBtn")));
  } else if (flags & kButtonCancel) {
    noBtn_->SetCaption(strings_.GetString(QStringLiteral("CancelBtn")));
  }
  noBtn_->setVisible(showNo);

  yesBtn_->SetX(kYesSpriteX);
  if (flags & kButtonYes) {
    yesBtn_->SetCaption(strings_.GetString(QStringLiteral("YesBtn")));
  } else if (flags & kButtonOK) {
    yesBtn_->SetCaption(strings_.GetString(QStringLiteral("OkBtn")));
  } else if (flags & kButtonContinue) {
    yesBtn_->SetCaption(strings_.GetString(QStringLiteral("ContinueBtn")));
    yesBtn_->SetX(kContinueSpriteX);
  }
  yesBtn_->setVisible(flags & (kButtonYes | kButtonOK | kButtonContinue));
  // Alone, the yes button takes the no button's place.
  yesBtn_->move(showNo ? noBtn_->x() + yesOffset_ : noBtn_->x(), yesBtn_->y());

  downloadBtn_->setVisible(flags & kButtonDownload);
}

bool TMessageForm::ShowMessageBox(const QString& caption, const QString& text, int flags, const QStringList& links) {
  if (InModalLoop()) {
    TMessageForm nested(manager_, strings_, parentWidget());
    nested.LinkOpener = LinkOpener;
    nested.SetProgressForm(progressForm_);
    if (!rightToLeft_) nested.ApplyLeftToRight();
    return nested.ShowMessageBox(caption, text, flags, links);
  }
  links_ = links;
  struct Cleanup {
    TMessageForm* form;
    bool hidProgress = false;  // only a hide that happened is undone
    ~Cleanup() {
      form->hide();
      delete form->overlay_.data();
      if (hidProgress) form->progressForm_->RestoreAfterMessage();
      QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
  } cleanup{this};
  Prepare(caption, text);
  SetButtons(flags);
  CenterOnScreen();
  // The window to cover is told before hiding the progress window changes which one is active.
  // With none active (right after another box, the window system hands activation back late)
  // the box covers the window it belongs to.
  QWidget* active = FindActiveForm();
  if (!active || active == this) active = parentWidget();
  if (progressForm_) {
    progressForm_->HideForMessage();
    cleanup.hidProgress = true;
  }
  overlay_ = CreateDimmer(kDimmerGrey, kOverlayAlpha, true, DimmerTarget(active));
  return ShowModal() == mrOk;
}

void TMessageForm::ShowMessageWithLinks(const QString& caption, const QString& text, const QStringList& links) {
  ShowMessageBox(caption, text, kButtonOK, links);
}

bool TMessageForm::AskYesNo(const QString& caption, const QString& text, int flags) {
  const bool answer = ShowMessageBox(caption, text, flags, {});
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  return answer;
}

void TMessageForm::ApplyLeftToRight() {
  rightToLeft_ = false;
  setLayoutDirection(Qt::LeftToRight);
  AlignPanels();
  const int w = width();
  noBtn_->move(w - noBtn_->width() - kNoLeft, noBtn_->y());
  yesBtn_->move(w - yesBtn_->width() - kYesLeft, yesBtn_->y());
  yesOffset_ = yesBtn_->x() - noBtn_->x();
  SetAnchors(noBtn_, TAnchorKind::Top | TAnchorKind::Right);
  SetAnchors(yesBtn_, TAnchorKind::Top | TAnchorKind::Right);
  // The download button goes to the other side too, beside the mark, clear of the others.
  downloadBtn_->move(w - downloadBtn_->x() - downloadBtn_->width(), downloadBtn_->y());
  SetAnchors(downloadBtn_, TAnchorKind::Top | TAnchorKind::Left);
}

void TMessageForm::keyPressEvent(QKeyEvent* event) {
  TNButton* pressed = nullptr;
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (yesBtn_->isVisible()) pressed = yesBtn_;
      break;
    case Qt::Key_Escape:
      pressed = noBtn_->isVisible() ? noBtn_ : yesBtn_->isVisible() ? yesBtn_ : nullptr;
      break;
    default:
      break;
  }
  if (!pressed) {
    TModalForm::keyPressEvent(event);
    return;
  }
  event->accept();
  if (pressed == yesBtn_) YesBtnClick();
  else NoBtnClick();
}

void TMessageForm::YesBtnClick() { SetModalResult(mrOk); }

void TMessageForm::NoBtnClick() { SetModalResult(mrCancel); }

void TMessageForm::DownloadBtnClick() {
  OpenLink(0);
  SetModalResult(mrCancel);
}

void TMessageForm::LinkClick(QObject* sender) { OpenLink(Tag(sender)); }

void TMessageForm::OpenLink(int number) {
  // Link numbers come from the text; one without an entry opens nothing.
  if (number < 0 || number >= links_.size() || !LinkOpener) return;
  LinkOpener(links_[number]);
}

}  // namespace zabko
