#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <span>

namespace rkvt {

// Bytes past the end of a short block read as 0: a truncated reply then
// decodes to the "unknown" texts instead of reading past the buffer.
inline std::uint8_t ByteAt(std::span<const std::uint8_t> block, std::size_t index) {
  return index < block.size() ? block[index] : 0;
}

// The modem sends its counters big-endian.
inline std::uint16_t BigEndian16(std::span<const std::uint8_t> block, std::size_t at) {
  return static_cast<std::uint16_t>(ByteAt(block, at) << 8 | ByteAt(block, at + 1));
}

inline std::int32_t BigEndian32(std::span<const std::uint8_t> block, std::size_t at) {
  const std::uint32_t value = std::uint32_t{ByteAt(block, at)} << 24 | std::uint32_t{ByteAt(block, at + 1)} << 16 |
                              std::uint32_t{ByteAt(block, at + 2)} << 8 | std::uint32_t{ByteAt(block, at + 3)};
  return static_cast<std::int32_t>(value);
}

// Bytes as upper-case hex digits without separators, for the "0x" dumps of
// records the window cannot name.
inline QString HexDigits(std::span<const std::uint8_t> bytes) {
  return QString::fromLatin1(
      QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())).toHex().toUpper());
}

}  // namespace rkvt
