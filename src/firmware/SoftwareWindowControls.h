#pragma once

#include <QObject>

#include "ui/Controls.h"

namespace rkvt {

// Every control of the update window as a model, named as the control. The
// window logic sets them; the Qt window mirrors them. All models are children
// of this object, so they can also be found by name.
class SoftwareWindowControls : public QObject {
 public:
  SoftwareWindowControls();

  ui::Label LabelFileName{"LabelFileName", "File :"};
  ui::StaticText StaticTextSoftwareModem{"StaticTextSoftwareModem"};
  ui::StaticText StaticTextSoftwareModemVersionSoftware{"StaticTextSoftwareModemVersionSoftware"};
  ui::Button ButtonLoadSoftwareModem{"ButtonLoadSoftwareModem", "..."};
  ui::Button ButtonTransmitSoftwareModem{"ButtonTransmitSoftwareModem", "Update"};
  ui::ProgressBar ProgressBar{"ProgressBar", 100};
  ui::Label LabelMessage{"LabelMessage", "Messages :"};
  ui::StaticText StaticTextMessage{"StaticTextMessage"};
};

}  // namespace rkvt
