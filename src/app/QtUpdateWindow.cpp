#include "app/QtUpdateWindow.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>
#include <cmath>

#include "app/QtPlacement.h"
#include "firmware/TFormSoftware.h"
#include "ui/widgets/QtBinders.h"
#include "ui/widgets/QtTextField.h"

namespace rkvt {

namespace {

// The font the window was designed with is 13 pixels high; a larger one
// (a desktop at 200 % font size) widens the window by as much.
constexpr double kDesignFontHeight = 13.0;
constexpr int kFileChars = 24;
constexpr int kVersionChars = 6;
constexpr int kMessageChars = 40;

ui::QtTextField* Field(QWidget* parent, ui::StaticText& model, int chars, const QString& accessibleName,
                       Qt::Alignment alignment = Qt::AlignLeft) {
  auto* field = new ui::QtTextField(chars, parent);
  field->setAlignment(alignment | Qt::AlignVCenter);
  ui::Bind(model, *field, accessibleName);
  return field;
}

QLabel* Caption(QWidget* parent, ui::Label& model, QWidget* buddy) {
  auto* label = new QLabel(parent);
  ui::Bind(model, *label, buddy);
  return label;
}

}  // namespace

QtUpdateWindow::QtUpdateWindow(TFormSoftware& form, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      form_(form) {
  setObjectName(form.objectName());
  setWindowTitle(QStringLiteral("R-KVT-MS - Update Software"));
  setAcceptDrops(true);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(4, 4, 4, 4);
  grid->setSpacing(4);
  auto* file = Field(this, form.StaticTextSoftwareModem, kFileChars, QStringLiteral("Firmware file"));
  auto* version = Field(this, form.StaticTextSoftwareModemVersionSoftware, kVersionChars,
                        QStringLiteral("Firmware file version"), Qt::AlignHCenter);
  version->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  auto* choose = new QPushButton(this);
  QFont bold = choose->font();
  bold.setBold(true);
  choose->setFont(bold);
  choose->setAutoDefault(false);
  ui::Bind(form.ButtonLoadSoftwareModem, *choose);
  choose->setAccessibleDescription(QStringLiteral("Choose the firmware image file"));
  choose->setMaximumWidth(choose->fontMetrics().horizontalAdvance(QStringLiteral("....")) * 2);

  auto* transmit = new QPushButton(this);
  transmit->setAutoDefault(false);
  int transmitWidth = 0;
  for (const QString& caption : {QStringLiteral("Update"), QStringLiteral("Stop")}) {
    transmit->setText(caption);
    transmitWidth = std::max(transmitWidth, transmit->sizeHint().width());
  }
  transmit->setMinimumWidth(transmitWidth);
  ui::Bind(form.ButtonTransmitSoftwareModem, *transmit);
  auto* progress = new QProgressBar(this);
  ui::Bind(form.ProgressBar, *progress);
  progress->setAccessibleName(QStringLiteral("Update progress"));

  auto* message = Field(this, form.StaticTextMessage, kMessageChars, QStringLiteral("Message line"));

  grid->addWidget(Caption(this, form.LabelFileName, file), 0, 0);
  grid->addWidget(file, 0, 1);
  grid->addWidget(version, 0, 2);
  grid->addWidget(choose, 0, 3);
  grid->addWidget(transmit, 1, 0);
  grid->addWidget(progress, 1, 1, 1, 3);
  grid->addWidget(Caption(this, form.LabelMessage, message), 2, 0);
  grid->addWidget(message, 2, 1, 1, 3);
  grid->setColumnStretch(1, 1);
  setTabOrder(choose, transmit);

  const double scale = std::max(1.0, fontMetrics().height() / kDesignFontHeight);
  const int height = std::max(int(std::lround(kHeight * scale)), grid->sizeHint().height());
  const int width = std::max(int(std::lround(kWidth * scale)), grid->minimumSize().width());
  setMinimumWidth(width);
  setMaximumWidth(std::max(width, int(std::lround(kMaxWidth * scale))));
  setFixedHeight(height);
  resize(width, height);
}

void QtUpdateWindow::ShowUpdate() {
  show();
  raise();
  activateWindow();
}

WindowPlacement QtUpdateWindow::Placement() const { return FramePlacement(*this); }

void QtUpdateWindow::ApplyPlacement(const WindowPlacement& placement) {
  const int frameWidth = frameGeometry().width() - width();
  resize(std::clamp(placement.width - frameWidth, minimumWidth(), maximumWidth()), height());
  MoveOnScreen(*this, placement);
}

QString QtUpdateWindow::DroppableFile(const QMimeData* mime) {
  if (mime == nullptr || mime->urls().size() != 1 || !mime->urls().constFirst().isLocalFile()) return {};
  const QString path = mime->urls().constFirst().toLocalFile();
  return QFileInfo(path).suffix().compare(QLatin1String("vrk"), Qt::CaseInsensitive) == 0 ? path : QString();
}

bool QtUpdateWindow::event(QEvent* event) {
  // Hints are routed by the application, not shown as Qt's own messages.
  if (event->type() == QEvent::StatusTip) return true;
  return QDialog::event(event);
}

void QtUpdateWindow::showEvent(QShowEvent* event) {
  // Restoring from the task bar is no new showing.
  if (!event->spontaneous()) form_.FormShow();
  QDialog::showEvent(event);
}

void QtUpdateWindow::closeEvent(QCloseEvent* event) {
  form_.FormCloseQuery();
  event->accept();
}

void QtUpdateWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (form_.ButtonLoadSoftwareModem.Enabled() && !DroppableFile(event->mimeData()).isEmpty())
    event->acceptProposedAction();
}

void QtUpdateWindow::dropEvent(QDropEvent* event) {
  const QString path = DroppableFile(event->mimeData());
  if (!path.isEmpty() && form_.FileDropped(path)) event->acceptProposedAction();
}

}  // namespace rkvt
