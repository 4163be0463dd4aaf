// The binders of every control kind and the widgets they drive, as painted.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <memory>
#include <ranges>

#include "Painted.h"
#include "ui/widgets/QtBinders.h"
#include "ui/widgets/QtColors.h"
#include "ui/widgets/QtLamp.h"
#include "ui/widgets/QtPanelRow.h"
#include "ui/widgets/QtTextField.h"

namespace rkvt::ui {
namespace {

// Only for a test that would otherwise hang: every wait ends on its event.
constexpr int kHangGuardMs = 60000;

// Text stems cover whole pixels, so the darkest grey level (0 black .. 255 white) is the text colour's.
int DarkestGrey(QWidget& widget) {
  return std::ranges::min(Painted(widget) | std::views::transform([](QColor c) { return qGray(c.rgb()); }));
}

bool Near(QColor a, QColor b, int tolerance = 8) {
  const int r = std::abs(a.red() - b.red()), g = std::abs(a.green() - b.green()), bl = std::abs(a.blue() - b.blue());
  return std::max({r, g, bl}) <= tolerance;
}

TEST(WithMnemonic, MarksTheFirstMatchingLetterAndDoublesAmpersands) {
  const std::tuple<const char*, char, const char*> cases[] = {
      {"State", 'S', "&State"}, {"Setup", 'u', "Set&up"}, {"Connect", 'c', "&Connect"},
      {"Disconnect", 'c', "Dis&connect"}, {"Stop", 'u', "Stop"}, {"Soft", 0, "Soft"},
      {"R&D", 0, "R&&D"}, {"R&D Lab", 'L', "R&&D &Lab"}};
  for (const auto& [caption, letter, shown] : cases)
    EXPECT_EQ(WithMnemonic(caption, letter ? QChar::fromLatin1(letter) : QChar()), QString(shown)) << caption;
}

// Every binder names the widget after its model, mirrors it and hands the user's actions back.
class Binder : public testing::Test {
 protected:
  QWidget parent;
};

TEST_F(Binder, ButtonMirrorsTheModelClickReachesItOnlyWhileEnabled) {
  Button model("ButtonState", "State");
  QPushButton widget(&parent);
  Bind(model, widget, 'S');
  int clicks = 0;
  model.OnClick = [&] { ++clicks; };
  parent.show();
  EXPECT_EQ(widget.objectName() + "|" + widget.text() + "|" + widget.accessibleName(), "ButtonState|&State|State");
  QTest::mouseClick(&widget, Qt::LeftButton);
  model.SetCaption("Stop");
  model.SetEnabled(false);
  model.SetHint("Identify the modem");
  EXPECT_EQ(std::pair(widget.text() + "|" + widget.accessibleName() + "|" + widget.statusTip(), widget.isEnabled()),
            std::pair(QString("&Stop|Stop|Identify the modem"), false));
  QTest::mouseClick(&widget, Qt::LeftButton);
  model.SetVisible(false);
  EXPECT_EQ(std::pair(clicks, widget.isHidden()), std::pair(1, true));
}

TEST_F(Binder, ButtonEitherSideMayBeDestroyedFirst) {
  auto model = std::make_unique<Button>("ButtonPort", "Port");
  auto widget = std::make_unique<QPushButton>();
  Bind(*model, *widget);
  model.reset();
  widget->click();  // must not reach the dead model
  EXPECT_EQ(widget->text(), "Port");
  Button other("ButtonPort", "Port");
  Bind(other, *widget);
  widget.reset();
  other.SetCaption("Stop");  // must not reach the dead widget
  EXPECT_EQ(other.Caption(), "Stop");
}

TEST_F(Binder, RadioButtonsUserChecksOneAndUnchecksTheOtherModelMayCheckEitherOrNone) {
  RadioButton local("RadioButtonLocal", "Local"), remote("RadioButtonRemote", "Remote");
  QRadioButton localWidget(&parent), remoteWidget(&parent);
  Bind(local, localWidget, 'L');
  Bind(remote, remoteWidget, 'm');
  EXPECT_EQ(remoteWidget.text(), "Re&mote");
  // Checked: local model, remote model, local widget, remote widget.
  const auto checked = [&] {
    return QString("%1%2%3%4").arg(local.Checked()).arg(remote.Checked()).arg(localWidget.isChecked())
        .arg(remoteWidget.isChecked());
  };
  local.SetChecked(true);
  EXPECT_EQ(checked(), "1010");
  parent.show();
  remoteWidget.toggle();
  EXPECT_EQ(checked(), "0101");
  local.SetChecked(true);
  EXPECT_EQ(checked(), "1010") << "the widget unchecked by exclusivity reports back";
  local.SetChecked(false);  // an exclusive set refuses to uncheck its checked button on its own
  EXPECT_EQ(checked(), "0000");
}

TEST_F(Binder, ComboBoxMirrorsItemsAndIndex) {
  ComboBox model("ComboBoxTest");
  model.SetItems({"RDL-ES", "AL-ES", "ES"});
  QComboBox widget(&parent);
  Bind(model, widget, "Test");
  model.SetItemIndex(2);
  EXPECT_EQ(QString("%1 %2 %3").arg(widget.count()).arg(widget.currentText(), widget.accessibleName()), "3 ES Test");
  model.SetItems({"RDL-ES", "RDL", "DL", "LL"});
  EXPECT_EQ(QString("%1 %2").arg(widget.count()).arg(widget.currentIndex()), "4 0");
}

// Each kind of control, worked with the mouse, the keyboard and an
// accessibility client's action: the model hears one change, and only one.
enum class Gesture { Mouse, Key, Accessible };
class Gestures : public Binder, public testing::WithParamInterface<Gesture> {
 protected:
  void SetUp() override {
    parent.resize(300, 200);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
  }
  // Runs the accessible action and lets Qt finish what it starts (a button
  // clicks at the end of a short animation).
  void Act(QWidget& widget, const QString& action) {
    QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(&widget);
    ASSERT_TRUE(seen != nullptr && seen->actionInterface() != nullptr);
    ASSERT_TRUE(seen->actionInterface()->actionNames().contains(action)) << action.toStdString();
    seen->actionInterface()->doAction(action);
  }
};

INSTANTIATE_TEST_SUITE_P(Ways, Gestures, testing::Values(Gesture::Mouse, Gesture::Key, Gesture::Accessible),
                         [](const auto& info) { return (std::array{"Mouse", "Key", "Accessible"})[int(info.param)]; });

TEST_P(Gestures, ButtonOneClick) {
  Button model("ButtonState", "State");
  QPushButton widget(&parent);
  Bind(model, widget);
  int clicks = 0;
  model.OnClick = [&] { ++clicks; };
  widget.setFocus();
  switch (GetParam()) {
    case Gesture::Mouse: QTest::mouseClick(&widget, Qt::LeftButton); break;
    case Gesture::Key: QTest::keyClick(&widget, Qt::Key_Space); break;
    case Gesture::Accessible: Act(widget, QAccessibleActionInterface::pressAction()); break;
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return clicks > 0; }, kHangGuardMs));
  QApplication::processEvents();
  EXPECT_EQ(clicks, 1);
}

