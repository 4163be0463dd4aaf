#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "link/CommandRunner.h"
#include "link/ProtocolHost.h"
#include "setup/SetupModel.h"
#include "setup/SetupResults.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/ParamListBox.h"
#include "ui/Timer.h"

namespace rkvt {

// The setup window's exchange block: request from byte 1, result in byte 0,
// a record in a reply from byte 2.
inline constexpr std::size_t kSetupBlockSize = 100;

// Every control of the setup window as a model, named as the control.
class SetupWindowControls : public QObject {
 public:
  SetupWindowControls();

  ui::ParamListBox ParamListBoxSetup{"ParamListBoxSetup"};
  ui::GroupBox GroupBoxProfiles{"GroupBoxProfiles", " Profiles "};
  ui::ComboBox ComboBoxProfilesLoad{"ComboBoxProfilesLoad"};
  ui::Button ButtonProfilesLoad{"ButtonProfilesLoad", "Load"};
  ui::ComboBox ComboBoxProfilesSave{"ComboBoxProfilesSave"};
  ui::Button ButtonProfilesSave{"ButtonProfilesSave", "Save"};
  ui::Button ButtonClose{"ButtonClose", "Close"};
  ui::Label LabelMessages{"LabelMessages", "Messages :"};
  ui::StaticText StatusBarMessages{"StatusBarMessages"};
  ui::StatusBar StatusBarHelpLine{"StatusBarHelpLine"};
};

// The setup window's logic: the list built from the modem's record, every
// change sent with set new mode, profiles loaded and saved, Close leaving
// setup, each command stoppable, and each result reported. Controls only;
// the Qt window mirrors them and its own caption, size and visibility.
class TFormSetup : public SetupWindowControls {
 public:
  static constexpr int kExitWaitMs = 200;

  // What the setup window needs of the main window.
  struct MainWindowHooks {
    std::function<void(ui::Color colour, const QString& text)> setupClosed;
    std::function<void()> progressOn;
    std::function<void()> progressOff;
    std::function<bool()> targetLocal;
  };

  TFormSetup(CommandRunner& runner, ui::Clock& clock, ui::Beeper& beeper);
  ~TFormSetup() override;
  TFormSetup(const TFormSetup&) = delete;
  TFormSetup& operator=(const TFormSetup&) = delete;

  MainWindowHooks Main;
  // Caption, size or visibility changed.
  std::function<void()> OnWindowChanged;

  // Setup entered: caption, message and the record of the reply; shows the window.
  void EnterSetup(const QString& caption, const QString& message, std::span<const std::uint8_t> record,
                  setup::ModemContext context);

  QString Caption() const { return caption_; }
  bool Shown() const { return shown_; }
  setup::ListLayout Layout() const { return model_.Layout(); }
  const setup::SetupModel& Model() const { return model_; }
  bool CommandRunning() const { return running_ != nullptr; }
  ProtocolHost& WorkerHost();

  // Handlers the controls are wired to.
  void ButtonCloseClick();
  void ButtonProfilesLoadClick();
  void ButtonProfilesSaveClick();
  void ParamListBoxSetupParamClick(const QString& key);
  void ParamListBoxSetupParamSelect(const QString& key, const QString& text);
  void ParamListBoxSetupParamEnter(const QString& key);
  void ParamListBoxSetupParamLeave(const QString& key);

 private:
  class Host;

  void Rebuild(std::span<const std::uint8_t> record);
  void ShowRows();
  void SendIfDue();
  void StartCommand(std::uint8_t command, ui::Button& stopButton);
  // Hands the block to a worker; the result comes to ResultHandler.
  void Launch();
  void Lock(ui::Button& stopButton);
  void Unlock();
  void StartExit();
  void ExitWaitOver();
  void StopExit();
  void ResultHandler();
  void CloseWindow(ui::Color colour, const QString& text);
  void SetMessage(const QString& text, bool red);
  void ClearFlags();

  CommandRunner& runner_;
  ui::Beeper& beeper_;
  std::unique_ptr<Host> host_;
  ui::Timer exitWait_;
  setup::SetupModel model_;
  std::array<std::uint8_t, kSetupBlockSize> block_{};
  std::unique_ptr<RunningCommand> running_;
  // The one button left enabled while the window is locked: a press on it
  // stops; its caption follows.
  ui::Button* stopButton_ = nullptr;
  std::uint8_t command_ = 0;
  int level_ = 0;
  bool exitRequested_ = false;
  bool exitStopped_ = false;
  bool setNewModeStopped_ = false;
  QString savedHelp_;
  QString caption_;
  bool shown_ = false;
};

}  // namespace rkvt
