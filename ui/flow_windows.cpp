#include "ui/flow_windows.h"

#include "net/zabkolex_flow.h"

namespace zabko {

TFlowWindows::TFlowWindows(TNManager* manager, const TZabkolexStrings& strings, QWidget* mainWindow)
    : progress_(manager, mainWindow), messages_(manager, strings, mainWindow), download_(mainWindow) {
  messages_.SetProgressForm(&progress_);
  download_.SetProgressForm(&progress_);
}

void TFlowWindows::ApplyLeftToRight() {
  progress_.ApplyLeftToRight();
  messages_.ApplyLeftToRight();
}

void TFlowWindows::FillServices(TFlowServices& services) {
  services.progress = &progress_;
  services.messages = &messages_;
  services.download = &download_;
}

}  // namespace zabko
