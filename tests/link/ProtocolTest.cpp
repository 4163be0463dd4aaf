#include <gtest/gtest.h>

#include "Commands.h"
#include "LinkHarness.h"

namespace rkvt {
namespace {

using namespace std::chrono_literals;

PortFactory FakeFactory(std::shared_ptr<test::FakePort::Counters> counters, int failOpen, int failWrite) {
  return [=] { return std::make_unique<test::FakePort>(counters, failOpen, failWrite); };
}

struct PortFaultCase {
  int failOpen;
  int failWrite;
  const char* text;
};

class PortFault : public ::testing::TestWithParam<PortFaultCase> {};

TEST_P(PortFault, EndsWithResult17TheTextABeepAndTheProgressAt0) {
  auto counters = std::make_shared<test::FakePort::Counters>();
  test::RecordingHost host;
  std::array<std::uint8_t, 120> reply{};
  auto* worker = new TProtocol(command::kIdentify, 1, true, reply.size(), reply.data(),
                               {FakeFactory(counters, GetParam().failOpen, GetParam().failWrite),
                                test::FastTimings(), &host, 0});
  ASSERT_TRUE(test::RunWorker(worker).completed);
  EXPECT_EQ(reply[0], result::kPortError);
  ASSERT_EQ(host.texts.size(), 1u);
  EXPECT_EQ(host.texts[0].toStdString(), GetParam().text);
  EXPECT_FALSE(host.toUpdate[0]);
  EXPECT_EQ(host.progress, std::vector<int>{0});
  EXPECT_EQ(host.beeps, 1);
  EXPECT_FALSE(counters->open);
  EXPECT_GE(counters->closes, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, PortFault,
    ::testing::Values(PortFaultCase{1, 0, " Can't open COM-port!"}, PortFaultCase{0, 2, " Can't write COM-port!"},
                      PortFaultCase{0, 3, " Can't read COM-port!"}, PortFaultCase{8, 0, " Error (8) COM-port!"},
                      PortFaultCase{0, 12, " Error (12) COM-port!"}));

TEST(Protocol, PortThatCannotBeOpenedForReal) {
  test::RecordingHost host;
  std::array<std::uint8_t, 120> reply{};
  auto* worker = new TProtocol(command::kIdentify, 1, true, reply.size(), reply.data(),
                               {test::PortOn("/nonexistent/ttyNothing"), test::FastTimings(), &host, 0});
  ASSERT_TRUE(test::RunWorker(worker).completed);
  EXPECT_EQ(reply[0], result::kPortError);
  ASSERT_EQ(host.texts.size(), 1u);
  EXPECT_EQ(host.texts[0], QStringLiteral(" Can't open COM-port!"));
}

TEST(Protocol, PortVanishingMidReadIsResult17WithoutAHang) {
  sim::ModemEmulator modem;
  modem.AddFault({.fault = sim::Fault::Vanish, .reply = sim::ReplyKind::Answer});
  test::RecordingHost host;
  std::array<std::uint8_t, 120> reply{};
  // Real time-outs: a hang would show as a 181 s wait.
  auto* worker = new TProtocol(command::kIdentify, 1, true, reply.size(), reply.data(),
                               {test::PortOn(modem.PortPath()), LinkTimings{}, &host, 0});
  const auto run = test::RunWorker(worker, {}, 10000);
  ASSERT_TRUE(run.completed);
  EXPECT_EQ(reply[0], result::kPortError);
  ASSERT_EQ(host.texts.size(), 1u);
  EXPECT_EQ(host.texts[0], QStringLiteral(" Can't read COM-port!"));
  EXPECT_EQ(host.beeps, 1);
}

struct InertCase {
  const char* name;
  std::uint8_t command;
  std::uint16_t replySize;
  bool nullBuffer;
};

class InertWorker : public ::testing::TestWithParam<InertCase> {};

TEST_P(InertWorker, SendsNothingAndLeavesTheBufferAlone) {
  sim::ModemEmulator modem;
  test::RecordingHost host;
  std::array<std::uint8_t, 120> reply{};
  reply.fill(0xA5);
  auto* worker = new TProtocol(GetParam().command, 1, true, GetParam().replySize,
                               GetParam().nullBuffer ? nullptr : reply.data(),
                               {test::PortOn(modem.PortPath()), test::FastTimings(), &host, 0});
  if (GetParam().replySize != 0 && GetParam().command != 0 && !GetParam().nullBuffer &&
      FindCommand(GetParam().command) == nullptr) {
    EXPECT_NE(worker->Address(), 0) << "an unknown code is kept; it just sends nothing";
  }
  ASSERT_TRUE(test::RunWorker(worker).completed) << "the completion runs all the same";
  EXPECT_FALSE(modem.WaitForFrames(1, 200ms));
  for (std::uint8_t b : reply) ASSERT_EQ(b, 0xA5);
  EXPECT_TRUE(host.texts.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InertWorker,
    ::testing::Values(InertCase{"ZeroReplySize", command::kIdentify, 0, false},
                      InertCase{"NoBuffer", command::kIdentify, 120, true},
                      InertCase{"CommandZero", 0, 120, false},
                      InertCase{"UnknownCommand", 99, 120, false},
                      // The identify answer record is 28 bytes: a 27-byte buffer would overflow.
                      InertCase{"BufferTooSmallForTheAnswer", command::kIdentify, 27, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Protocol, AddressByteFromTargetAndSubAddress) {
  std::array<std::uint8_t, 120> reply{};
  ProtocolSetup setup{test::PortOn("/dev/null"), test::FastTimings(), nullptr, 0};
  TProtocol local(command::kIdentify, 2, true, reply.size(), reply.data(), setup);
  TProtocol remote(command::kIdentify, 0x11, false, reply.size(), reply.data(), setup);
  TProtocol inert(command::kIdentify, 2, true, 0, reply.data(), setup);
  EXPECT_EQ(local.Address(), 0xD2);
  EXPECT_EQ(remote.Address(), 0xC1);
  EXPECT_EQ(inert.Address(), 0);
  EXPECT_EQ(inert.Command(), 0);
  EXPECT_EQ(inert.ReplySize(), 0);
}

}  // namespace
}  // namespace rkvt
