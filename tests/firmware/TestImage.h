#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <span>
#include <vector>

#include <QFile>
#include <QString>

#include "FrameChecksum.h"

namespace rkvt::test {

// Laid out from the file format by hand, not from the library's constants, so a
// wrong constant there shows up here.
inline constexpr std::size_t kImageBytes = 327680;

enum class Area { A, B, C, D };

inline std::size_t AreaStart(Area area) {
  switch (area) {
    case Area::A: return 0x00000;
    case Area::B: return 0x20000;
    case Area::C: return 0x30000;
    case Area::D: return 0x40000;
  }
  return 0;
}

inline void PrintTo(Area area, std::ostream* os) { *os << "area " << "ABCD"[static_cast<int>(area)]; }

// Builds a firmware image that passes every check: version 3.15 (kind 1) near the
// start of area B, content in all four areas. A test then breaks one thing.
class TestImage {
 public:
  static constexpr std::size_t kMarkerOffset = 0x10;  // into area B's content

  TestImage() : bytes_(kImageBytes) {
    // Content never holds '$', so the only markers are the ones a test puts there.
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
      const auto byte = static_cast<std::uint8_t>(i * 37 + 11);
      bytes_[i] = byte == '$' ? 0x25 : byte;
    }
    SetLength(Area::A, 0x1234).SetLength(Area::B, 0x0400).SetLength(Area::C, 0x0333).SetLength(Area::D, 0x0222);
    PutMarker(kMarkerOffset, 1, 0x31, '5');
    SealAll();
  }

  // Writes the length field only; content stays as it is.
  TestImage& SetLength(Area area, std::uint32_t length) {
    const std::size_t at = AreaStart(area);
    if (area == Area::A) {
      Put(at + 1, {std::uint8_t(length >> 16), std::uint8_t(length >> 8), std::uint8_t(length)});
    } else {
      Put(at, {std::uint8_t(length >> 8), std::uint8_t(length)});
    }
    return *this;
  }

  std::size_t Length(Area area) const {
    const std::size_t at = AreaStart(area);
    if (area == Area::A) return std::size_t{bytes_[1]} << 16 | std::size_t{bytes_[2]} << 8 | bytes_[3];
    return std::size_t{bytes_[at]} << 8 | bytes_[at + 1];
  }

  // Bytes the area's checksum covers; the checksum itself sits right behind them.
  std::size_t Covered(Area area) const { return Length(area) + (area == Area::A ? 4 : 2); }
  std::size_t ChecksumAt(Area area) const { return AreaStart(area) + Covered(area); }

  // "$VER:", kind, version byte, character at `offset` into area B's content.
  TestImage& PutMarker(std::size_t offset, std::uint8_t kind, std::uint8_t versionByte, std::uint8_t character) {
    return Put(AreaStart(Area::B) + 2 + offset, {'$', 'V', 'E', 'R', ':', kind, versionByte, character});
  }

  // Leaves area B without the built-in marker.
  TestImage& RemoveMarker() { return Put(AreaStart(Area::B) + 2 + kMarkerOffset, {'#'}); }

  TestImage& Put(std::size_t at, std::initializer_list<std::uint8_t> bytes) {
    for (std::uint8_t byte : bytes) {
      if (at < bytes_.size()) bytes_[at] = byte;
      ++at;
    }
    return *this;
  }

  // Stores the checksum the area's bytes have now; what lies past the image is dropped.
  // An area whose covered bytes run past the image is left alone.
  TestImage& Seal(Area area) {
    if (AreaStart(area) + Covered(area) > bytes_.size()) return *this;
    const std::uint16_t sum = FrameChecksum(std::span(bytes_).subspan(AreaStart(area), Covered(area)));
    return Put(ChecksumAt(area), {std::uint8_t(sum >> 8), std::uint8_t(sum)});
  }

  TestImage& SealAll() { return Seal(Area::A).Seal(Area::B).Seal(Area::C).Seal(Area::D); }

  bool Sealed(Area area) const {
    const std::size_t at = ChecksumAt(area);
    if (at + 1 >= bytes_.size()) return false;
    const std::uint16_t sum = FrameChecksum(std::span(bytes_).subspan(AreaStart(area), Covered(area)));
    return sum == (bytes_[at] << 8 | bytes_[at + 1]);
  }

  std::vector<std::uint8_t>& Bytes() { return bytes_; }
  std::span<const std::uint8_t, kImageBytes> Span() const {
    return std::span<const std::uint8_t, kImageBytes>(bytes_.data(), kImageBytes);
  }

  // The first `size` bytes of the image; beyond the image the file goes on with 0x5A.
  bool WriteTo(const QString& path, std::size_t size = kImageBytes) const {
    std::vector<char> file(size, 0x5A);
    std::copy_n(bytes_.begin(), std::min(size, bytes_.size()), file.begin());
    QFile out(path);
    return out.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           out.write(file.data(), qint64(file.size())) == qint64(file.size());
  }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace rkvt::test