TEST_P(Gestures, RadioButtonPickingRemoteChecksItAndRunsItsHandler) {
  RadioButton local("RadioButtonLocal", "Local"), remote("RadioButtonRemote", "Remote");
  QRadioButton localWidget(&parent), remoteWidget(&parent);
  remoteWidget.move(0, 40);
  Bind(local, localWidget);
  Bind(remote, remoteWidget);
  local.SetChecked(true);
  int picked = 0;
  remote.OnClick = [&] { ++picked; };
  local.OnClick = [&] { ADD_FAILURE() << "the checked one was picked again"; };
  switch (GetParam()) {
    case Gesture::Mouse: QTest::mouseClick(&remoteWidget, Qt::LeftButton); break;
    case Gesture::Key:
      localWidget.setFocus();
      QTest::keyClick(&localWidget, Qt::Key_Down);
      break;
    case Gesture::Accessible: Act(remoteWidget, QAccessibleActionInterface::toggleAction()); break;
  }
  EXPECT_EQ(std::tuple(picked, remote.Checked(), local.Checked()), std::tuple(1, true, false));
  // Picking it again is no change.
  QTest::mouseClick(&remoteWidget, Qt::LeftButton);
  EXPECT_EQ(picked, 1);
}

TEST_P(Gestures, ComboBoxChoosingAnotherItemReachesTheModel) {
  ComboBox model("ComboBoxTest");
  model.SetItems({"RDL-ES", "RDL", "DL", "LL"});
  QComboBox widget(&parent);
  Bind(model, widget, "Test");
  int changes = 0;
  model.OnChange = [&] { ++changes; };
  widget.setFocus();
  QAbstractItemView* list = widget.view();
  switch (GetParam()) {
    case Gesture::Mouse:
      widget.showPopup();
      ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(1, 0)).center());
      break;
    case Gesture::Key: QTest::keyClick(&widget, Qt::Key_Down); break;
    case Gesture::Accessible:
      // The client opens the list and picks with the keys, as a screen reader user does.
      Act(widget, QAccessibleActionInterface::showMenuAction());
      ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
      QTest::keyClick(list, Qt::Key_Down);
      QTest::keyClick(list, Qt::Key_Return);
      break;
  }
  EXPECT_EQ(std::pair(changes, model.Text()), std::pair(1, QString("RDL")));
}

