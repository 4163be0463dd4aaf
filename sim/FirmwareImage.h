#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace rkvt::sim {

enum class ImageArea { A, B, C, D };
inline constexpr ImageArea kImageAreas[] = {ImageArea::A, ImageArea::B, ImageArea::C, ImageArea::D};

// The bytes of a firmware image file, edited area by area. Laid out from the
// file format by hand, not from the program's constants, so that a wrong
// constant there shows up against it.
class FirmwareImage {
 public:
  static constexpr std::size_t kSize = 0x50000;
  static constexpr std::uint32_t kAreaAMax = 131066;
  static constexpr std::uint32_t kAreaMax = 65532;
  static constexpr std::size_t kMarkerOffset = 0x10;  // into area B's content

  // Content in every byte, never '$', so the only markers are the ones put
  // there; lengths A 0x1234, B 0x400, C 0x333, D 0x222; the marker of 3.15
  // (kind 1); every area sealed. The seed shifts the content.
  explicit FirmwareImage(std::uint32_t seed = 0);

  static std::size_t AreaStart(ImageArea area);
  // Writes the length field only (A: 3 bytes behind the first, B-D: 2 at the start).
  FirmwareImage& SetLength(ImageArea area, std::uint32_t length);
  std::size_t Length(ImageArea area) const;
  // Bytes the area's checksum covers; the checksum itself sits right behind them.
  std::size_t Covered(ImageArea area) const;
  std::size_t ChecksumAt(ImageArea area) const { return AreaStart(area) + Covered(area); }

  // "$VER:", kind, version byte, character at `offset` into area B's content.
  FirmwareImage& PutMarker(std::size_t offset, std::uint8_t kind, std::uint8_t versionByte, std::uint8_t character);
  FirmwareImage& RemoveMarker() { return Put(AreaStart(ImageArea::B) + 2 + kMarkerOffset, {'#'}); }
  // What lies past the image is dropped.
  FirmwareImage& Put(std::size_t at, std::initializer_list<std::uint8_t> bytes);

  // Stores the checksum each area's bytes have now, unless it would lie past the image.
  FirmwareImage& SealAll();
  bool Sealed(ImageArea area) const;
  // Blank (0xFF) behind each area's checksum, as a flash tool leaves it.
  FirmwareImage& BlankOutsideAreas();

  std::vector<std::uint8_t>& Bytes() { return bytes_; }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  std::span<const std::uint8_t, kSize> Span() const { return std::span<const std::uint8_t, kSize>(bytes_.data(), kSize); }

  // The first `size` bytes as a file; beyond the image the file goes on with 0x5A.
  bool WriteTo(const std::string& path, std::size_t size = kSize) const;

 private:
  std::uint16_t Sum(ImageArea area) const;

  std::vector<std::uint8_t> bytes_;
};

// Writes `bytes` as the whole file at `path`; false when it could not.
bool WriteImageFile(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace rkvt::sim
