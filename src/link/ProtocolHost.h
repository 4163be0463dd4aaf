#pragma once

#include <QString>

namespace rkvt {

// What a worker reports to the window that started it. Every call runs on
// the user-interface thread while the worker waits for it to return.
class ProtocolHost {
 public:
  virtual ~ProtocolHost() = default;
  virtual void ShowStatusText(const QString& text) = 0;
  virtual void ShowProgress(int progress) = 0;
  virtual void Beep() = 0;
  // Why the text just shown came about and what to do (a port error's
  // reason); for the message line's tooltip and the command line's error line.
  virtual void ShowStatusDetail(const QString& detail) {}
};

}  // namespace rkvt
