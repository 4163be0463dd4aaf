#include "firmware/SoftwareWindowControls.h"

namespace rkvt {

SoftwareWindowControls::SoftwareWindowControls() {
  setObjectName(QStringLiteral("FormSoftware"));
  for (ui::Control* c : std::initializer_list<ui::Control*>{
           &LabelFileName, &StaticTextSoftwareModem, &StaticTextSoftwareModemVersionSoftware, &ButtonLoadSoftwareModem,
           &ButtonTransmitSoftwareModem, &ProgressBar, &LabelMessage, &StaticTextMessage})
    c->setParent(this);
  // The hints have no short part: nothing pops up, the long part goes to a status line.
  StaticTextSoftwareModem.SetHint(QStringLiteral("Filename software"));
  StaticTextSoftwareModemVersionSoftware.SetHint(QStringLiteral("Version file software"));
  ButtonLoadSoftwareModem.SetHint(QStringLiteral("Get file software"));
  ButtonTransmitSoftwareModem.SetHint(QStringLiteral("Update software"));
  ProgressBar.SetHint(QStringLiteral("Progress Bar for write software"));
  StaticTextMessage.SetHint(QStringLiteral("Message line"));
  ButtonTransmitSoftwareModem.SetEnabled(false);
  ProgressBar.SetEnabled(false);
}

}  // namespace rkvt
