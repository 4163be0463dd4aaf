#include "app/WindowShells.h"

#include <QVBoxLayout>

#include "link/Commands.h"
#include "mainwin/TFormMain.h"

namespace rkvt {

UpdateShell::UpdateShell(TFormMain& form, QWidget* parent) : QDialog(parent), form_(form) {
  setObjectName(QStringLiteral("FormSoftware"));
  setWindowTitle(QStringLiteral("R-KVT-MS - Update"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("Firmware update from this window is not available in this version.\n"
                                  "Use: r-kvt-ms-cli --port PORT update FILE.vrk"),
                               this));
  auto* close = new QPushButton(tr("Close"), this);
  close->setObjectName(QStringLiteral("ButtonClose"));
  layout->addWidget(close, 0, Qt::AlignRight);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void UpdateShell::ShowUpdate() { show(); }

void UpdateShell::CloseQuietly() { hide(); }

void UpdateShell::reject() {
  hide();
  form_.UpdateWindowClosed();
}

}  // namespace rkvt
