#pragma once
// What every road through the real program shares: the emulated modem, the
// program started from a placement file in a private folder, a plain style.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QSettings>
#include <QStyleFactory>
#include <QTest>
#include <memory>

#include "app/Application.h"
#include "app/QtMainWindow.h"
#include "mainwin/TFormMain.h"
#include "sim/ModemEmulator.h"
#include "sim/SimOptions.h"

namespace rkvt::test {

// Only against a hang: every wait ends on its event.
inline constexpr int kHangGuardMs = 600000;

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

// Clicks a main-window button; true once its command, and whatever it chains into, has ended.
inline bool Run(Application& program, const char* button) {
  program.MainWindow().findChild<QPushButton*>(QLatin1String(button))->click();
  return QTest::qWaitFor([&] { return !program.FormMain().CommandRunning(); }, kHangGuardMs);
}

// Fusion paints group frames by scaling a pixmap on Qt's thread pool, a
// hand-over ThreadSanitizer cannot see; the roads check behaviour, not looks.
struct PlainStyleTest : testing::Test {
  static void SetUpTestSuite() { QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows"))); }
};

}  // namespace rkvt::test