TEST_F(Binder, StaticTextShowsTheExactTextInItsColoursElidesWhatDoesNotFit) {
  StaticText model("StaticTextMessages");
  QtTextField widget(24, &parent);
  Bind(model, widget, "Message line");
  widget.resize(widget.sizeHint());
  parent.show();
  const QPalette base = parent.palette();
  const auto red = [](QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; };

  model.SetText(" Can't open COM-port!");
  EXPECT_EQ(widget.text() + "|" + widget.accessibleName() + "|" + widget.accessibleDescription(),
            " Can't open COM-port!|Message line|Can't open COM-port!");
  // The reason rides as the tooltip while its text stays; the same text again keeps it, a new one drops it.
  model.SetToolTip("ttyS9: no such port");
  model.SetText(" Can't open COM-port!");
  EXPECT_EQ(widget.toolTip(), "ttyS9: no such port");
  model.SetText(" Check modem state ...");
  EXPECT_EQ(widget.toolTip(), "");
  model.SetText(" Can't open COM-port!");
  EXPECT_EQ(std::ranges::count_if(Painted(widget), red), 0);
  model.SetFontColor(colors::kRed);
  EXPECT_GT(std::ranges::count_if(Painted(widget), red), 20) << "red text is painted red";
  model.SetFontColor(Color::WindowText());
  EXPECT_EQ(widget.palette().color(QPalette::Active, QPalette::WindowText), base.color(QPalette::WindowText))
      << "window text after red must be the theme's again";

  model.SetBackground(colors::kYellow);
  EXPECT_EQ(widget.palette().color(QPalette::Window), QColor(255, 255, 0));
  // Seen from outside: the whole text and both colours as text attributes.
  model.SetFontColor(colors::kRed);
  QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(&widget);
  ASSERT_TRUE(seen != nullptr && seen->textInterface() != nullptr);
  QAccessibleTextInterface* text = seen->textInterface();
  EXPECT_EQ(text->text(0, text->characterCount()), " Can't open COM-port!");
  int start = -1, end = -1;
  EXPECT_EQ(text->attributes(3, &start, &end), "color:rgb(255,0,0);background-color:rgb(255,255,0);");
  EXPECT_EQ(std::pair(start, end), std::pair(0, text->characterCount()));
  model.SetFontColor(Color::WindowText());
  model.SetBackground(Color::ButtonFace());
  EXPECT_EQ(widget.palette().color(QPalette::Window), base.color(QPalette::Button));

  const QString longText = " Setup activated by remote terminal, please wait";
  model.SetText(longText);
  EXPECT_EQ(widget.text(), longText) << "kept whole";
  EXPECT_TRUE(widget.ShownText().endsWith(QChar(0x2026))) << widget.ShownText().toStdString();
  EXPECT_LE(widget.fontMetrics().horizontalAdvance(widget.ShownText()), widget.ClientWidth());
  EXPECT_GT(widget.fontMetrics().horizontalAdvance(longText), widget.ClientWidth());
}

TEST_F(Binder, LabelDisabledIsPaintedGreyBuddyGetsTheMnemonic) {
  Label model("LabelModem", "Modem :");
  QLabel widget(&parent);
  QComboBox selector(&parent);
  Bind(model, widget, &selector, 'M');
  EXPECT_EQ(widget.text() + "|" + widget.accessibleName(), "&Modem :|Modem");
  EXPECT_EQ(widget.buddy(), &selector);
  widget.resize(widget.sizeHint());
  parent.show();

  EXPECT_LT(DarkestGrey(widget), 0x40) << "an enabled label is black";
  model.SetEnabled(false);
  EXPECT_NEAR(DarkestGrey(widget), 0x80, 0x10) << "grey";
  model.SetEnabled(true);
  EXPECT_LT(DarkestGrey(widget), 0x40);
}

