#pragma once
// What every road through the real program shares: the emulated modem, the
// program started from a placement file in a private folder, a plain style.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStyleFactory>
#include <memory>

#include "app/Application.h"
#include "sim/ModemEmulator.h"
#include "sim/SimOptions.h"

namespace rkvt::test {

// A modem as the emulator program builds it from its options.
inline sim::ModemModel EmulatedModem(std::vector<std::string> options = {}) {
  options.insert(options.begin(), {"--link", "unused"});
  return std::get<sim::ModemModel>(sim::BuildModel(std::get<sim::SimOptions>(sim::ParseSimOptions(options))));
}

// The program with its placement file naming `port`, all its files in `dir`.
inline std::unique_ptr<Application> StartProgram(const QString& dir, const QString& port,
                                                 LinkTimings timings = {150, 1500, 3}) {
  QSettings(dir + "/R-Kvt-ms.ini", QSettings::IniFormat).setValue("ComPort/Port", port);
  auto program = std::make_unique<Application>(
      Application::Options{.placementDirectory = dir, .workingDirectory = dir, .timings = timings});
  program->Show();
  return program;
}

// Fusion paints group frames by scaling a pixmap on Qt's thread pool, a
// hand-over ThreadSanitizer cannot see; the roads check behaviour, not looks.
struct PlainStyleTest : testing::Test {
  static void SetUpTestSuite() { QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows"))); }
};

}  // namespace rkvt::test
