#include "app/QtMainWindow.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "app/QtPlacement.h"
#include "ui/widgets/QtBinders.h"
#include "mainwin/SignalPanels.h"
#include "ui/widgets/QtLamp.h"
#include "ui/widgets/QtPanelRow.h"
#include "ui/widgets/QtTextField.h"

namespace rkvt {

namespace {

// A titled group of the window; its name is "GroupBox" + the title.
QGroupBox* NamedGroup(QWidget* parent, const QString& title) {
  auto* group = new QGroupBox(QLatin1Char(' ') + title + QLatin1Char(' '), parent);
  group->setObjectName(QStringLiteral("GroupBox") + title);
  group->setAccessibleName(title);
  return group;
}

// A grid of caption/field rows whose field column takes the spare width.
QGridLayout* RowGrid(QGroupBox* group) {
  auto* grid = new QGridLayout(group);
  grid->setColumnStretch(1, 1);
  return grid;
}


// Field widths in characters: wide enough for the longest texts the
// decoders write ("DCE RS-232/V.24", "Input level too high").
constexpr int kWideField = 24;
constexpr int kMediumField = 16;
constexpr int kNarrowField = 12;
constexpr int kMessageField = 56;

// Fields that come and go with the interface or the test keep their place,
// so the window does not jump while the modem is polled.
void KeepPlace(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
}

ui::QtTextField* Field(QWidget* parent, ui::StaticText& model, int chars, const QString& accessibleName,
                       Qt::Alignment alignment = Qt::AlignLeft) {
  auto* field = new ui::QtTextField(chars, parent);
  field->setAlignment(alignment | Qt::AlignVCenter);
  ui::Bind(model, *field, accessibleName);
  KeepPlace(field);
  return field;
}

QLabel* Caption(QWidget* parent, ui::Label& model, QWidget* buddy = nullptr, QChar mnemonic = {}) {
  auto* label = new QLabel(parent);
  ui::Bind(model, *label, buddy, mnemonic);
  KeepPlace(label);
  return label;
}


void AddRow(QGridLayout* grid, int row, QLabel* label, QWidget* field) {
  grid->addWidget(label, row, 0, Qt::AlignLeft | Qt::AlignVCenter);
  grid->addWidget(field, row, 1);
}

// Paints a caption only while the one sharing its place is hidden.
class PaintedWhenUncovered : public QObject {
 public:
  PaintedWhenUncovered(QWidget* under, QWidget* over) : QObject(under), over_(over) { under->installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && over_ && over_->isVisible()) return true;
    return QObject::eventFilter(watched, event);
  }

 private:
  QPointer<QWidget> over_;
};

using Controls = MainWindowControls;

// A caption and its field.
struct FieldSpec {
  ui::Label Controls::*caption;
  ui::StaticText Controls::*field;
  int chars;
  const char* accessibleName;
  Qt::Alignment alignment = Qt::AlignLeft;
};

// One grid row: a caption and field, or two that the logic shows one at a
// time. While both are shown (blanked, before anything is decoded) the
// second covers the first instead of mixing two captions into one smudge.
struct RowSpec {
  FieldSpec first;
  std::optional<FieldSpec> second;
};

void AddFieldRows(QGroupBox* group, QGridLayout* grid, Controls& c, int firstRow, std::initializer_list<RowSpec> rows) {
  const auto add = [&](int row, const FieldSpec& spec) {
    QLabel* label = Caption(group, c.*spec.caption);
    AddRow(grid, row, label,
           Field(group, c.*spec.field, spec.chars, QString::fromLatin1(spec.accessibleName), spec.alignment));
    return label;
  };
  int row = firstRow;
  for (const RowSpec& spec : rows) {
    QLabel* first = add(row, spec.first);
    if (spec.second) new PaintedWhenUncovered(first, add(row, *spec.second));
    ++row;
  }
}

// A row of buttons under a group's fields, with the group's spare height below.
void AddButtonRow(QGridLayout* grid, int row, std::initializer_list<QPushButton*> buttons) {
  auto* layout = new QHBoxLayout;
  for (QPushButton* button : buttons) layout->addWidget(button);
  layout->addStretch(1);
  grid->addLayout(layout, row, 0, 1, 2);
  grid->setRowStretch(row + 1, 1);
}

QGroupBox* Panel(QWidget* parent, MainWindowControls& controls, const SignalPanel& panel) {
  auto* box = new QGroupBox(parent);
  ui::Bind(controls.*panel.panel, *box);
  auto* grid = new QGridLayout(box);
  grid->setHorizontalSpacing(box->fontMetrics().averageCharWidth());
  int row = 0;
  for (const PanelLamp& entry : panel.lamps) {
    const QString text = QString::fromLatin1(entry.label);
    ui::Shape& shape = controls.*entry.shape;
    auto* lamp = new ui::QtLamp(box);
    ui::Bind(shape, *lamp, text);
    auto* label = new QLabel(text, box);
    label->setObjectName(QStringLiteral("Label") + shape.Name().mid(int(qstrlen("Shape"))));
    grid->addWidget(lamp, row, 0, Qt::AlignCenter);
    grid->addWidget(label, row, 1);
    ++row;
  }
  grid->setRowStretch(row, 1);
  return box;
}

}  // namespace

