#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include <QStringView>

namespace rkvt {

// A loop or bit-error test: the code that connects and disconnects it, and the
// loop page that reads its counters (first- and second-generation firmware).
struct TestKind {
  std::string_view name;
  std::uint8_t code;
  std::uint8_t pageBelow7;
  std::uint8_t pageFrom7;
  bool remote;  // offered for the remote modem too
};

std::span<const TestKind> TestKinds();
// Case-insensitive; nullptr for an unknown name.
const TestKind* FindTestKind(QStringView name);
std::uint8_t LoopPageCode(const TestKind& test, int softwareLevel);

}  // namespace rkvt
