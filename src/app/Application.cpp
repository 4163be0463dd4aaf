#include "app/Application.h"

#include <QApplication>
#include <QDir>
#include <limits>

#include "app/CommandDrain.h"
#include "app/MainWindowHints.h"
#include "link/ProtocolRunner.h"
#include "mainwin/MainWindowLog.h"
#include "ui/widgets/QtBeeper.h"
#include "ui/QtClock.h"
#include "ui/widgets/QtFileOpenDialog.h"
#include "ui/widgets/QtHintRouter.h"
#include "app/QtMainWindow.h"
#include "app/QtSetupWindow.h"
#include "ui/widgets/QtPortDialog.h"
#include "support/TCfg.h"
#include "mainwin/TFormMain.h"
#include "support/TIni.h"
#include "support/TInvisible.h"
#include "app/QtUpdateWindow.h"
#include "firmware/TFormSoftware.h"

namespace rkvt {

namespace {

QString OrDefault(const QString& directory, const QString& fallback) {
  return directory.isEmpty() ? fallback : directory;
}

}  // namespace

// The serial port component reaches the placement file through its own
// handle, as it did before any window existed.
struct Application::NonVisual {
  explicit NonVisual(const Options& options)
      : portIni(OrDefault(options.placementDirectory, TIni::DefaultDirectory())), invisible(clock, portIni) {
    if (options.port) {
      storedPort = invisible.ComPort().name;
      invisible.ComPort().name = *options.port;
      overridePort = *options.port;
    }
  }
  ~NonVisual() {
    // An override is for this run; a port the user chose since is kept.
    if (overridePort && invisible.ComPort().name == *overridePort) invisible.ComPort().name = storedPort;
  }

  ui::QtClock clock;
  TIni portIni;
  TInvisible invisible;
  ui::QtFileOpenDialog openDialog;
  QString storedPort;
  std::optional<QString> overridePort;
};

struct Application::Main {
  Main(NonVisual& nv, const Options& options)
      : invisible(nv.invisible),
        ini(OrDefault(options.placementDirectory, TIni::DefaultDirectory())),
        cfg(OrDefault(options.workingDirectory, QDir::currentPath())),
        protocol(nv.invisible.ComPort(), options.timings),
        runner(protocol),
        form(nv.invisible, nv.clock, {.statisticsMs = cfg.StatInterval(), .loopMs = cfg.LoopInterval()}, runner,
             beeper, portDialog),
        window(form) {
    portDialog.SetParent(&window);
    nv.openDialog.SetParent(&window);
    ApplyMainWindowHints(form);

    QApplication::setApplicationName(QString::fromLatin1(TFormMain::kProgramTitle));
    window.SetCaption(form.Caption());
    form.OnCaptionChanged = [this](const QString& caption) { window.SetCaption(caption); };
    // Without a saved position the window manager places the window.
    constexpr int kUnset = std::numeric_limits<int>::min();
    WindowPlacement placement = window.Placement();
    placement.top = placement.left = kUnset;
    ini.LoadPlacement(window.objectName(), placement);
    if (placement.top != kUnset && placement.left != kUnset) window.ApplyPlacement(placement);

    // The log follows the configuration, which says whether to write one.
    log = std::make_unique<MainWindowLog>(form, cfg.CreateLogFiles(), options.workingDirectory);
    form.FormCreate();

    window.OnActivate = [this] { invisible.SetHintTarget(1); };
    invisible.SetHintSinks(&form.StatusBar, nullptr);
    router = std::make_unique<ui::QtHintRouter>(
        [this](const QString& hint) { invisible.ApplicationEventsHint(hint); },
        [this](QWidget* widget) { return window.FullTextTooltip(widget); });
  }

  ~Main() {
    runner.Drain(kShutdownWaitMs);
    router.reset();
    invisible.SetHintSinks(nullptr, nullptr);
    form.FormDestroy();
    ini.SavePlacement(window.objectName(), window.Placement());
  }

