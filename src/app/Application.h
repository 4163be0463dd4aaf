#pragma once

#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

#include "link/LinkTimings.h"

namespace rkvt {

class QtMainWindow;
class QtSetupWindow;
class TFormSetup;
class TFormMain;
class TFormSoftware;

// The program's modules in their start-up order, released in reverse:
// the non-visual module (port settings from the placement file, timers);
// the main window with its placement and configuration files; the setup
// and update windows, hidden. The event loop runs between construction and
// destruction; closing the main window ends it.
class Application {
 public:
  struct Options {
    QString placementDirectory;  // empty: the platform's place for R-Kvt-ms.ini
    QString workingDirectory;    // empty: the current directory (the .cfg file)
    LinkTimings timings;
    // Overrides the placement file's port for this run only (tools, tests).
    std::optional<QString> port;
  };

  Application();
  explicit Application(Options options);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  void Show();

  QtMainWindow& MainWindow();
  TFormMain& FormMain();
  QtSetupWindow& SetupWindow();
  TFormSetup& FormSetup();
  QWidget& UpdateWindow();
  TFormSoftware& FormSoftware();

  // How long the program waits at its end for a command it has stopped.
  static constexpr int kShutdownWaitMs = 5000;

 private:
  struct NonVisual;
  struct Main;
  struct Shells;

  std::unique_ptr<NonVisual> nonVisual_;
  std::unique_ptr<Main> main_;
  std::unique_ptr<Shells> shells_;
};

}  // namespace rkvt
