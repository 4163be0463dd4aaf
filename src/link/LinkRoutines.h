#pragma once

#include <atomic>
#include <cstdint>
#include <span>

#include "link/Frame.h"
#include "link/FrameFault.h"
#include "link/LinkTimings.h"
#include "link/SerialPort.h"

namespace rkvt {

inline constexpr std::size_t kBlockDataSize = 24;

// The six transaction routines that put request frames on the line and take
// the replies off it. They keep no state between calls; port faults raise
// PortError and leave at once. A failed routine says why.
class LinkRoutines {
 public:
  struct LoaderValues {
    std::uint16_t value1 = 0;
    std::uint16_t value2 = 0;
  };
  struct LoaderReply : Exchanged {
    LoaderValues values;
    const LoaderValues* operator->() const { return &values; }
  };

  LinkRoutines(SerialPort& port, std::uint8_t address, const std::atomic<bool>& stop,
               LinkTimings timings);

  // Loader framing.
  LoaderReply LoaderQuery(std::uint8_t code);
  Exchanged LoaderCommand(std::uint8_t code);
  // A block of 0xFF bytes is never sent and counts as written.
  Exchanged LoaderWriteBlock(std::uint8_t code, std::uint16_t offset,
                             std::span<const std::uint8_t, kBlockDataSize> data);

  // Working framing. Request bytes are buffer[1..count]; buffer[0] is not sent.
  Exchanged SendRequest(std::uint8_t code, std::span<const std::uint8_t> buffer, std::size_t count);
  Exchanged SendRequestTwoReplies(std::uint8_t code, std::span<const std::uint8_t> buffer,
                                  std::size_t count);
  // Stores frame bytes 1..28 of a valid answer in destination.
  Exchanged ReadAnswer(std::span<std::uint8_t, kAnswerRecordSize> destination);

  std::uint8_t Address() const { return address_; }

 private:
  enum class Framing { Loader, Working };
  struct Exchange {
    Framing framing;
    bool purge;
    int reads;  // the last of them is validated
  };

  Exchanged Attempts(const Frame& request, Exchange exchange, Frame& reply);
  FaultKind Attempt(const Frame& request, Exchange exchange, Frame& reply);
  FaultKind ReadFrame(Framing framing, int timeoutMs, Frame& frame);
  static std::span<const std::uint8_t> RequestData(std::span<const std::uint8_t> buffer,
                                                   std::size_t count);

  SerialPort& port_;
  std::uint8_t address_;
  const std::atomic<bool>& stop_;
  LinkTimings timings_;
  // Kept between exchanges so that none allocates or clears more than it reads.
  WorkingFrame chars_{};
};

}  // namespace rkvt
