// What the connection flow needs of the main window, the log-on dialog and the clock, beside the
// windows of flow_ui.h. ui/ implements them; tests implement them with fakes.
#pragma once

#include "core/date_time.h"

#include <QString>

#include <vector>

namespace zabko {

class TDataPacket;
class TZabkolexFlow;

// The main window as the flow sees it.
class IMainWindowHooks {
 public:
  virtual ~IMainWindowHooks() = default;
  // "Users\" + the client's user key + ".answers", resolved in the data folder.
  virtual QString GetAnswersFileName() = 0;
  // The same with ".data": the last log-off reply.
  virtual QString GetUserDataFileName() = 0;
  // One follow state (0, 1 or 2) per language pack, sent with the log-off.
  virtual std::vector<qint32> GetFollowStates() = 0;
  // The hot words that arrived after log-on (may be an empty packet).
  virtual void SetHotWords(const TDataPacket& hotWords) = 0;
  // The connection error box ("ErrorDetection", "ConnectionError", the home page link).
  virtual void ShowConnectionError() = 0;
  // The plain message "Server is of invalid type.".
  virtual void ShowInvalidServer() = 0;
};

class ILoginDialog {
 public:
  virtual ~ILoginDialog() = default;
  // Shows the log-on dialog modally with the flow handed to it; true when it closed with OK.
  virtual bool RunLoginDialog(TZabkolexFlow& flow) = 0;
};

class IFlowClock {
 public:
  virtual ~IFlowClock() = default;
  // The local date and time.
  virtual TDateTime Now() = 0;
  // Waits while events run (painting, timers).
  virtual void Wait(int ms) = 0;
};

// The clock of the running program: the system's local time, and waits in a nested event loop.
class TSystemFlowClock : public IFlowClock {
 public:
  TDateTime Now() override;
  void Wait(int ms) override;
};

}  // namespace zabko
