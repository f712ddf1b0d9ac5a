// How to play: seven sections, each a rounded box with its header at the right and the
// paragraph to its left, and a close button. The texts come from the game's text table.
#pragma once

#include "game/game_dialog.h"

namespace zabko {

class TInstructionsForm : public TGameDialog {
  Q_OBJECT

 public:
  static constexpr int kSections = 7;

  explicit TInstructionsForm(TZabkoGameMainForm& main);

  void NButton1Click();
  // Headers "InstructionsForm.Header<n>" and paragraphs "InstructionsForm.Text<n>", n = 1..7.
  void LoadTexts();
  // Sets both captions; the box keeps its right edge and gets the header's width + 16, the header
  // stands 8 pixels inside the box's left edge, and the paragraph ends 5 pixels left of the box.
  void LayoutSection(const QString& header, const QString& text, TTntLabel* textLabel, TTntLabel* headerLabel,
                     TMyShape* box);
};

}  // namespace zabko
