#include <array>

#include "mainwin/BlockBytes.h"
#include "mainwin/Decode.h"

namespace rkvt {

namespace {

constexpr std::uint8_t kTerminal = 0x80;
constexpr std::uint8_t kLocal = 0x40;
constexpr std::uint8_t kSetup = 0x20;
constexpr std::uint8_t kTest = 0x10;
constexpr std::uint8_t kDenied = 0x08;

// The far end of a remote loop reports the test with this code; the
// interesting record then starts two bytes later.
constexpr int kSlaveTestCode = 9;

struct TestName {
  int code;
  const char* name;
  bool withRole;  // only the remote loops have a master and a slave end
};

constexpr std::array kTestNames{
    TestName{1, "RDL-ES ", true}, TestName{2, "RDL ", true}, TestName{4, "AL-ES ", false},
    TestName{6, "ES ", false},    TestName{7, "AL ", false}, TestName{8, "DL ", false},
    TestName{10, "LL ", false},
};

int TestCode(std::uint8_t r0, std::uint8_t r1) { return (r0 & 0x07) * 4 + (r1 >> 6); }

}  // namespace

QString ActivityText(std::span<std::uint8_t> block, std::size_t at, bool targetLocal) {
  // The modem reports local/remote from its own side; turn it to the
  // operator's. Done in the block so that the reply snapshot agrees.
  const std::size_t flip = targetLocal ? at + 2 : at;
  if (flip < block.size()) block[flip] ^= kLocal;

  std::array<std::uint8_t, 6> b{};
  for (std::size_t i = 0; i < b.size(); ++i) b[i] = ByteAt(block, at + i);

  const bool slave = (b[0] & kTest) != 0 && TestCode(b[0], b[1]) == kSlaveTestCode;
  const QString role = slave ? QStringLiteral("(slave) ") : QStringLiteral("(master) ");
  const std::uint8_t* r = slave ? &b[2] : &b[0];

  const QString where = QLatin1String((r[0] & kLocal) ? "local " : "remote ") +
                        QLatin1String((r[0] & kTerminal) ? "terminal" : "modem");
  QString text;
  if (r[0] & kSetup) {
    text = QStringLiteral("Setup activated from ") + where;
  } else if (r[0] & kDenied) {
    text = QStringLiteral("Access denied on ") + where;
  } else if (r[0] & kTest) {
    QString name;
    const int code = TestCode(r[0], r[1]);
    for (const TestName& t : kTestNames)
      if (t.code == code) name = QLatin1String(t.name) + (t.withRole ? role : QString());
    text = QStringLiteral("Test ") + name + QStringLiteral("from ") + where;
  }
  if (text.isEmpty())
    text = QStringLiteral(" ??? 0x") + HexDigits({r, 4}) + QStringLiteral(" ??? ");
  return text;
}

}  // namespace rkvt
