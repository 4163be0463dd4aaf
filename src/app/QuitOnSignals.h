#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace rkvt {

// SIGTERM (logout, shutdown, kill), SIGHUP and SIGINT end the program the way
// closing its main window does: the call runs on the user-interface thread,
// so the running command is stopped and waited for, the settings are saved
// and the log gets its last line. One instance at a time.
class QuitOnSignals : public QObject {
 public:
  explicit QuitOnSignals(std::function<void()> onSignal);
  ~QuitOnSignals() override;
  QuitOnSignals(const QuitOnSignals&) = delete;
  QuitOnSignals& operator=(const QuitOnSignals&) = delete;

 private:
  std::function<void()> onSignal_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace rkvt
