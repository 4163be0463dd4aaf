#pragma once

#include <QStringList>
#include <cstdint>
#include <span>

#include "mainwin/MainWindowControls.h"

namespace rkvt::cli {

// The main window's texts for a reply, made by the window's own decoders so
// that a technician reads the same words on the command line.
class WindowTexts {
 public:
  // After identification results 1 and 2: modem and version.
  QStringList Identification(std::span<const std::uint8_t> block);
  // After a statistics read (result 25): the State group, the statistics,
  // then the lamps of the interface's panels. Needs the identification first.
  QStringList Statistics(std::span<const std::uint8_t> block, bool local);

 private:
  MainWindowControls controls_;
  std::int32_t level_ = 0;
  std::int32_t variant_ = 0;
  int interfaceCode_ = 0;
};

}  // namespace rkvt::cli
