// What the main window's frames (the bars and the side panels) need of the main window. The main
// window implements it and hands itself to each frame it creates; tests implement it with a
// recorder. The frames reach everything else through Central().
#pragma once

#include "core/language_pack.h"

#include <QString>

class QWidget;

namespace zabko {

class IFlowClock;
class ILetterButton;
class IMessageService;
class IProgressRunner;
class TLanguagePack;
class TZabkolexFlow;

class IFrameHost {
 public:
  virtual ~IFrameHost() = default;

  // Makes the current view the active control, so that no edit box keeps the focus.
  virtual void FocusCurrentView() = 0;
  // Makes the pack with that language code current and lets the side panels follow it.
  virtual void SelectLanguagePack(int languageCode) = 0;
  // Shows the current view again for the current pack and letter.
  virtual void RefreshView() = 0;
  // Asked before the letters bar switches the language pack; false keeps the current pack.
  virtual bool LeaveViewForSwitch() = 0;

  // The language packs' letter callbacks: asked before a letter button takes a click, and told
  // after the click made the letter the selected one.
  virtual bool CanChangeLetter(TLanguagePack& pack, ILetterButton* button) = 0;
  virtual void LetterChosen(TLanguagePack& pack, ILetterButton* button) = 0;

  // The word summary: a list of words (each item a headword and its word), and a list of
  // strings whose items carry their words (items without a word are not passed).
  virtual void ShowWords(const QString& title, const TWordItemList& words) = 0;
  virtual void ShowStringList(const QString& title, const TWordItemList& list) = 0;

  // A side panel collapsed or expanded: the left column is stacked again.
  virtual void StackLeftPanel(QWidget* changedFrame) = 0;

  // The services the frames run their jobs, boxes, clock and uploads through.
  virtual IProgressRunner& ProgressRunner() = 0;
  virtual IMessageService& MessageService() = 0;
  virtual IFlowClock& FlowClock() = 0;
  virtual TZabkolexFlow& Flow() = 0;
};

}  // namespace zabko
