// What the game's windows over the start and play screens share: the main window they belong to
// (its skin manager, texts, server client and progress dialog), a rounded background shape
// `Backshape` that a modal dialog is clipped to, a caption bar, plain labels and the skin buttons
// cut from one sheet of captioned buttons per window. Everything reads right to left.
#pragma once

#include "ui/modal_form.h"
#include "ui/win_color.h"

#include <QRect>
#include <QString>

namespace zabko {

class TMyShape;
class TNBitmapComponent;
class TNManager;
class TNButton;
class TNStatic;
class TTntLabel;
class TZabkoGameMainForm;

// The colours of the game's dialogs (Windows colour values).
inline constexpr TColor kDialogFace = 0xF3ECD9;     // the shape's fill
inline constexpr TColor kDialogOutline = 0x724F1B;  // its outline and the headers' ink
inline constexpr TColor kDialogInk = 0x333333;
inline constexpr int kDialogRadius = 30;  // corner ellipse width and height

// A label of the game's dialogs: Arial of PixelHeight, right-aligned, transparent. AutoSize off:
// the geometry stays as given.
TTntLabel* MakeDialogLabel(QWidget* parent, const char* name, const QRect& geometry, const QString& caption,
                           int pixelHeight = 15, bool bold = false);
// A sprite button of Sheet whose sheet column starts at X.
TNButton* MakeSheetButton(QWidget* parent, const char* name, TNManager* manager, TNBitmapComponent* sheet, int x,
                          const QRect& geometry);
// The sprite sheet component Filename of Manager, owned by Owner.
TNBitmapComponent* MakeSheet(QObject* owner, const char* name, TNManager* manager, const QString& filename);

class TGameDialog : public TModalForm {
  Q_OBJECT

 public:
  // The shared button sheet of the dialogs: close, OK, cancel and send, each 100 x 30.
  static constexpr int kButtonWidth = 100, kButtonHeight = 30;
  enum TDialogButton { dbClose = 0, dbOk = 1, dbCancel = 2, dbSend = 3 };

  TGameDialog(TZabkoGameMainForm& main, const QString& name, int width, int height);

  TZabkoGameMainForm& Main() const { return main_; }
  TMyShape* Backshape() const { return backshape_; }
  TNManager* Manager() const;

 protected:
  // The caption bar across the top of the shape, with Text in white.
  TNStatic* MakeCaptionPanel(const QString& text);
  // A button of the shared sheet.
  TNButton* MakeDialogButton(const char* name, TDialogButton kind, int left, int top);
  // Clips the window to the rounded rectangle of Backshape, one pixel wider and higher, with the
  // shape's corner radii. Called at the end of a dialog's construction.
  void ClipToBackshape();
  // Esc closes a dialog in its modal loop as its close or cancel button would.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TZabkoGameMainForm& main_;
  TMyShape* backshape_ = nullptr;
  TNBitmapComponent* buttons_ = nullptr;
};

}  // namespace zabko
