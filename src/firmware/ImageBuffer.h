#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "link/ImageGeometry.h"

namespace rkvt {

using ImageBytes = std::span<const std::uint8_t, kImageSize>;

// The update window's firmware image. Kept on the heap: 320 KiB is too much for a
// stack, and the file is read straight into it, so there is never a second copy.
class ImageBuffer {
 public:
  ImageBuffer();
  ImageBuffer(const ImageBuffer&) = delete;
  ImageBuffer& operator=(const ImageBuffer&) = delete;

  std::span<std::uint8_t, kImageSize> Bytes() { return *bytes_; }
  ImageBytes Bytes() const { return *bytes_; }

  // Every load starts from zeros, so a short file leaves zeros behind its bytes.
  void Clear();

 private:
  std::unique_ptr<std::array<std::uint8_t, kImageSize>> bytes_;
};

}  // namespace rkvt
