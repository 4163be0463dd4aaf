#include "sim/FirmwareImage.h"

#include <algorithm>
#include <array>
#include <fstream>

#include "link/FrameChecksum.h"

namespace rkvt::sim {

FirmwareImage::FirmwareImage(std::uint32_t seed) : bytes_(kSize) {
  for (std::size_t i = 0; i < kSize; ++i) {
    const auto byte = static_cast<std::uint8_t>(i * 37 + 11 + seed);
    bytes_[i] = byte == '$' ? '%' : byte;
  }
  SetLength(ImageArea::A, 0x1234).SetLength(ImageArea::B, 0x0400).SetLength(ImageArea::C, 0x0333);
  SetLength(ImageArea::D, 0x0222).PutMarker(kMarkerOffset, 1, 0x31, '5').SealAll();
}

std::size_t FirmwareImage::AreaStart(ImageArea area) {
  return std::array<std::size_t, 4>{0x00000, 0x20000, 0x30000, 0x40000}[static_cast<int>(area)];
}

FirmwareImage& FirmwareImage::SetLength(ImageArea area, std::uint32_t n) {
  if (area == ImageArea::A) return Put(1, {std::uint8_t(n >> 16), std::uint8_t(n >> 8), std::uint8_t(n)});
  return Put(AreaStart(area), {std::uint8_t(n >> 8), std::uint8_t(n)});
}

std::size_t FirmwareImage::Length(ImageArea area) const {
  if (area == ImageArea::A) return std::size_t{bytes_[1]} << 16 | std::size_t{bytes_[2]} << 8 | bytes_[3];
  return std::size_t{bytes_[AreaStart(area)]} << 8 | bytes_[AreaStart(area) + 1];
}

std::size_t FirmwareImage::Covered(ImageArea area) const { return Length(area) + (area == ImageArea::A ? 4 : 2); }

FirmwareImage& FirmwareImage::PutMarker(std::size_t offset, std::uint8_t kind, std::uint8_t versionByte,
                                        std::uint8_t character) {
  return Put(AreaStart(ImageArea::B) + 2 + offset, {'$', 'V', 'E', 'R', ':', kind, versionByte, character});
}

FirmwareImage& FirmwareImage::Put(std::size_t at, std::initializer_list<std::uint8_t> bytes) {
  for (std::uint8_t byte : bytes) {
    if (at < bytes_.size()) bytes_[at] = byte;
    ++at;
  }
  return *this;
}

FirmwareImage& FirmwareImage::SealAll() {
  for (ImageArea area : kImageAreas) {
    if (ChecksumAt(area) > bytes_.size()) continue;
    const std::uint16_t sum = Sum(area);
    Put(ChecksumAt(area), {std::uint8_t(sum >> 8), std::uint8_t(sum)});
  }
  return *this;
}

bool FirmwareImage::Sealed(ImageArea area) const {
  const std::size_t at = ChecksumAt(area);
  return at + 1 < bytes_.size() && Sum(area) == (bytes_[at] << 8 | bytes_[at + 1]);
}

FirmwareImage& FirmwareImage::BlankOutsideAreas() {
  const std::size_t ends[] = {AreaStart(ImageArea::B), AreaStart(ImageArea::C), AreaStart(ImageArea::D), kSize};
  for (ImageArea area : kImageAreas) {
    const std::size_t from = std::min(ChecksumAt(area) + 2, ends[static_cast<int>(area)]);
    std::fill(bytes_.begin() + std::ptrdiff_t(from), bytes_.begin() + std::ptrdiff_t(ends[static_cast<int>(area)]), 0xFF);
  }
  return *this;
}

bool FirmwareImage::WriteTo(const std::string& path, std::size_t size) const {
  if (size <= bytes_.size()) return WriteImageFile(path, std::span(bytes_).first(size));
  std::vector<std::uint8_t> file(bytes_);
  file.resize(size, 0x5A);
  return WriteImageFile(path, file);
}

bool WriteImageFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return bool(out);
}

std::uint16_t FirmwareImage::Sum(ImageArea area) const {
  return FrameChecksum(std::span(bytes_).subspan(AreaStart(area), Covered(area)));
}

}  // namespace rkvt::sim
