#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>

namespace rkvt {

// What the transaction routines need of a serial port. Every operation but
// Close raises PortError on a fault of the port itself.
class SerialPort {
 public:
  virtual ~SerialPort() = default;

  virtual void Open() = 0;
  // Harmless when the port is not open.
  virtual void Close() = 0;
  // Discards whatever waits in the receive and transmit queues.
  virtual void Purge() = 0;
  virtual void Write(std::span<const std::uint8_t> bytes) = 0;
  // Reads until the buffer is full, the total time-out has run out or the
  // stop flag is found set; returns how many bytes arrived.
  virtual std::size_t Read(std::span<std::uint8_t> buffer, int totalTimeoutMs,
                           const std::atomic<bool>& stop) = 0;
};

}  // namespace rkvt
