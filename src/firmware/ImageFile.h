#pragma once

#include <cstdint>

#include <QString>

#include "firmware/ImageBuffer.h"

namespace rkvt {

struct ImageValidation {
  bool ok = false;
  QString message;  // empty on success
  QString version;  // empty on failure
};

// Loads the image file at `fullPath` into `buffer` and decides whether a modem at
// `softwareLevel` may take it. Messages name the file by its short name. The
// buffer keeps whatever was read, valid or not.
ImageValidation ValidateImageFile(const QString& fullPath, std::int32_t softwareLevel, ImageBuffer& buffer);

}  // namespace rkvt
