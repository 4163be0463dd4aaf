#pragma once

#include <cstdint>
#include <span>

#include <QString>

#include "mainwin/MainWindowControls.h"

namespace rkvt::cli {

// Turns each loop page of a running test into one line with the fields the
// main window shows for that test, decoded by the window's own decoders.
class LoopCounters {
 public:
  // identification: the exchange block after the identification.
  LoopCounters(int testIndex, std::span<std::uint8_t> identification);

  std::int32_t SoftwareLevel() const { return level_; }
  // "State Normal; Line quality A; Rd time 0:00:03; ..." from a block after result 50.
  QString Line(std::span<std::uint8_t> block);

 private:
  MainWindowControls controls_;
  int testIndex_;
  std::int32_t level_ = 0;
  std::int32_t variant_ = 0;
  int interfaceCode_ = 0;
  bool firstLine_ = true;
};

}  // namespace rkvt::cli
