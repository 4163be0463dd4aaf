#pragma once

#include <atomic>
#include <cstdint>
#include <span>

#include <QString>

#include "link/FrameFault.h"
#include "link/LinkRoutines.h"

namespace rkvt {

// What a running command may use of its worker.
class WorkerServices {
 public:
  virtual ~WorkerServices() = default;
  virtual void ShowStatusText(const QString& text) = 0;
  virtual void ShowProgress(int progress) = 0;
  // A wait on the worker thread; the user-interface thread stays free.
  virtual void Pause(int ms) = 0;
};

struct CommandContext {
  LinkRoutines& link;
  std::span<std::uint8_t> reply;
  bool local;
  const std::atomic<bool>& stop;
  int softwareLevel;
  WorkerServices& worker;
  // The firmware image for the transfer commands; empty for the others.
  std::span<const std::uint8_t> image;
  // Why the command's last exchange failed; the worker hands it on.
  FrameFault fault{};

  bool Stopped() const { return stop.load(); }
  // Keeps the fault of a failed exchange and passes its outcome on.
  template <typename Outcome>
  bool Ok(const Outcome& outcome) {
    if (!outcome) fault = outcome.fault;
    return static_cast<bool>(outcome);
  }
};

}  // namespace rkvt
