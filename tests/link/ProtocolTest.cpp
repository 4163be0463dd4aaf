#include <gtest/gtest.h>

#include "link/Commands.h"
#include "LinkHarness.h"

namespace rkvt {
namespace {

using namespace std::chrono_literals;

// A port that fails to open or to write with the given code (0: it does
// not), and tells whether it was left open.
struct FakePort : SerialPort {
  struct State {
    int closes = 0;
    bool open = false;
  };
  FakePort(std::shared_ptr<State> state, int failOpen, int failWrite)
      : state(std::move(state)), failOpen(failOpen), failWrite(failWrite) {}
  void Open() override {
    if (failOpen) throw PortError(failOpen, "open");
    state->open = true;
  }
  void Close() override {
    ++state->closes;
    state->open = false;
  }
  void Purge() override {}
  void Write(std::span<const std::uint8_t>) override {
    if (failWrite) throw PortError(failWrite, "write");
  }
  std::size_t Read(std::span<std::uint8_t>, int, const std::atomic<bool>&) override { return 0; }

  std::shared_ptr<State> state;
  int failOpen, failWrite;
};

// Runs identify on the port; returns the result code.
std::uint8_t Identify(PortFactory port, test::RecordingHost& host, LinkTimings timings = test::FastTimings()) {
  std::array<std::uint8_t, 120> reply{};
  EXPECT_TRUE(test::RunWorker(new TProtocol(command::kIdentify, 1, true, reply.size(), reply.data(),
                                            {std::move(port), timings, &host, 0}),
                              {}, 10000)
                  .completed);
  return reply[0];
}

// Not fake: a real port that cannot be opened, and one on a modem that
// vanishes mid-read (real time-outs: a hang would show as a 181 s wait).
constexpr int kMissingPort = -1, kVanishingPort = -2;

// A port fault ends the command with result 17, the port's text, a beep and
// the progress at 0; the port is closed.
TEST(PortFault, EndsWithResult17TheTextABeepAndTheProgressAt0) {
  const std::tuple<int, int, const char*> cases[] = {
      {1, 0, " Can't open COM-port!"},  {0, 2, " Can't write COM-port!"}, {0, 3, " Can't read COM-port!"},
      {8, 0, " Error (8) COM-port!"},   {0, 12, " Error (12) COM-port!"}, {kMissingPort, 0, " Can't open COM-port!"},
      {kVanishingPort, 0, " Can't read COM-port!"},
  };
  for (const auto& [failOpen, failWrite, text] : cases) {
    SCOPED_TRACE(text);
    auto state = std::make_shared<FakePort::State>();
    test::RecordingHost host;
    sim::ModemEmulator modem;
    modem.AddFault({.fault = sim::Fault::Vanish, .reply = sim::ReplyKind::Answer});
    PortFactory port = failOpen == kMissingPort     ? test::PortOn("/nonexistent/ttyNothing")
                       : failOpen == kVanishingPort ? test::PortOn(modem.PortPath())
                                                    : [=] { return std::make_unique<FakePort>(state, failOpen, failWrite); };
    EXPECT_EQ(Identify(port, host, failOpen == kVanishingPort ? LinkTimings{} : test::FastTimings()), result::kPortError);
    EXPECT_EQ(host.texts, std::vector<QString>{QString::fromUtf8(text)});
    EXPECT_EQ(host.progress, std::vector<int>{0});
    EXPECT_EQ(host.beeps, 1);
    if (failOpen < 0) continue;
    EXPECT_FALSE(state->open);
    EXPECT_GE(state->closes, 1);
  }
}

// Reply byte 0 is 0xA5 before the run; the worker leaves it so.
TEST(InertWorker, SendsNothingAndLeavesTheBufferAlone) {
  // Command, reply size, no buffer. The identify answer record is 28 bytes,
  // so a 27-byte buffer would overflow.
  const std::tuple<std::uint8_t, std::uint16_t, bool> cases[] = {
      {command::kIdentify, 0, false}, {command::kIdentify, 120, true}, {0, 120, false}, {99, 120, false},
      {command::kIdentify, 27, false},
  };
  for (const auto& [command, replySize, nullBuffer] : cases) {
    sim::ModemEmulator modem;
    test::RecordingHost host;
    std::array<std::uint8_t, 120> reply;
    reply.fill(0xA5);
    auto* worker = new TProtocol(command, 1, true, replySize, nullBuffer ? nullptr : reply.data(),
                                 {test::PortOn(modem.PortPath()), test::FastTimings(), &host, 0});
    ASSERT_TRUE(test::RunWorker(worker).completed) << "the completion runs all the same";
    EXPECT_FALSE(modem.WaitForFrames(1, 200ms)) << int(command) << " " << replySize;
    EXPECT_EQ(std::count(reply.begin(), reply.end(), 0xA5), 120);
    EXPECT_TRUE(host.texts.empty());
  }
}

TEST(Protocol, AddressByteFromTargetAndSubAddressAndNothingForAnInertWorker) {
  std::array<std::uint8_t, 120> reply{};
  const ProtocolSetup setup{test::PortOn("/dev/null"), test::FastTimings(), nullptr, 0};
  TProtocol local(command::kIdentify, 2, true, reply.size(), reply.data(), setup);
  TProtocol remote(command::kIdentify, 0x11, false, reply.size(), reply.data(), setup);
  TProtocol unknown(99, 2, true, reply.size(), reply.data(), setup);
  TProtocol inert(command::kIdentify, 2, true, 0, reply.data(), setup);
  EXPECT_EQ(std::tuple(local.Address(), remote.Address(), unknown.Address()), std::tuple(0xD2, 0xC1, 0xD2))
      << "an unknown code is kept; it just sends nothing";
  EXPECT_EQ(std::tuple(inert.Address(), inert.Command(), inert.ReplySize()), std::tuple(0, 0, 0));
}

}  // namespace
}  // namespace rkvt
