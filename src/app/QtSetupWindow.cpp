#include "app/QtSetupWindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/QtPlacement.h"
#include "ui/widgets/QtBinders.h"
#include "ui/widgets/QtParamListBinder.h"
#include "ui/widgets/QtParamListBox.h"
#include "ui/widgets/QtTextField.h"

namespace rkvt {

namespace {

// Design sizes for the usual desktop font; larger fonts scale them.
constexpr double kDesignRowHeight = 16.0;
constexpr int kDesignClientWidth = 244;
constexpr int kMessageChars = 20;


QComboBox* Combo(QWidget* parent, ui::ComboBox& model, const QString& accessibleName) {
  auto* combo = new QComboBox(parent);
  combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  ui::Bind(model, *combo, accessibleName);
  return combo;
}

}  // namespace

QtSetupWindow::QtSetupWindow(TFormSetup& form, QWidget* parent) : QDialog(parent), form_(form) {
  setObjectName(form.objectName());
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetNoConstraint);  // Sync sizes the window

  list_ = new ui::QtParamListBox(this);
  list_->setAccessibleName(QStringLiteral("Parameters"));
  ui::Bind(form.ParamListBoxSetup, *list_);
  layout->addWidget(list_, 1);

  const QStringList stop{QStringLiteral("Stop")};
  auto* group = new QGroupBox(this);
  ui::Bind(form.GroupBoxProfiles, *group);
  auto* grid = new QGridLayout(group);
  grid->addWidget(Combo(group, form.ComboBoxProfilesLoad, QStringLiteral("Profile to load")), 0, 0);
  grid->addWidget(ui::BoundPushButton(group, form.ButtonProfilesLoad, QLatin1Char('L'), QStringList{QStringLiteral("Load")} + stop), 0, 1);
  grid->addWidget(Combo(group, form.ComboBoxProfilesSave, QStringLiteral("Profile to save")), 1, 0);
  grid->addWidget(ui::BoundPushButton(group, form.ButtonProfilesSave, QLatin1Char('S'), QStringList{QStringLiteral("Save")} + stop), 1, 1);
  grid->setColumnStretch(2, 1);  // a profile number needs no width
  auto* middle = new QHBoxLayout;
  middle->addWidget(group, 1);
  middle->addWidget(ui::BoundPushButton(this, form.ButtonClose, QLatin1Char('C'), QStringList{QStringLiteral("Close")} + stop), 0,
                    Qt::AlignVCenter);
  layout->addLayout(middle);

  auto* messages = new ui::QtTextField(kMessageChars, this);
  ui::Bind(form.StatusBarMessages, *messages, QStringLiteral("Message line"));
  auto* caption = new QLabel(this);
  ui::Bind(form.LabelMessages, *caption);
  auto* messageRow = new QHBoxLayout;
  messageRow->addWidget(caption);
  messageRow->addWidget(messages, 1);
  layout->addLayout(messageRow);

  auto* bar = new QStatusBar(this);
  bar->setSizeGripEnabled(false);
  auto* help = new ui::QtTextField(kMessageChars);
  bar->addWidget(help, 1);
  ui::Bind(form.StatusBarHelpLine, *bar, *help, QStringLiteral("Help line"));
  // Visible as a line of its own even while it is empty.
  help->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  layout->addWidget(bar);

  QObject::connect(&form.ParamListBoxSetup, &ui::Control::Changed, this, [this] { Sync(); });
  form.OnWindowChanged = [this] { Sync(); };
  Sync();
}

void QtSetupWindow::Sync() {
  setWindowTitle(form_.Caption());
  // The list gets at least the view's height (our rows below it are taller
  // than the design's, so the window grows rather than the list scrolls).
  // The width is the list's own, so a long label pushes the values right.
  const double scale = list_->RowHeight() / kDesignRowHeight;
  const setup::ListLayout design = form_.Layout();
  list_->setMinimumHeight(static_cast<int>(std::lround(design.listHeight * scale)));
  layout()->invalidate();
  const QSize least = layout()->totalMinimumSize();
  const QMargins margins = layout()->contentsMargins();
  const int width = std::max({least.width(), list_->sizeHint().width() + margins.left() + margins.right(),
                              static_cast<int>(std::lround(kDesignClientWidth * scale))});
  const int height = qMax(least.height(), static_cast<int>(std::lround(design.windowHeight * scale)));
  if (minimumSize() != QSize(width, height) || maximumSize() != QSize(width, height)) setFixedSize(width, height);
  if (form_.Shown() && !isVisible()) {
    everShown_ = true;
    show();
    raise();
    activateWindow();
    list_->setFocus();
  } else if (!form_.Shown() && isVisible()) {
    hide();
  }
}

bool QtSetupWindow::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::WindowActivate:
      if (OnActivate) OnActivate();
      break;
    case QEvent::StatusTip:
      return true;  // hints are routed by the application
    default:
      break;
  }
  return QDialog::event(event);
}

void QtSetupWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (form_.ButtonClose.Caption() == QLatin1String("Close") && form_.ButtonClose.Enabled()) form_.ButtonClose.Click();
}

WindowPlacement QtSetupWindow::Placement() const { return FramePlacement(*this); }

void QtSetupWindow::ApplyPlacement(const WindowPlacement& placement) { MoveOnScreen(*this, placement); }

}  // namespace rkvt
