#pragma once

#include "ui/Dialogs.h"

namespace rkvt::ui {

// The desktop's warning sound.
class QtBeeper : public Beeper {
 public:
  void Beep() override;
};

}  // namespace rkvt::ui
