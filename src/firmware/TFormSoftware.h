#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "firmware/ImageBuffer.h"
#include "firmware/SoftwareWindowControls.h"
#include "firmware/TransferEstimate.h"
#include "link/CommandRunner.h"
#include "ui/Dialogs.h"

namespace rkvt {

class TIni;

// The update window's UI states: each changes only the controls its row names.
enum class UpdateUiState {
  UpdateIdle = 0,
  ImageReady = 1,
  ImageRejected = 2,
  UpdateRunning = 3,
  UpdateDone = 4,
  UpdateEraseFailed = 5,
  UpdateWriteFailed = 6,
  UpdateStopped = 7,
  UpdatePortFailed = 8,
};
inline constexpr int kUpdateUiStateCount = 9;

// The update window's logic: choosing and checking an image, the transfer
// into the local modem with its Stop, the outcome, showing and closing. It
// sets control models only; the Qt window mirrors them.
class TFormSoftware : public SoftwareWindowControls {
 public:
  static constexpr std::size_t kResultAreaSize = 5;
  static constexpr const char* kSection = "FormSoftware";
  static constexpr const char* kDirectoryKey = "LoadInitialDirSoftwareModem";
  static constexpr const char* kFileNameKey = "LoadFileNameSoftwareModem";

  // What the window asks of the main window. Any call may be left empty.
  struct MainWindowCalls {
    std::function<void(bool running)> firmwareTransferRunning;
    std::function<void()> updateWindowClosed;
    std::function<std::int32_t()> softwareLevel;
    std::function<bool()> workingFirmware;
  };
  // Milliseconds on a steady clock, for the time-left text.
  using MsClock = std::function<std::int64_t()>;

  // `ini` may be unavailable (no placement file): the dialog then opens in
  // the current directory and nothing is remembered.
  TFormSoftware(CommandRunner& runner, ui::Beeper& beeper, ui::FileOpenDialog& dialog, TIni& ini, MsClock now = {});
  ~TFormSoftware() override;
  TFormSoftware(const TFormSoftware&) = delete;
  TFormSoftware& operator=(const TFormSoftware&) = delete;

  MainWindowCalls FormMain;

  void FormShow();
  // Closing is always allowed; a running transfer goes on.
  void FormCloseQuery();
  // The main window is about to close this window itself (a reset).
  void SetClosedByMainWindow() { closedByMainWindow_ = true; }

  void ButtonLoadSoftwareModemClick();
  void ButtonTransmitSoftwareModemClick();
  // A file dropped on the window, taken as if chosen with "..."; refused
  // (false) while "..." is disabled.
  bool FileDropped(const QString& fullPath);

  void SetUpdateUiState(UpdateUiState state);

  bool TransferRunning() const { return running_ != nullptr; }
  bool ClosedByMainWindow() const { return closedByMainWindow_; }
  std::span<const std::uint8_t, kResultAreaSize> ResultArea() const { return resultArea_; }
  const QString& FileName() const { return fileName_; }
  const ImageBuffer& Image() const { return image_; }

 private:
  class Host;

  void TakeFile(const QString& fullPath);
  bool ValidateWithEffects();
  void ResultHandler();
  std::int32_t SoftwareLevel() const { return FormMain.softwareLevel ? FormMain.softwareLevel() : 0; }
  void TellTransferRunning(bool running);

  CommandRunner& runner_;
  ui::Beeper& beeper_;
  ui::FileOpenDialog& dialog_;
  TIni& ini_;
  MsClock now_;
  std::unique_ptr<Host> host_;

  std::array<std::uint8_t, kResultAreaSize> resultArea_{};
  QString fileName_;
  QString shortName_;
  std::unique_ptr<RunningCommand> running_;
  bool closedByMainWindow_ = false;
  // Closed by the user while the transfer ran: the main window hears of it
  // when the transfer has ended, so its buttons stay locked until then.
  bool closedWhileRunning_ = false;
  bool writing_ = false;
  TransferEstimate estimate_;
  ImageBuffer image_;
};

}  // namespace rkvt
