#pragma once

#include <cstdint>
#include <span>

#include <QString>
#include <QTextStream>

namespace rkvt::cli {

// "02 00 06 31" — upper-case pairs, one blank between them.
QString HexBytes(std::span<const std::uint8_t> bytes);

// The stdout side: what scripts read. One line per fact, flushed at once so a
// script sees each step as it ends.
class ReplyPrinter {
 public:
  explicit ReplyPrinter(QTextStream& out) : out_(out) {}

  // "result 2: <meaning>" and "reply: <hex>".
  void Result(std::uint8_t result, std::span<const std::uint8_t> reply);
  void Level(int softwareLevel);
  void Refusal(std::span<const std::uint8_t> detail);
  void Line(const QString& text);

 private:
  QTextStream& out_;
};

}  // namespace rkvt::cli
