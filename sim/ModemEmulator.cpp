#include "sim/ModemEmulator.h"

#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace rkvt::sim {

namespace {
// Line time of `characters` at `baud`, 10 bits each.
std::chrono::nanoseconds LineTime(std::size_t characters, int baud) {
  return std::chrono::nanoseconds(characters * 10'000'000'000ULL / static_cast<unsigned>(baud));
}
}  // namespace

ModemEmulator::ModemEmulator(ModemModel model) : model_(std::move(model)) {
  portPath_ = pty_.SlavePath();
  parser_.SetFraming(model_.CurrentFraming());
  thread_ = std::thread([this] { Serve(); });
}

ModemEmulator::~ModemEmulator() {
  {
    std::lock_guard lock(sleepMutex_);
    stop_.store(true);
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void ModemEmulator::Configure(const std::function<void(ModemModel&)>& change) {
  std::lock_guard lock(mutex_);
  model_.Settle();
  change(model_);
}

void ModemEmulator::Examine(const std::function<void(const ModemModel&)>& look) const {
  std::lock_guard lock(mutex_);
  look(model_);
}

std::vector<std::uint8_t> ModemEmulator::Flash() const {
  std::lock_guard lock(mutex_);
  return model_.Flash().Bytes();
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

bool ModemEmulator::WaitForReplies(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return journalChanged_.wait_for(lock, timeout, [&] { return repliesSent_ >= count; });
}

void ModemEmulator::DoVanish() {
  pty_.Close();
  vanished_.store(true);
}

bool ModemEmulator::SleepUntil(Clock::time_point deadline) {
  // Timed waits overshoot by tens of microseconds here, a percent of a
  // loader exchange; the last stretch is yielded away instead.
  constexpr auto kSpin = std::chrono::microseconds(200);
  {
    std::unique_lock lock(sleepMutex_);
    if (wake_.wait_until(lock, deadline - kSpin, [&] { return stop_.load(); })) return false;
  }
  while (Clock::now() < deadline) {
    if (stop_.load()) return false;
    std::this_thread::yield();
  }
  return true;
}

void ModemEmulator::Serve() {
  // Paced replies must leave on time to the microsecond, not to the
  // default 50 us timer slack.
  prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  std::uint8_t buffer[512];
  Clock::time_point frameStart{};
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
    const Clock::time_point readAt = Clock::now();
    for (ssize_t i = 0; i < n && !vanished_.load(); ++i) {
      Framing framing;
      {
        std::lock_guard lock(mutex_);
        if (parser_.GetFraming() != model_.CurrentFraming()) parser_.SetFraming(model_.CurrentFraming());
        framing = parser_.GetFraming();
      }
      if (!parser_.InFrame()) frameStart = readAt;
      if (auto frame = parser_.Feed(buffer[i])) OnFrame(*frame, framing, frameStart);
    }
  }
}

void ModemEmulator::OnFrame(const Frame& frame, Framing framing, Clock::time_point started) {
  struct Outgoing {
    std::vector<std::uint8_t> bytes;
    int delayMs;
    bool vanish;
  };
  std::vector<Outgoing> outgoing;
  int baud;
  {
    std::lock_guard lock(mutex_);
    baud = baud_;
    const int number = static_cast<int>(journal_.size()) + 1;
    journal_.push_back({number, framing, frame, Clock::now()});
    int replyNumber = 0;
    for (const Reply& reply : model_.Handle(frame)) {
      ++replyNumber;
      Outgoing out{{}, 0, false};
      auto rule = std::find_if(faults_.begin(), faults_.end(), [&](const FaultRule& r) {
        return r.times != 0 && (!r.code || *r.code == frame[2]) && (!r.frameNumber || *r.frameNumber == number) &&
               (!r.reply || *r.reply == reply.kind) && (!r.replyNumber || *r.replyNumber == replyNumber);
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

  // Paced, every character takes its line time: the request has arrived
  // only when its last character would have, and each reply leaves when its
  // last character would have been sent. Deadlines are absolute, so the
  // cost of waking up does not add up over a transfer.
  const std::size_t requestSize = framing == Framing::Working ? kWorkingFrameSize : kFrameSize;
  Clock::time_point cursor = Clock::now();
  if (baud > 0) {
    // The pty and the scheduler add some microseconds to every hand-over,
    // which a line does not: a request that follows our last reply within
    // one character time counts as sent right after it.
    Clock::time_point start = std::max(started, receiveFree_);
    if (started >= sendFree_) start = std::max({started - LineTime(1, baud), sendFree_, receiveFree_});
    receiveFree_ = start + LineTime(requestSize, baud);
    cursor = std::max(receiveFree_, sendFree_);
  }
  for (const Outgoing& out : outgoing) {
    if (out.vanish) {
      DoVanish();
      return;
    }
    cursor += std::chrono::milliseconds(out.delayMs);
    if (baud > 0) cursor += LineTime(out.bytes.size(), baud);
    // Unpaced replies leave at once, without a trip through the sleep.
    if (cursor > Clock::now() && !SleepUntil(cursor)) return;
    Send(out.bytes);
    {
      std::lock_guard lock(mutex_);
      ++repliesSent_;
    }
    journalChanged_.notify_all();
    if (baud > 0) sendFree_ = cursor;
  }
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
