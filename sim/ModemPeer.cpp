#include "sim/ModemPeer.h"

#include <algorithm>

namespace rkvt::sim {

namespace {

namespace response {
constexpr std::uint8_t kReset = 0x02;
constexpr std::uint8_t kIdentify = 0x03;
constexpr std::uint8_t kResetSecondStep = 0x04;
constexpr std::uint8_t kSetup = 0x21;
constexpr std::uint8_t kModeSet = 0x22;
constexpr std::uint8_t kProfileSaved = 0x23;
constexpr std::uint8_t kProfileLoaded = 0x24;
constexpr std::uint8_t kSetupLeft = 0x26;
constexpr std::uint8_t kSetupHeld = 0x27;
constexpr std::uint8_t kPage = 0x29;
constexpr std::uint8_t kStatisticsReset = 0x2A;
constexpr std::uint8_t kLoopOff = 0x32;
}  // namespace response

struct Request {
  ModemPeer& peer;
  const Identity& identity;
  const Frame& frame;
  bool remote;

  std::uint8_t Data(std::size_t i) const { return frame[3 + i]; }
  // Requests with two data bytes carry the page, profile or test in the second.
  std::uint8_t Second() const { return frame[4]; }
  PageLayout Layout() const { return LayoutOf(identity); }
};

Frame AnswerTo(const Frame& request, std::uint8_t code) {
  Frame a{};
  a[0] = kFrameStart;
  a[1] = ExpectedAnswerAddress(request[1]);
  a[2] = code;
  return a;
}

// Answers to requests with two data bytes repeat the second one in frame byte 4.
Frame Repeating(const Request& r, std::uint8_t code) {
  Frame a = AnswerTo(r.frame, code);
  a[4] = r.Second();
  return a;
}

template <std::size_t N>
void PutAt(Frame& frame, std::size_t at, const std::array<std::uint8_t, N>& bytes) {
  std::copy(bytes.begin(), bytes.end(), frame.begin() + static_cast<std::ptrdiff_t>(at));
}

// Page blocks are record bytes 4-27, frame bytes 5-28; refusal records start
// at record byte 4 too; the configuration record fills record bytes 2-27.
constexpr std::size_t kBlockAt = 5;
constexpr std::size_t kRecordAt = 3;

using Result = std::optional<Frame>;

Result Identify(Request& r) {
  Frame a = AnswerTo(r.frame, response::kIdentify);
  a[5] = r.identity.reserved;
  a[6] = r.identity.type;
  a[7] = r.identity.version;
  a[8] = static_cast<std::uint8_t>(r.identity.third);
  a[10] = r.identity.variantCode;
  return a;
}

Result StatisticsPage(Request& r) {
  const std::uint8_t page = r.Second();
  const std::uint8_t statePage = r.Layout() == PageLayout::First ? 1 : 7;
  Frame a = Repeating(r, response::kPage);
  if (page == statePage)
    PutAt(a, kBlockAt, StateBlock(r.peer.state, r.Layout(), r.peer.ReportedActivity(r.remote)));
  else if (page == 2)
    PutAt(a, kBlockAt, r.peer.stats.Page2());
  else if (page == 3)
    PutAt(a, kBlockAt, r.peer.stats.Page3());
  else
    return std::nullopt;  // a page this firmware does not have
  return a;
}

Result Reset(Request& r) {
  ++r.peer.resets;
  r.peer.config.Leave();
  r.peer.loops.Drop();
  return AnswerTo(r.frame, response::kReset);
}

Result ResetSecondStep(Request& r) {
  ++r.peer.resetSecondSteps;
  return AnswerTo(r.frame, response::kResetSecondStep);
}

Result EnterSetup(Request& r) {
  if (!r.peer.config.Enter()) {
    Frame a = AnswerTo(r.frame, response::kSetupHeld);
    PutAt(a, kBlockAt, r.peer.config.holder);
    return a;
  }
  Frame a = AnswerTo(r.frame, response::kSetup);
  PutAt(a, kRecordAt, r.peer.config.Record());
  return a;
}

Result ExitSetup(Request& r) {
  r.peer.config.Exit({r.Data(0), r.Data(1), r.Data(2), r.Data(3)});
  return AnswerTo(r.frame, response::kSetupLeft);
}

Result ResetStatistics(Request& r) {
  r.peer.stats.Reset();
  return AnswerTo(r.frame, response::kStatisticsReset);
}

Result SetNewMode(Request& r) {
  ConfigRecord record;
  std::copy_n(r.frame.begin() + kRecordAt, record.size(), record.begin());
  r.peer.config.SetMode(record);
  return AnswerTo(r.frame, response::kModeSet);
}

Result LoadProfile(Request& r) {
  if (!r.peer.config.Load(r.Second())) return std::nullopt;
  Frame a = Repeating(r, response::kProfileLoaded);
  PutAt(a, kRecordAt, r.peer.config.Record());
  return a;
}

Result SaveProfile(Request& r) {
  if (!r.peer.config.Save(r.Second())) return std::nullopt;
  return Repeating(r, response::kProfileSaved);
}

Result ConnectLoop(Request& r) {
  const std::uint8_t code = r.peer.loops.Connect(r.Second());
  Frame a = Repeating(r, code);
  if (r.peer.loops.connectReply == ConnectReply::Busy) PutAt(a, kBlockAt, r.peer.loops.busyRecord);
  return a;
}

Result DisconnectLoop(Request& r) {
  r.peer.loops.Disconnect();
  return Repeating(r, response::kLoopOff);
}

Result LoopStatistics(Request& r) {
  if (!LoopTests::IsPageCode(r.Second(), r.Layout()) || !r.peer.loops.AnswerRead()) return std::nullopt;
  Frame a = Repeating(r, response::kPage);
  PutAt(a, kBlockAt, r.peer.loops.Page(r.Second(), r.peer.state, r.Layout()));
  return a;
}

Result ResetLoopStatistics(Request& r) {
  r.peer.loops.ResetCounters();
  return std::nullopt;  // the acknowledgement is all the program waits for
}

struct Command {
  std::uint8_t code;
  std::uint8_t subAddress;
  Result (*run)(Request&);
};

// The same code byte means different things on the two sub-addresses.
constexpr Command kCommands[] = {
    {3, 1, Identify},        {2, 1, Reset},           {4, 1, ResetSecondStep},
    {3, 2, StatisticsPage},  {1, 2, EnterSetup},      {24, 2, ExitSetup},
    {4, 2, ResetStatistics}, {20, 2, SetNewMode},     {22, 2, LoadProfile},
    {21, 2, SaveProfile},    {2, 2, ConnectLoop},     {18, 2, DisconnectLoop},
    {19, 2, LoopStatistics}, {17, 2, ResetLoopStatistics},
};

}  // namespace

ActivityRecord ModemPeer::ReportedActivity(bool remote) const {
  if (!IsEmpty(state.activity)) return state.activity;
  const Actor us = remote ? Actor::RemoteTerminal : Actor::LocalTerminal;
  if (config.InSetup()) return SetupActivity(us);
  if (const auto test = loops.Connected()) return TestActivity(*test, us);
  // The program turns the master's local bit to its own view: "from local
  // modem" when it reads the far modem, "from remote modem" when it reads this one.
  if (farTest && LoopTests::InvolvesFarEnd(*farTest)) return SlaveTestActivity(*farTest, Actor::LocalModem);
  return NoActivity();
}

void ModemPeer::Advance(std::chrono::milliseconds now) {
  stats.Advance(now, state.LineUp());
  loops.Advance(now, state.LineUp());
}

std::optional<Frame> ModemPeer::Answer(const Identity& identity, const Frame& request, bool remote) {
  const std::uint8_t sub = request[1] & 0x0F;
  const auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                               [&](const Command& c) { return c.code == request[2] && c.subAddress == sub; });
  if (it == std::end(kCommands)) return std::nullopt;
  Request r{*this, identity, request, remote};
  auto answer = it->run(r);
  if (answer) SealFrame(*answer);
  return answer;
}

}  // namespace rkvt::sim
