#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>

#include "ui/Color.h"
#include "link/CommandRunner.h"
#include "ui/Dialogs.h"
#include "mainwin/MainWindowControls.h"
#include "link/ProtocolHost.h"
#include "support/TInvisible.h"
#include "ui/Timer.h"
#include "mainwin/UiState.h"

namespace rkvt {

// The main window's exchange block: request bytes from offset 1, result code
// at offset 0 and the reply behind it once the command has ended.
inline constexpr std::size_t kExchangeBlockSize = 120;

// The main window's logic: target choice, the command buttons and their
// stop branches, the completion of every command it starts, polling, and the
// UI states. It sets control models only; the Qt window mirrors them.
class TFormMain : public MainWindowControls {
 public:
  static constexpr const char* kProgramTitle = "R-KVT-MS_v2.48";
  static constexpr int kResetWaitMs = 10000;
  static constexpr int kNoLineWarningMs = 10000;
  static constexpr int kNoLineGiveUpMs = 20000;

  // Polling intervals from the configuration file, used as they are.
  struct Intervals {
    int statisticsMs = 1000;
    int loopMs = 1000;
  };

  // The other windows, reached through hooks so that this logic needs none
  // of them. Any hook may be left empty.
  struct WindowHooks {
    // Setup entered: show the setup window with this caption and message and
    // hand it the 26-byte configuration record.
    std::function<void(const QString& caption, const QString& message, std::span<const std::uint8_t> record)>
        showSetup;
    std::function<void()> showUpdate;
    // A reset closes the update window; it must not report back as closed.
    std::function<void()> closeUpdate;
  };

  struct EventLogHooks {
    std::function<void(const QString& text)> add;
    // Release the current log and open the one of this port.
    std::function<void(const QString& portName)> reopen;
    std::function<void(bool on)> setMonitoring;
    // After every completion, with the reply snapshot.
    std::function<void(std::span<const std::uint8_t> snapshot)> monitor;
  };

  TFormMain(TInvisible& invisible, ui::Clock& clock, Intervals intervals, CommandRunner& runner, ui::Beeper& beeper,
            ui::PortDialog& portDialog);
  ~TFormMain() override;
  TFormMain(const TFormMain&) = delete;
  TFormMain& operator=(const TFormMain&) = delete;

  WindowHooks Windows;
  EventLogHooks EventLog;
  std::function<void(const QString& caption)> OnCaptionChanged;

  // Lifecycle: the log's started and stopped lines.
  void FormCreate();
  void FormDestroy();
  QString Caption() const { return caption_; }
  QString PortName() const { return portName_; }

  // Where this window's workers report: the message line.
  ProtocolHost& WorkerHost();

  // Control handlers; the controls' OnClick/OnChange are wired to them.
  void ButtonStateClick();
  void ButtonSetupClick();
  void ButtonResetClick();
  void ButtonStatisticsClick();
  void ButtonClearStatisticsClick();
  void ButtonTestClick();
  void ButtonClearTestClick();
  void ButtonSoftwareClick();
  void ButtonPortClick();
  void RadioButtonLocalClick();
  void RadioButtonRemoteClick();
  void ComboBoxTestChange();

  // Timer ticks, run after the one-shot timer has disabled itself.
  void StatisticsTick();
  void LoopStatisticsTick();

  // Offered to the setup and update windows.
  void SetupClosed(ui::Color colour, const QString& text);
  void UpdateWindowClosed();
  void FirmwareTransferRunning(bool running);
  void ProgressOn();
  void ProgressOff();
  void SetUiState(UiState state);

  // Read access for the other windows and the event log.
  std::int32_t SoftwareLevel() const { return softwareLevel_; }
  std::int32_t ModemVariant() const { return modemVariant_; }
  bool WorkingFirmware() const { return workingFirmware_; }
  bool TargetLocal() const { return RadioButtonLocal.Checked(); }
  QString TargetWord() const { return targetWord_; }
  std::span<const std::uint8_t, kExchangeBlockSize> ReplySnapshot() const { return snapshot_; }
  int InterfaceCode() const { return interfaceCode_; }
  const std::array<QString, 4>& ParameterTexts() const { return parameterTexts_; }
  bool CommandRunning() const { return running_ != nullptr; }
  // Index into the test tables of the selector's current item.
  int TestIndex() const;

 private:
  class Host;

  void SetMessage(const QString& text);
  void SetMessageRed();
  void Beep();
  void SetMonitoring(bool on);

  // Starts a command; byte 1 = 0 and byte 2 = requestByte where given. Refused
  // while another command runs (one serial port, one block).
  bool StartCommand(std::uint8_t command, std::optional<std::uint8_t> requestByte = std::nullopt);
  void StartIdentify();
  void StartDisconnect();
  // Asks the running command to stop; false when none runs.
  bool StopRunning();
  void CompletionHandler();
  void Identified(std::uint8_t result);
  void StatisticsRead();
  void StatisticsFollowUp();
  void LoopConnected();
  void LoopStatisticsRead();
  void DecodeLoopPage();
  void ResetWaitOver();
  void TakeSnapshot();

  void RearmStatistics();
  void RearmLoop();
  void LoopTimersOff();
  void RestartNoLineTimers();

  // UI state pieces.
  void BlankAll();
  void BlankState();
  void ShowStateLabels();
  void TestSelectionOn();
  void LoopActiveLayout();
  void TargetChange(bool local);
  void SetCaption(const QString& caption);

  TInvisible& invisible_;
  Intervals intervals_;
  CommandRunner& runner_;
  ui::Beeper& beeper_;
  ui::PortDialog& portDialog_;
  std::unique_ptr<Host> host_;
  ui::Timer resetWait_;

  std::array<std::uint8_t, kExchangeBlockSize> block_{};
  std::array<std::uint8_t, kExchangeBlockSize> snapshot_{};
  std::unique_ptr<RunningCommand> running_;
  bool inCompletion_ = false;
  bool startedInCompletion_ = false;
  bool snapshotTaken_ = false;

  int interfaceCode_ = 0;
  std::int32_t softwareLevel_ = 0;
  std::int32_t modemVariant_ = 0;
  QString targetWord_ = QStringLiteral("local ");
  bool workingFirmware_ = false;
  bool clearStatisticsRequest_ = false;
  bool oneShotStatistics_ = false;
  bool firstPoll_ = false;
  bool clearTestRequest_ = false;
  int loopLayoutInterface_ = 0;
  bool cyclicStatistics_ = false;
  QString portName_;
  QString caption_;
  std::array<QString, 4> parameterTexts_;
};

}  // namespace rkvt
