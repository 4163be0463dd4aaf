#pragma once

#include <QString>

namespace rkvt {

// What a worker reports to the user interface. Every call runs on the
// user-interface thread while the worker waits for it to return.
class ProtocolHost {
 public:
  virtual ~ProtocolHost() = default;
  // toUpdateWindow: the update window's message line instead of the main window's.
  virtual void ShowStatusText(const QString& text, bool toUpdateWindow) = 0;
  virtual void ShowProgress(int progress) = 0;
  virtual void Beep() = 0;
};

}  // namespace rkvt
