#pragma once

namespace rkvt {

// The main window's UI states: each is a set of effects on the controls
// (button sets, panel actions, captions, message colour, progress).
enum class UiState {
  IdentifyRunning = 0,
  IdentifiedBasic = 1,
  IdentifiedReady = 2,
  IdentifiedSpecial = 3,
  UnknownModem = 4,
  UnsupportedVersion = 5,
  IdentifyError = 6,
  IdentifyStopped = 7,
  ResetRunning = 8,
  ResetDone = 9,
  ResetIdle = 10,
  ResetError = 11,
  UpdateWindowOpen = 12,
  FirmwareTransferRunning = 13,
  UpdateWindowClosed = 14,
  StatisticsRunning = 15,
  StatisticsAfterIdentify = 16,
  StatisticsShown = 17,
  StatisticsIdle = 18,
  StatisticsError = 19,
  SetupEntering = 20,
  SetupOpen = 21,
  SetupFailed = 22,
  SetupClosed = 23,
  LoopConnecting = 24,
  LoopConnectFailed = 25,
  LoopDisconnecting = 26,
  LoopDisconnected = 27,
  LoopDisconnectFailed = 28,
  LoopActive = 29,
  LoopWarning = 30,
  PortError = 31,
};

inline constexpr int kUiStateCount = 32;

}  // namespace rkvt
