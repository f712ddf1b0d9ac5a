// The one skinned message box of the program. Its text is markup (gui_text_builder.h) and may
// carry link runs: a link numbered n opens entry n of the box's links with the desktop's
// handler, and the box stays open. While the box is up, the window it belongs to is covered by
// a grey translucent overlay and the progress window is hidden; both come back afterwards.
//
// The box starts 350 pixels wide for its text and grows sideways by 150 until the text fits in
// the band from 20 to 65, as long as widening lowers the number of lines the text takes and the
// box stays within the screen's available width; from there it grows downward instead, and past
// the tallest whatever is left is cut off, so every text ends the growth.
#pragma once

#include "net/flow_ui.h"
#include "ui/alpha_blend_form.h"
#include "ui/modal_form.h"

#include <QPointer>
#include <QStringList>

#include <functional>

namespace zabko {

class TNBitmapComponent;
class TNButton;
class TNManager;
class TNStatic;
class TProgressRunnerForm;
class TZabkolexStrings;

class TMessageForm : public TModalForm, public IMessageService {
  Q_OBJECT

 public:
  static constexpr int kStartWidth = 350;
  static constexpr int kWidthStep = 150;
  static constexpr int kMaxTextWidth = kStartWidth + 6 * kWidthStep;
  static constexpr int kHeightStep = 20;
  static constexpr int kMaxExtraHeight = 20 * kHeightStep;
  static constexpr int kTextTop = 20;
  static constexpr int kTextBottom = 65;
  static constexpr int kTextMargin = 30;
  static constexpr int kMarkWidth = 98;
  static constexpr int kButtonTop = 67;
  static constexpr int kNoLeft = 8;
  static constexpr int kYesLeft = 96;
  static constexpr int kDesignWidth = 725;
  static constexpr int kDesignHeight = 107;
  static constexpr int kOverlayAlpha = 50;
  // Room kept beside the box for the window frame while its real size is not known yet.
  static constexpr int kFrameAllowance = 16;

  // Manager: the skin ("Popup\..." bitmaps; a missing one fails the construction). Strings:
  // the button captions. Both must outlive the box.
  TMessageForm(TNManager* manager, const TZabkolexStrings& strings, QWidget* parent = nullptr);

  // The box with the buttons of Flags (TMessageButton) and the text's links; true when it closed
  // with OK (the yes button, whatever its caption). The download button opens link 0, when
  // there is one, and answers false. A box asked for while this one is open (an error reported
  // from a timer meanwhile) shows in a second box of the same kind over it.
  bool ShowMessageBox(const QString& caption, const QString& text, int flags, const QStringList& links);
  // An OK box.
  void ShowMessageWithLinks(const QString& caption, const QString& text, const QStringList& links) override;
  // ShowMessageBox without links, then pending events are processed.
  bool AskYesNo(const QString& caption, const QString& text, int flags) override;

  // The English layout: the mark at the left, the buttons at the right.
  void ApplyLeftToRight();
  // The progress window hidden while a box is open (none: nothing is hidden).
  void SetProgressForm(TProgressRunnerForm* form) { progressForm_ = form; }

  // Opens a link's target; by default the desktop's handler (only http and https links and
  // existing files are opened). A failure is not reported.
  std::function<bool(const QString&)> LinkOpener;

  // The text laid out for Caption and Text, and the box sized to it.
  void Prepare(const QString& caption, const QString& text);
  // The buttons of the flags shown, captioned and placed.
  void SetButtons(int flags);

  const QStringList& Links() const { return links_; }
  bool RightToLeft() const { return rightToLeft_; }
  TNStatic* Bkg() const { return bkg_; }
  TNStatic* Mark() const { return mark_; }
  TNButton* NoBtn() const { return noBtn_; }
  TNButton* YesBtn() const { return yesBtn_; }
  TNButton* DownloadBtn() const { return downloadBtn_; }
  // The overlay while the box is up, else none.
  TAlphaBlendForm* Overlay() const { return overlay_; }

 protected:
  // Return presses the yes button when it shows; Escape the no button when it shows, else the
  // yes button. No key presses the download button.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Lays the text out for a text width and band bottom; answers the bottom of what was placed.
  int LayoutText(const QString& text, int width, int bottom, bool& overflow);
  // The height the whole text takes at a text width.
  int TextHeight(const QString& text, int width);
  // The widest text the box may have on its screen.
  int WidestText() const;
  void AlignPanels();
  void YesBtnClick();
  void NoBtnClick();
  void DownloadBtnClick();
  void LinkClick(QObject* sender);
  void OpenLink(int number);

  TNManager* manager_;
  const TZabkolexStrings& strings_;
  TNStatic* bkg_ = nullptr;
  TNStatic* mark_ = nullptr;
  TNBitmapComponent* btnCmp_ = nullptr;
  TNButton* noBtn_ = nullptr;
  TNButton* yesBtn_ = nullptr;
  TNButton* downloadBtn_ = nullptr;
  bool rightToLeft_ = true;
  int yesOffset_ = kYesLeft - kNoLeft;  // YesBtn's left relative to NoBtn's when both show
  int extraHeight_ = 0;
  QStringList links_;
  QPointer<TProgressRunnerForm> progressForm_;
  QPointer<TAlphaBlendForm> overlay_;
};

}  // namespace zabko