TEST_F(Binder, ShapeLampPaintsTheModelsColourInsideADarkRimGrowsWithTheFont) {
  Shape model("ShapeP2DTR", Color::ButtonFace());
  QtLamp lamp(&parent);
  Bind(model, lamp, "DTR");
  lamp.resize(24, 24);
  parent.show();
  EXPECT_EQ(lamp.accessibleName(), "DTR");
  const std::tuple<Color, QColor, const char*> cases[] = {
      {colors::kGreen, QColor(0, 0x80, 0), "dark green, #008000"},
      {colors::kLime, QColor(0, 0xFF, 0), "light green, #00FF00"},
      {colors::kRed, QColor(0xFF, 0, 0), "red, #FF0000"},
      {Color::ButtonFace(), parent.palette().button().color(), "grey"}};
  for (const auto& [color, painted, spoken] : cases) {
    model.SetBrushColor(color);
    EXPECT_EQ(lamp.FillColor(), painted) << spoken;
    EXPECT_EQ(lamp.accessibleDescription(), spoken);
    const QImage image = lamp.grab().toImage();
    EXPECT_TRUE(Near(image.pixelColor(12, 12), painted)) << spoken << image.pixelColor(12, 12).name().toStdString();
    EXPECT_LT(qGray(image.pixel(12, 1)), 0x70) << "the rim is dark";
    EXPECT_TRUE(Near(image.pixelColor(0, 0), parent.palette().color(QPalette::Window), 24)) << "rounded corners";
  }
  const int small = lamp.sizeHint().height();
  QFont font = lamp.font();
  font.setPointSize(font.pointSize() * 2);
  lamp.setFont(font);
  EXPECT_GT(lamp.sizeHint().height(), small * 3 / 2);
  EXPECT_EQ(lamp.sizeHint().width(), lamp.sizeHint().height());
}

// The three signal panels as the main window has them: all at 184, hidden.
TEST(PanelRow, GroupBoxesOrderedByLeftEdgeSharedEdgeSharesThePlace) {
  QtPanelRow row;
  GroupBox port2("GroupBoxP2Nets", " Port 2 ", 184), ethernet("GroupBoxEthernet", " Ethernet ", 184),
      e1("GroupBoxE1", " E1 ", 184);
  QGroupBox *port2Box = new QGroupBox, *ethernetBox = new QGroupBox, *e1Box = new QGroupBox;
  for (auto [model, box] : {std::pair{&port2, port2Box}, {&ethernet, ethernetBox}, {&e1, e1Box}}) {
    box->setMinimumSize(60, 40);
    Bind(*model, *box);
    model->SetVisible(false);
    row.AddPanel(box);
  }
  row.resize(400, 100);
  row.show();
  EXPECT_EQ(port2Box->title() + "|" + port2Box->accessibleName(), " Port 2 |Port 2");
  EXPECT_TRUE(port2Box->isHidden());

  ethernet.SetVisible(true);
  row.layout()->activate();
  EXPECT_EQ(ethernetBox->x(), 0);
  ethernet.SetVisible(false);
  e1.SetVisible(true);
  row.layout()->activate();
  EXPECT_EQ(e1Box->x(), 0) << "takes its turn in the same place";

  // Port 2 moved to 256 stands right of E1.
  port2.SetVisible(true);
  port2.SetLeft(256);
  row.layout()->activate();
  EXPECT_GE(port2Box->x(), e1Box->x() + e1Box->width());
  EXPECT_EQ(row.Order(), (std::vector<QWidget*>{ethernetBox, e1Box, port2Box}));

  // Back to 184 and alone: it takes the common place again.
  port2.SetLeft(184);
  e1.SetVisible(false);
  row.layout()->activate();
  EXPECT_EQ(std::pair(row.Order().front(), port2Box->x()), std::pair(static_cast<QWidget*>(port2Box), 0));
}

}  // namespace
}  // namespace rkvt::ui
