#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

#include <QFile>
#include <QString>

#include "link/FrameChecksum.h"

namespace rkvt::test {

// Laid out from the file format by hand, not from the library's constants, so a
// wrong constant there shows up here.
inline constexpr std::size_t kImageBytes = 327680;

enum class Area { A, B, C, D };
inline constexpr Area kAreas[] = {Area::A, Area::B, Area::C, Area::D};

inline std::size_t AreaStart(Area area) {
  return std::array<std::size_t, 4>{0x00000, 0x20000, 0x30000, 0x40000}[static_cast<int>(area)];
}

// A firmware image that passes every check: version 3.15 (kind 1) near the start
// of area B, content in all four areas. A test then breaks one thing.
class TestImage {
 public:
  static constexpr std::size_t kMarkerOffset = 0x10;  // into area B's content

  TestImage() : bytes_(kImageBytes) {
    // Content never holds '$', so the only markers are the ones a test puts there.
    for (std::size_t i = 0; i < bytes_.size(); ++i) bytes_[i] = std::uint8_t(i * 37 + 11) == '$' ? '%' : i * 37 + 11;
    SetLength(Area::A, 0x1234).SetLength(Area::B, 0x0400).SetLength(Area::C, 0x0333).SetLength(Area::D, 0x0222);
    PutMarker(kMarkerOffset, 1, 0x31, '5').SealAll();
  }

  // Writes the length field only (A: 3 bytes behind the first, B-D: 2 at the start).
  TestImage& SetLength(Area area, std::uint32_t n) {
    return area == Area::A ? Put(1, {std::uint8_t(n >> 16), std::uint8_t(n >> 8), std::uint8_t(n)})
                           : Put(AreaStart(area), {std::uint8_t(n >> 8), std::uint8_t(n)});
  }
  std::size_t Length(Area area) const {
    if (area == Area::A) return std::size_t{bytes_[1]} << 16 | std::size_t{bytes_[2]} << 8 | bytes_[3];
    return std::size_t{bytes_[AreaStart(area)]} << 8 | bytes_[AreaStart(area) + 1];
  }
  // Bytes the area's checksum covers; the checksum itself sits right behind them.
  std::size_t Covered(Area area) const { return Length(area) + (area == Area::A ? 4 : 2); }
  std::size_t ChecksumAt(Area area) const { return AreaStart(area) + Covered(area); }

  // "$VER:", kind, version byte, character at `offset` into area B's content.
  TestImage& PutMarker(std::size_t offset, std::uint8_t kind, std::uint8_t versionByte, std::uint8_t character) {
    return Put(AreaStart(Area::B) + 2 + offset, {'$', 'V', 'E', 'R', ':', kind, versionByte, character});
  }
  TestImage& RemoveMarker() { return Put(AreaStart(Area::B) + 2 + kMarkerOffset, {'#'}); }

  // What lies past the image is dropped.
  TestImage& Put(std::size_t at, std::initializer_list<std::uint8_t> bytes) {
    for (std::uint8_t byte : bytes) {
      if (at < bytes_.size()) bytes_[at] = byte;
      ++at;
    }
    return *this;
  }

  // Stores the checksum each area's bytes have now, unless they run past the image.
  TestImage& SealAll() {
    for (Area area : kAreas) {
      if (ChecksumAt(area) > bytes_.size()) continue;
      const std::uint16_t sum = Sum(area);
      Put(ChecksumAt(area), {std::uint8_t(sum >> 8), std::uint8_t(sum)});
    }
    return *this;
  }
  bool Sealed(Area area) const {
    const std::size_t at = ChecksumAt(area);
    return at + 1 < bytes_.size() && Sum(area) == (bytes_[at] << 8 | bytes_[at + 1]);
  }

  std::vector<std::uint8_t>& Bytes() { return bytes_; }
  std::span<const std::uint8_t, kImageBytes> Span() const { return std::span<const std::uint8_t, kImageBytes>(bytes_); }

  // The first `size` bytes of the image; beyond the image the file goes on with 0x5A.
  bool WriteTo(const QString& path, std::size_t size = kImageBytes) const {
    std::vector<char> file(size, 0x5A);
    std::copy_n(bytes_.begin(), std::min(size, bytes_.size()), file.begin());
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(file.data(), qint64(size)) == qint64(size);
  }

 private:
  std::uint16_t Sum(Area area) const {
    return FrameChecksum(std::span(bytes_).subspan(AreaStart(area), Covered(area)));
  }

  std::vector<std::uint8_t> bytes_;
};

}  // namespace rkvt::test