QtMainWindow::QtMainWindow(MainWindowControls& controls, QWidget* parent) : QMainWindow(parent), c_(controls) {
  setObjectName(controls.objectName());
  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("Console"));
  auto* layout = new QVBoxLayout(central);

  auto* top = new QHBoxLayout;
  top->addWidget(BuildStateGroup(), 0, Qt::AlignTop);
  BuildPanels();
  top->addWidget(panelRow_, 0);
  top->addStretch(1);
  top->addWidget(BuildTargetGroup(), 0, Qt::AlignTop);
  layout->addLayout(top);

  auto* middle = new QHBoxLayout;
  middle->addWidget(BuildStatisticsGroup(), 1);
  middle->addWidget(BuildTestsGroup(), 1);
  layout->addLayout(middle);

  BuildBottom(central);
  setCentralWidget(central);
  SetTabOrder();
  // The operator's first move is nearly always State.
  findChild<QWidget*>(controls.ButtonState.Name())->setFocus();
}

QGroupBox* QtMainWindow::BuildTargetGroup() {
  QGroupBox* group = NamedGroup(this, QStringLiteral("Target"));
  auto* column = new QVBoxLayout(group);

  auto* local = new QRadioButton(group);
  ui::Bind(c_.RadioButtonLocal, *local, QLatin1Char('L'));
  auto* remote = new QRadioButton(group);
  ui::Bind(c_.RadioButtonRemote, *remote, QLatin1Char('m'));
  column->addWidget(local);
  column->addWidget(remote);
  column->addSpacing(fontMetrics().height() / 2);

  const QStringList stop{QStringLiteral("Stop")};
  column->addWidget(ui::BoundPushButton(group, c_.ButtonState, QLatin1Char('S'), QStringList{QStringLiteral("State")} + stop));
  column->addWidget(ui::BoundPushButton(group, c_.ButtonSetup, QLatin1Char('u'), QStringList{QStringLiteral("Setup")} + stop));
  column->addWidget(ui::BoundPushButton(group, c_.ButtonReset, QLatin1Char('R'), QStringList{QStringLiteral("Reset")} + stop));
  column->addWidget(ui::BoundPushButton(group, c_.ButtonSoftware, QLatin1Char('o'), {QStringLiteral("Soft")},
                               QStringLiteral("Soft: firmware update")));
  column->addWidget(ui::BoundPushButton(group, c_.ButtonPort, QLatin1Char('P'), {QStringLiteral("Port")},
                               QStringLiteral("Port settings")));
  column->addStretch(1);
  return group;
}

