#include "ModemEmulator.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace rkvt::sim {

ModemEmulator::ModemEmulator(ModemModel model) : model_(std::move(model)) {
  portPath_ = pty_.SlavePath();
  parser_.SetFraming(model_.CurrentFraming());
  thread_ = std::thread([this] { Serve(); });
}

ModemEmulator::~ModemEmulator() {
  stop_.store(true);
  if (thread_.joinable()) thread_.join();
}

void ModemEmulator::Configure(const std::function<void(ModemModel&)>& change) {
  std::lock_guard lock(mutex_);
  change(model_);
}

void ModemEmulator::AddFault(FaultRule rule) {
  std::lock_guard lock(mutex_);
  faults_.push_back(rule);
}

void ModemEmulator::ClearFaults() {
  std::lock_guard lock(mutex_);
  faults_.clear();
}

void ModemEmulator::SetBaudRate(int baud) {
  std::lock_guard lock(mutex_);
  baud_ = baud;
}

std::vector<JournalEntry> ModemEmulator::Journal() const {
  std::lock_guard lock(mutex_);
  return journal_;
}

std::size_t ModemEmulator::FrameCount() const {
  std::lock_guard lock(mutex_);
  return journal_.size();
}

void ModemEmulator::ClearJournal() {
  std::lock_guard lock(mutex_);
  journal_.clear();
}

bool ModemEmulator::WaitForFrames(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return journalChanged_.wait_for(lock, timeout, [&] { return journal_.size() >= count; });
}

void ModemEmulator::DoVanish() {
  pty_.Close();
  vanished_.store(true);
}

void ModemEmulator::Serve() {
  std::uint8_t buffer[512];
  while (!stop_.load()) {
    if (vanishRequested_.load() && !vanished_.load()) DoVanish();
    if (vanished_.load()) {
      usleep(5000);
      continue;
    }
    pollfd pfd{pty_.MasterFd(), POLLIN, 0};
    if (poll(&pfd, 1, 10) <= 0 || !(pfd.revents & POLLIN)) continue;
    const ssize_t n = read(pty_.MasterFd(), buffer, sizeof buffer);
    if (n <= 0) continue;
    for (ssize_t i = 0; i < n && !vanished_.load(); ++i) {
      Framing framing;
      {
        std::lock_guard lock(mutex_);
        if (parser_.GetFraming() != model_.CurrentFraming()) parser_.SetFraming(model_.CurrentFraming());
        framing = parser_.GetFraming();
      }
      if (auto frame = parser_.Feed(buffer[i])) OnFrame(*frame, framing);
    }
  }
}

void ModemEmulator::OnFrame(const Frame& frame, Framing framing) {
  struct Outgoing {
    std::vector<std::uint8_t> bytes;
    int delayMs;
    bool vanish;
  };
  std::vector<Outgoing> outgoing;
  {
    std::lock_guard lock(mutex_);
    const int number = static_cast<int>(journal_.size()) + 1;
    journal_.push_back({number, framing, frame, std::chrono::steady_clock::now()});
    for (const Reply& reply : model_.Handle(frame)) {
      Outgoing out{{}, 0, false};
      auto rule = std::find_if(faults_.begin(), faults_.end(), [&](const FaultRule& r) {
        return r.times != 0 && (!r.code || *r.code == frame[2]) &&
               (!r.frameNumber || *r.frameNumber == number) && (!r.reply || *r.reply == reply.kind);
      });
      const bool working = framing == Framing::Working;
      if (rule == faults_.end()) {
        out.bytes = OnLine(reply.frame, working);
      } else {
        if (rule->times > 0) --rule->times;
        out.bytes = ApplyFault(rule->fault, reply.frame, working);
        out.delayMs = rule->fault == Fault::Late ? rule->delayMs : 0;
        out.vanish = rule->fault == Fault::Vanish;
      }
      outgoing.push_back(std::move(out));
    }
  }
  journalChanged_.notify_all();
  PaceFor(framing == Framing::Working ? kWorkingFrameSize : kFrameSize);
  for (const Outgoing& out : outgoing) {
    if (out.vanish) {
      DoVanish();
      return;
    }
    if (out.delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(out.delayMs));
    if (stop_.load()) return;
    Send(out.bytes);
    PaceFor(out.bytes.size());
  }
}

void ModemEmulator::PaceFor(std::size_t bytes) const {
  int baud;
  {
    std::lock_guard lock(mutex_);
    baud = baud_;
  }
  if (baud <= 0) return;
  std::this_thread::sleep_for(std::chrono::microseconds(bytes * 10'000'000ULL / static_cast<unsigned>(baud)));
}

void ModemEmulator::Send(const std::vector<std::uint8_t>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size() && !stop_.load() && pty_.IsOpen()) {
    const ssize_t n = write(pty_.MasterFd(), bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
      return;
    } else {
      pollfd pfd{pty_.MasterFd(), POLLOUT, 0};
      poll(&pfd, 1, 10);
    }
  }
}

}  // namespace rkvt::sim
