#include "firmware/ImageBuffer.h"

namespace rkvt {

ImageBuffer::ImageBuffer() : bytes_(std::make_unique<std::array<std::uint8_t, kImageSize>>()) {
  Clear();
}

void ImageBuffer::Clear() { bytes_->fill(0); }

}  // namespace rkvt