  TInvisible& invisible;
  TIni ini;
  TCfg cfg;
  ProtocolRunner protocol;
  CommandDrain runner;
  ui::QtBeeper beeper;
  ui::QtPortDialog portDialog;
  TFormMain form;
  QtMainWindow window;
  std::unique_ptr<ui::QtHintRouter> router;
  std::unique_ptr<MainWindowLog> log;
};

// The setup and update windows, both hidden until the main window shows them.
struct Application::Shells {
  Shells(NonVisual& nv, Main& main)
      : main(main),
        setupForm(main.runner, nv.clock, main.beeper),
        setup(setupForm, &main.window),
        software(main.runner, main.beeper, nv.openDialog, main.ini),
        update(software, &main.window) {
    TFormMain& form = main.form;
    setupForm.Main = {
        .setupClosed = [&form](ui::Color colour, const QString& text) { form.SetupClosed(colour, text); },
        .progressOn = [&form] { form.ProgressOn(); },
        .progressOff = [&form] { form.ProgressOff(); },
        .targetLocal = [&form] { return form.TargetLocal(); },
    };
    form.Windows.showSetup = [this, &form](const QString& caption, const QString& message,
                                           std::span<const std::uint8_t> record) {
      setupForm.EnterSetup(caption, message, record, {.level = form.SoftwareLevel(), .variant = form.ModemVariant()});
    };
    software.FormMain = {
        .firmwareTransferRunning = [&form](bool running) { form.FirmwareTransferRunning(running); },
        .updateWindowClosed = [&form] { form.UpdateWindowClosed(); },
        .softwareLevel = [&form] { return form.SoftwareLevel(); },
        .workingFirmware = [&form] { return form.WorkingFirmware(); },
    };
    form.Windows.showUpdate = [this] { update.ShowUpdate(); };
    form.Windows.closeUpdate = [this] {
      software.SetClosedByMainWindow();
      update.close();
    };
    stored = LoadPosition(setup);
    LoadPosition(update);
    setup.OnActivate = [&main] { main.invisible.SetHintTarget(2); };
    main.invisible.SetHintSinks(&main.form.StatusBar, &setupForm.StatusBarHelpLine);
  }
  ~Shells() {
    main.invisible.SetHintSinks(&main.form.StatusBar, nullptr);
    // A window never shown this run has no position of its own: keep the stored one.
    if (setup.EverShown()) main.ini.SavePlacement(setup.objectName(), setup.Placement());
    else if (stored) main.ini.SavePlacement(setup.objectName(), *stored);
    main.ini.SavePlacement(update.objectName(), update.Placement());
  }

  // Moves the window where the placement file has it; nothing without a position there.
  template <typename Window>
  std::optional<WindowPlacement> LoadPosition(Window& window) {
    constexpr int kUnset = std::numeric_limits<int>::min();
    WindowPlacement placement = window.Placement();
    placement.top = placement.left = kUnset;
    main.ini.LoadPlacement(window.objectName(), placement);
    if (placement.top == kUnset || placement.left == kUnset) return std::nullopt;
    window.ApplyPlacement(placement);
    return placement;
  }

  Main& main;
  std::optional<WindowPlacement> stored;
  TFormSetup setupForm;
  QtSetupWindow setup;
  TFormSoftware software;
  QtUpdateWindow update;
};

Application::Application() : Application(Options{}) {}

Application::Application(Options options)
    : nonVisual_(std::make_unique<NonVisual>(options)),
      main_(std::make_unique<Main>(*nonVisual_, options)),
      shells_(std::make_unique<Shells>(*nonVisual_, *main_)) {}

Application::~Application() {
  main_->form.Windows = {};
  shells_->setupForm.Main = {};
  main_->runner.Drain(kShutdownWaitMs);  // a setup exit may still run
  shells_.reset();
  main_.reset();
  nonVisual_.reset();  // stores the port settings
}

void Application::Show() { main_->window.show(); }

QtMainWindow& Application::MainWindow() { return main_->window; }
TFormMain& Application::FormMain() { return main_->form; }
QtSetupWindow& Application::SetupWindow() { return shells_->setup; }
TFormSetup& Application::FormSetup() { return shells_->setupForm; }
QWidget& Application::UpdateWindow() { return shells_->update; }
TFormSoftware& Application::FormSoftware() { return shells_->software; }

}  // namespace rkvt
