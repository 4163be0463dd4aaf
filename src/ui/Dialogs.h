#pragma once

#include <QString>
#include <optional>

#include "port/PortSettings.h"

namespace rkvt::ui {

// The dialogs and the beep the windows use, behind interfaces tests replace.
class PortDialog {
 public:
  virtual ~PortDialog() = default;
  // Edits the settings; false when the user cancelled.
  virtual bool Edit(PortSettings& settings) = 0;
};

class FileOpenDialog {
 public:
  virtual ~FileOpenDialog() = default;
  // The chosen file's full path, or nothing when cancelled.
  virtual std::optional<QString> Open(const QString& directory, const QString& fileName) = 0;
};

class Beeper {
 public:
  virtual ~Beeper() = default;
  virtual void Beep() = 0;
};

}  // namespace rkvt::ui
