#pragma once

#include <memory>

#include "port/PortListing.h"
#include "port/PortSettings.h"
#include "link/SerialPort.h"

class QSerialPort;
class QDeadlineTimer;

namespace rkvt {

// SerialPort over QSerialPort. The QSerialPort is created in Open, so it lives
// on the thread that uses it (the worker), and destroyed in Close.
class QtSerialPort final : public SerialPort {
 public:
  // `lister` names the ports that exist when the port cannot be opened.
  explicit QtSerialPort(PortSettings settings, PortLister lister = {});
  ~QtSerialPort() override;

  void Open() override;
  void Close() override;
  void Purge() override;
  void Write(std::span<const std::uint8_t> bytes) override;
  std::size_t Read(std::span<std::uint8_t> buffer, int totalTimeoutMs,
                   const std::atomic<bool>& stop) override;

  // Waits are cut into slices this long so that a stop request ends them soon.
  static constexpr int kWaitSliceMs = 10;
  static constexpr int kWriteTimeoutMs = 1000;

 private:
  void WaitTransmitted(const QDeadlineTimer& deadline);
  [[noreturn]] void Fail(int code, const char* what);

  PortSettings settings_;
  PortLister lister_;
  std::unique_ptr<QSerialPort> port_;
};

}  // namespace rkvt
