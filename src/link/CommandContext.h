#pragma once

#include <atomic>
#include <cstdint>
#include <span>

#include <QString>

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

  bool Stopped() const { return stop.load(); }
};

}  // namespace rkvt
