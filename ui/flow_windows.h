// The windows the connection flow works through, made once at start-up: the progress window,
// the message box (which hides the progress window while it is open) and the download dialog.
// FillServices hands them to the flow as its window interfaces.
#pragma once

#include "ui/download_form.h"
#include "ui/message_form.h"
#include "ui/zabko_progress_form.h"

namespace zabko {

struct TFlowServices;

class TFlowWindows {
 public:
  // MainWindow: the window the progress window and the boxes belong to (may be none).
  TFlowWindows(TNManager* manager, const TZabkolexStrings& strings, QWidget* mainWindow = nullptr);

  // The English layout of the progress window and the message box.
  void ApplyLeftToRight();
  // Sets the flow's progress runner, message service and file-list download to these windows.
  void FillServices(TFlowServices& services);

  TZabkoProgressForm& Progress() { return progress_; }
  TMessageForm& Messages() { return messages_; }
  TDownloadDialog& Download() { return download_; }

 private:
  TZabkoProgressForm progress_;
  TMessageForm messages_;
  TDownloadDialog download_;
};

}  // namespace zabko