QGroupBox* QtMainWindow::BuildStateGroup() {
  QGroupBox* group = NamedGroup(this, QStringLiteral("State"));
  QGridLayout* grid = RowGrid(group);
  AddFieldRows(group, grid, c_, 0,
               {
                   {{&Controls::LabelModem, &Controls::StaticTextModem, kWideField, "Modem type"}},
                   {{&Controls::LabelVersion, &Controls::StaticTextVersion, kWideField, "Firmware version"}},
                   {{&Controls::LabelState, &Controls::StaticTextState, kWideField, "Line state"}},
                   {{&Controls::LabelInterface, &Controls::StaticTextInterface, kWideField, "Interface"}},
                   // Speed (Ethernet) and cable (port 2): never both are shown.
                   {{&Controls::LabelSpeed, &Controls::StaticTextSpeed, kMediumField, "Speed"},
                    FieldSpec{&Controls::LabelCable, &Controls::StaticTextCable, kMediumField, "Cable"}},
                   {{&Controls::LabelQual, &Controls::StaticTextQual, kMediumField, "Line quality"}},
                   {{&Controls::LabelBitRateLine, &Controls::StaticTextBitRateLine, kMediumField, "Line bit rate"}},
                   {{&Controls::LabelBitRatePx, &Controls::StaticTextBitRatePx, kMediumField, "Port 2 bit rate"}},
               });
  grid->setRowStretch(8, 1);
  stateField_ = group->findChild<ui::QtTextField*>(c_.StaticTextState.Name());
  return group;
}

void QtMainWindow::BuildPanels() {
  panelRow_ = new ui::QtPanelRow(this);
  panelRow_->setObjectName(QStringLiteral("SignalPanels"));
  QGroupBox* port2 = Panel(panelRow_, c_, kSignalPanels[0]);
  QGroupBox* ethernet = Panel(panelRow_, c_, kSignalPanels[1]);
  QGroupBox* e1 = Panel(panelRow_, c_, kSignalPanels[2]);
  panelRow_->AddPanel(port2);
  panelRow_->AddPanel(ethernet);
  panelRow_->AddPanel(e1);
  // Room for the widest case (E1 and port 2 side by side) from the start.
  panelRow_->setMinimumWidth(e1->sizeHint().width() + port2->sizeHint().width() +
                             panelRow_->layout()->spacing());
}

QGroupBox* QtMainWindow::BuildStatisticsGroup() {
  QGroupBox* group = NamedGroup(this, QStringLiteral("Statistics"));
  QGridLayout* grid = RowGrid(group);
  AddFieldRows(group, grid, c_, 0,
               {
                   {{&Controls::LabelFillTime, &Controls::StaticTextFillTime, kNarrowField, "Full time"}},
                   {{&Controls::LabelCurrTime, &Controls::StaticTextCurrTime, kNarrowField, "Current time"}},
                   {{&Controls::LabelNoLineTime, &Controls::StaticTextNoLineTime, kNarrowField, "No-line time"}},
                   {{&Controls::LabelErrorsTime, &Controls::StaticTextErrorsTime, kNarrowField, "Errors time"}},
                   {{&Controls::LabelFaults, &Controls::StaticTextFaults, kNarrowField, "Faults"}},
               });
  AddButtonRow(grid, 5,
               {ui::BoundPushButton(group, c_.ButtonStatistics, QLatin1Char('a'), {QStringLiteral("Start"), QStringLiteral("Stop")}),
                ui::BoundPushButton(group, c_.ButtonClearStatistics, QLatin1Char('e'), {QStringLiteral("Clear")},
                           QStringLiteral("Clear statistics"))});
  return group;
}

