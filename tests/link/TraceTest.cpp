// The trace of an identification against a modem that fails once in each
// way the emulator offers: the frames in hex and what each reply said.
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
  test::RecordingHost host;
  std::array<std::uint8_t, 120> reply{};
  PortFactory factory = [&, path = modem.PortPath()]() -> std::unique_ptr<SerialPort> {
    return std::make_unique<TracingPort>(test::PortOn(path)(), "PORT", 3, clock, [&](const QString& line) {
      std::lock_guard lock(guard);
      lines << line.mid(line.indexOf(" s  ") + 4);
    });
  };
  test::RunWorker(new TProtocol(command::kIdentify, 1, true, reply.size(), reply.data(),
                                {factory, test::FastTimings(), &host, 0}));
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

// A clean exchange; then one spoilt acknowledgement per fault: the reply line
// says what was wrong and the request goes again as attempt 2 (what follows
// depends on how much of the first answer the purge caught).
TEST(Trace, EachFaultShowsInItsReplyLineAndTheNextAttemptFollows) {
  sim::ModemEmulator clean(Gen2());
  EXPECT_EQ(TraceOf(clean), QStringList({"== open PORT", kIdentify.arg(1), kAcknowledged, kAnswer}));
  const std::pair<Fault, QString> cases[] = {
      {Fault::BadChecksum, "00 00 3C 2D  bad checksum"},
      {Fault::WrongEcho, "E7 71 43 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 3D "
                         "FA  code 43, not the echo 03"},
      {Fault::NonZeroStatus, "E7 71 03 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
                             "00 35 8A  non-zero status 01"},
      {Fault::Garbled, "bad checksum"},
      {Fault::Noise, "no start byte"},
  };
  for (const auto& [fault, verdict] : cases) {
    sim::ModemEmulator modem(Gen2());
    modem.AddFault({.fault = fault, .reply = sim::ReplyKind::Acknowledgement, .times = 1});
    const QStringList lines = TraceOf(modem);
    ASSERT_GE(lines.size(), 5) << lines.join("\n").toStdString();
    EXPECT_TRUE(lines[2].startsWith("<- working  ") && lines[2].endsWith(verdict)) << lines[2].toStdString();
    EXPECT_EQ(lines[3], kIdentify.arg(2));
  }
}

// An acknowledgement's address is not examined: noted, not retried. A silent
// answer sends identify to the loader (a new request: attempt 1); a cut one is partial.
TEST(Trace, WrongAddressNotedSilentAndCutAnswersNamed) {
  const std::tuple<Fault, sim::ReplyKind, int, QString> cases[] = {
      {Fault::WrongAddress, sim::ReplyKind::Acknowledgement, 2, "F2 F3  wrong address 41, not 71, echo ok"},
      {Fault::NoReply, sim::ReplyKind::Answer, 3, "<- working  time-out: nothing within 1500 ms"},
      {Fault::NoReply, sim::ReplyKind::Answer, 4, "B8 F3  attempt 1 of 3"},
      {Fault::CutShort, sim::ReplyKind::Answer, 3, "partial: 31 of 62 bytes, time-out"},
  };
  for (const auto& [fault, kind, line, text] : cases) {
    sim::ModemEmulator modem(Gen2());
    modem.AddFault({.fault = fault, .reply = kind, .times = 1});
    const QStringList lines = TraceOf(modem);
    ASSERT_GT(lines.size(), line);
    EXPECT_TRUE(lines[line].endsWith(text)) << lines[line].toStdString();
  }
}

}  // namespace
}  // namespace rkvt
