// The trace of an identification against a modem that fails once in each way
// the emulator offers: the frames in hex and what each reply said.
#include <gtest/gtest.h>

#include "link/Commands.h"
#include "link/TracingPort.h"
#include "LinkHarness.h"

namespace rkvt {
namespace {

using sim::Fault;

// The trace of one identify, the time column cut off.
QStringList TraceOf(sim::ModemEmulator& modem) {
  QStringList lines;
  QElapsedTimer clock;
  clock.start();
  std::mutex guard;  // lines come from the worker thread
  const std::string path = modem.PortPath();
  PortFactory factory = [&, path]() -> std::unique_ptr<SerialPort> {
    return std::make_unique<TracingPort>(test::PortOn(path)(), QStringLiteral("PORT"), 3, clock,
                                         [&](const QString& line) {
                                           std::lock_guard lock(guard);
                                           lines << line.mid(line.indexOf(QLatin1String(" s  ")) + 4);
                                         });
  };
  test::RecordingHost host;
  std::array<std::uint8_t, 120> reply{};
  EXPECT_TRUE(test::RunWorker(new TProtocol(command::kIdentify, 1, true, reply.size(), reply.data(),
                                            {factory, test::FastTimings(), &host, 0}))
                  .completed);
  std::lock_guard lock(guard);
  return lines;
}

const QString kIdentify =
    "-> working  E7 D1 03 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 B8 F3  attempt "
    "%1 of 3";
const QString kAcknowledged =
    "<- working  E7 71 03 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 3C D2  echo ok";
const QString kAnswer =
    "<- working  E7 71 03 00 00 00 06 31 35 00 06 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 82 53  answer, "
    "code 03";

sim::ModemModel Gen2() { return sim::ModemModel({.type = 6, .version = 0x31, .third = '5', .variantCode = 6}); }

// A clean exchange, then one spoilt acknowledgement per fault: the reply line
// says what was wrong and the request goes again as attempt 2.
TEST(Trace, EachFaultShowsInItsReplyLineAndTheNextAttemptFollows) {
  {
    sim::ModemEmulator modem(Gen2());
    EXPECT_EQ(TraceOf(modem).join('\n').toStdString(),
              QStringList({"== open PORT", kIdentify.arg(1), kAcknowledged, kAnswer}).join('\n').toStdString());
  }
  const struct {
    Fault fault;
    QString verdict;
  } cases[] = {
      {Fault::BadChecksum,
       "E7 71 03 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 3C 2D  bad checksum"},
      {Fault::WrongEcho,
       "E7 71 43 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 3D FA  code 43, not the "
       "echo 03"},
      {Fault::NonZeroStatus,
       "E7 71 03 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 35 8A  non-zero status 01"},
      {Fault::Garbled, "bad checksum"},
      {Fault::Noise, "no start byte"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.verdict.toStdString());
    sim::ModemEmulator modem(Gen2());
    modem.AddFault({.fault = c.fault, .reply = sim::ReplyKind::Acknowledgement, .times = 1});
    const QStringList lines = TraceOf(modem);
    // What follows the second request depends on how much of the first
    // exchange's answer the purge caught; the second request is certain.
    ASSERT_GE(lines.size(), 5) << lines.join("\n").toStdString();
    EXPECT_TRUE(lines[2].startsWith("<- working  ") && lines[2].endsWith(c.verdict)) << lines[2].toStdString();
    EXPECT_EQ(lines[3], kIdentify.arg(2));
  }
}

// The address of an acknowledgement is not examined: the trace says it is
// wrong, and the exchange goes on without a second attempt.
TEST(Trace, WrongAddressIsNotedButNotRetried_PartialAndSilentAnswersAreNamed) {
  sim::ModemEmulator modem(Gen2());
  modem.AddFault({.fault = Fault::WrongAddress, .reply = sim::ReplyKind::Acknowledgement, .times = 1});
  QStringList lines = TraceOf(modem);
  ASSERT_EQ(lines.size(), 4);
  EXPECT_TRUE(lines[2].endsWith("F2 F3  wrong address 41, not 71, echo ok")) << lines[2].toStdString();

  // Without any answer the loader is asked next: a new request, attempt 1 again.
  sim::ModemEmulator silent(Gen2());
  silent.AddFault({.fault = Fault::NoReply, .reply = sim::ReplyKind::Answer});
  lines = TraceOf(silent);
  ASSERT_GE(lines.size(), 6);
  EXPECT_EQ(lines[3], "<- working  time-out: nothing within 1500 ms");
  EXPECT_EQ(lines[4], "-> loader   E7 D1 03 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
                      "00 B8 F3  attempt 1 of 3");

  sim::ModemEmulator cut(Gen2());
  cut.AddFault({.fault = Fault::CutShort, .reply = sim::ReplyKind::Answer, .times = 1});
  lines = TraceOf(cut);
  ASSERT_GE(lines.size(), 4);
  EXPECT_TRUE(lines[3].endsWith("partial: 31 of 62 bytes, time-out")) << lines[3].toStdString();
}

}  // namespace
}  // namespace rkvt