QGroupBox* QtMainWindow::BuildTestsGroup() {
  QGroupBox* group = NamedGroup(this, QStringLiteral("Tests"));
  QGridLayout* grid = RowGrid(group);

  auto* selector = new QComboBox(group);
  selector->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  ui::Bind(c_.ComboBoxTest, *selector, QStringLiteral("Test"));
  auto* selectorRow = new QHBoxLayout;
  selectorRow->addWidget(selector);
  selectorRow->addStretch(1);
  grid->addWidget(Caption(group, c_.LabelTest, selector, QLatin1Char('T')), 0, 0);
  grid->addLayout(selectorRow, 0, 1);

  AddFieldRows(group, grid, c_, 1,
               {
                   // The bit counter (DL) takes the place of the ready time.
                   {{&Controls::LabelRdTime, &Controls::StaticTextRdTime, kNarrowField, "Ready time"},
                    FieldSpec{&Controls::LabelBits, &Controls::StaticTextBits, kNarrowField, "Bits", Qt::AlignRight}},
                   {{&Controls::LabelNRdTime, &Controls::StaticTextNRdTime, kNarrowField, "Not-ready time"}},
                   {{&Controls::LabelESTime, &Controls::StaticTextESTime, kNarrowField, "Errored seconds"}},
                   {{&Controls::LabelSESTime, &Controls::StaticTextSESTime, kNarrowField, "Severely errored seconds"}},
               });
  AddButtonRow(grid, 5,
               {ui::BoundPushButton(group, c_.ButtonTest, QLatin1Char('c'),
                           {QStringLiteral("Connect"), QStringLiteral("Disconnect"), QStringLiteral("Stop")}),
                ui::BoundPushButton(group, c_.ButtonClearTest, QChar(), {QStringLiteral("Clear")},
                           QStringLiteral("Clear test counters"))});
  return group;
}

void QtMainWindow::BuildBottom(QWidget* central) {
  auto* layout = static_cast<QVBoxLayout*>(central->layout());
  layout->addWidget(Field(central, c_.StaticTextMessages, kMessageField, QStringLiteral("Message line")));
  auto* progress = new QProgressBar(central);
  progress->setMaximumHeight(fontMetrics().height());
  ui::Bind(c_.AdvProgress, *progress);
  layout->addWidget(progress);

  statusText_ = new ui::QtTextField(kMessageField);
  statusBar()->addWidget(statusText_, 1);
  ui::Bind(c_.StatusBar, *statusBar(), *statusText_);
}

void QtMainWindow::SetTabOrder() {
  const QStringList order{
      QStringLiteral("RadioButtonLocal"),  QStringLiteral("RadioButtonRemote"), QStringLiteral("ButtonState"),
      QStringLiteral("ButtonSetup"),       QStringLiteral("ButtonReset"),       QStringLiteral("ButtonSoftware"),
      QStringLiteral("ButtonPort"),        QStringLiteral("ButtonStatistics"),  QStringLiteral("ButtonClearStatistics"),
      QStringLiteral("ComboBoxTest"),      QStringLiteral("ButtonTest"),        QStringLiteral("ButtonClearTest")};
  QWidget* previous = nullptr;
  for (const QString& name : order) {
    auto* widget = findChild<QWidget*>(name);
    if (previous && widget) setTabOrder(previous, widget);
    if (widget) previous = widget;
  }
}

bool QtMainWindow::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::WindowActivate:
      if (OnActivate) OnActivate();
      break;
    case QEvent::StatusTip:
      // Hints are routed by the application, not shown as Qt's own messages.
      return true;
    default:
      break;
  }
  return QMainWindow::event(event);
}

WindowPlacement QtMainWindow::Placement() const { return FramePlacement(*this); }

void QtMainWindow::ApplyPlacement(const WindowPlacement& placement) { MoveOnScreen(*this, placement); }

std::optional<QString> QtMainWindow::FullTextTooltip(QWidget* widget) const {
  const ui::QtTextField* field = nullptr;
  if (widget == stateField_) {
    field = stateField_;
  } else if (widget == statusText_ || widget == statusBar()) {
    field = statusText_;
  } else {
    return std::nullopt;
  }
  const QString text = field->text();
  if (QFontMetrics(font()).horizontalAdvance(text) <= field->ClientWidth()) return std::nullopt;
  return text;
}

}  // namespace rkvt
