#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/Fault.h"
#include "sim/FrameParser.h"
#include "sim/ModemModel.h"
#include "sim/Pty.h"

namespace rkvt::sim {

struct JournalEntry {
  int number;  // 1-based, in order of arrival
  Framing framing;
  Frame frame;
  std::chrono::steady_clock::time_point at;
};

// A modem on a pty: serves the model's replies on its own thread, injects
// faults on request and keeps a journal of every frame it received.
class ModemEmulator {
 public:
  explicit ModemEmulator(ModemModel model = {});
  ~ModemEmulator();
  ModemEmulator(const ModemEmulator&) = delete;
  ModemEmulator& operator=(const ModemEmulator&) = delete;

  // The name to open as a serial port.
  const std::string& PortPath() const { return portPath_; }

  // Changes the model while the emulator runs; its counters are brought up
  // to date first, so a change counts from now.
  void Configure(const std::function<void(ModemModel&)>& change);
  // Reads the model while the emulator runs.
  void Examine(const std::function<void(const ModemModel&)>& look) const;
  std::vector<std::uint8_t> Flash() const;

  void AddFault(FaultRule rule);
  void ClearFaults();
  // 0: replies as fast as the pty takes them; otherwise timed as on a line
  // of that many baud with 10 bits a character, in both directions.
  void SetBaudRate(int baud);

  std::vector<JournalEntry> Journal() const;
  std::size_t FrameCount() const;
  void ClearJournal();
  bool WaitForFrames(std::size_t count, std::chrono::milliseconds timeout) const;
  // Replies put on the line so far, faulty ones included.
  bool WaitForReplies(std::size_t count, std::chrono::milliseconds timeout) const;

  // Closes the port at once, as a pulled cable would.
  void Vanish() { vanishRequested_.store(true); }
  bool Vanished() const { return vanished_.load(); }

 private:
  using Clock = std::chrono::steady_clock;

  void Serve();
  void OnFrame(const Frame& frame, Framing framing, Clock::time_point started);
  void Send(const std::vector<std::uint8_t>& bytes);
  // False when the emulator is stopping.
  bool SleepUntil(Clock::time_point deadline);
  void DoVanish();

  Pty pty_;
  std::string portPath_;
  ModemModel model_;
  FrameParser parser_{Framing::Working};
  std::vector<FaultRule> faults_;
  std::vector<JournalEntry> journal_;
  std::size_t repliesSent_ = 0;
  int baud_ = 0;
  mutable std::mutex mutex_;
  mutable std::condition_variable journalChanged_;
  // When each direction of the paced line is free again.
  Clock::time_point receiveFree_{};
  Clock::time_point sendFree_{};
  std::mutex sleepMutex_;
  std::condition_variable wake_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> vanishRequested_{false};
  std::atomic<bool> vanished_{false};
  std::thread thread_;
};

}  // namespace rkvt::sim
