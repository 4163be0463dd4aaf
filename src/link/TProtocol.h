#pragma once

#include <QThread>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "link/CommandContext.h"
#include "link/FrameFault.h"
#include "link/LinkTimings.h"
#include "link/ProtocolHost.h"
#include "link/SerialPort.h"

namespace rkvt {

using PortFactory = std::function<std::unique_ptr<SerialPort>()>;

// What a window hands to every worker besides the command itself.
struct ProtocolSetup {
  // Called on the worker thread, so the port lives there.
  PortFactory makePort;
  LinkTimings timings;
  ProtocolHost* host = nullptr;
  // Software level of the modem identified last, taken on the UI thread.
  int softwareLevel = 0;
  // The image the transfer commands send; read, never written.
  std::span<const std::uint8_t> image;
};

// Runs one command on a thread of its own and frees itself afterwards.
// Create it, set OnTerminate, then Start; Terminate asks it to stop.
class TProtocol : public QThread, private WorkerServices {
  Q_OBJECT

 public:
  TProtocol(std::uint8_t command, std::uint8_t subAddress, bool local, std::uint16_t replySize,
            std::uint8_t* reply, ProtocolSetup setup);
  ~TProtocol() override;

  // Runs on the user-interface thread after the body has returned; the
  // object is released right after it.
  std::function<void(TProtocol&)> OnTerminate;

  void Start();
  void Terminate() { terminated_.store(true); }

  std::uint8_t Address() const { return address_; }
  std::uint8_t Command() const { return command_; }
  std::uint16_t ReplySize() const { return replySize_; }

  // Why the command failed, once it has ended: the fault of its last
  // exchange; none after a done result, Stopped after a stop.
  FrameFault Fault() const { return fault_; }
  // The fault as the user reads it; a port error with the system's reason.
  QString FaultDescription() const;

  static QString PortErrorText(int code);

 protected:
  void run() override;

 private:
  void Execute();
  void ShowStatusText(const QString& text) override;
  void ShowProgress(int progress) override;
  void Pause(int ms) override;
  void ReportPortError(const QString& text, const QString& reason, SerialPort* port);
  void Synchronize(const std::function<void()>& call);
  Q_INVOKABLE void RunPending();
  void Finished();

  std::uint8_t address_ = 0;
  std::uint8_t command_ = 0;
  std::uint8_t* reply_ = nullptr;
  std::uint16_t replySize_ = 0;
  bool local_ = false;
  int progress_ = 0;
  QString message_;
  QString detail_;
  FrameFault fault_{};
  QString portReason_;
  ProtocolSetup setup_;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> bodyReturned_{false};
  std::atomic<unsigned> handOvers_{0};
  std::atomic<const std::function<void()>*> pending_{nullptr};
};

}  // namespace rkvt
