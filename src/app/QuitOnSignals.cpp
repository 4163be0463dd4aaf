#include "app/QuitOnSignals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <csignal>
#endif

namespace rkvt {

#ifdef Q_OS_UNIX
namespace {

constexpr std::array kSignals{SIGTERM, SIGHUP, SIGINT};
// A handler may only write to a descriptor; the notifier reads it on the
// user-interface thread.
int gPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(gPipe[1], &byte, 1);
}

}  // namespace

QuitOnSignals::QuitOnSignals(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {
  if (::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] {
    char bytes[16];
    while (::read(gPipe[0], bytes, sizeof bytes) > 0) {
    }
    if (onSignal_) onSignal_();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int s : kSignals) sigaction(s, &action, nullptr);
}

QuitOnSignals::~QuitOnSignals() {
  if (!notifier_) return;
  for (int s : kSignals) std::signal(s, SIG_DFL);
  delete notifier_;
  ::close(gPipe[0]);
  ::close(gPipe[1]);
  gPipe[0] = gPipe[1] = -1;
}

#else

// Elsewhere the platform ends the program its own way.
QuitOnSignals::QuitOnSignals(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {}
QuitOnSignals::~QuitOnSignals() = default;

#endif

}  // namespace rkvt
