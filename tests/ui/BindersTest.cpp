#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "QtBinders.h"
#include "QtTextField.h"
#include "WidgetProbe.h"

namespace rkvt::ui {
namespace {

using test::CountPixels;
using test::DarkestGrey;
using test::Painted;

struct MnemonicCase {
  const char* caption;
  char letter;
  const char* shown;
};

void PrintTo(const MnemonicCase& c, std::ostream* out) { *out << c.caption << " -> " << c.shown; }

class WithMnemonicTest : public testing::TestWithParam<MnemonicCase> {};

TEST_P(WithMnemonicTest, MarksTheFirstMatchingLetter) {
  const MnemonicCase& c = GetParam();
  const QChar letter = c.letter ? QChar::fromLatin1(c.letter) : QChar();
  EXPECT_EQ(WithMnemonic(QString::fromLatin1(c.caption), letter), QString::fromLatin1(c.shown));
}

INSTANTIATE_TEST_SUITE_P(Captions, WithMnemonicTest,
                         testing::Values(MnemonicCase{"State", 'S', "&State"}, MnemonicCase{"Stop", 'S', "&Stop"},
                                         MnemonicCase{"Setup", 'u', "Set&up"},
                                         MnemonicCase{"Connect", 'c', "&Connect"},
                                         MnemonicCase{"Disconnect", 'c', "Dis&connect"},
                                         MnemonicCase{"Stop", 'u', "Stop"}, MnemonicCase{"Soft", 0, "Soft"},
                                         MnemonicCase{"R&D", 0, "R&&D"}, MnemonicCase{"R&D", 'D', "R&&&D"}));

TEST(ButtonBinder, MirrorsCaptionEnabledVisibleAndHint) {
  QWidget parent;
  Button model(QStringLiteral("ButtonState"), QStringLiteral("State"));
  QPushButton widget(&parent);
  Bind(model, widget, QLatin1Char('S'));

  EXPECT_EQ(widget.objectName(), QStringLiteral("ButtonState"));
  EXPECT_EQ(widget.text(), QStringLiteral("&State"));
  EXPECT_EQ(widget.accessibleName(), QStringLiteral("State"));

  model.SetCaption(QStringLiteral("Stop"));
  model.SetEnabled(false);
  model.SetHint(QStringLiteral("Identify the modem"));
  EXPECT_EQ(widget.text(), QStringLiteral("&Stop"));
  EXPECT_EQ(widget.accessibleName(), QStringLiteral("Stop"));
  EXPECT_FALSE(widget.isEnabled());
  EXPECT_EQ(widget.statusTip(), QStringLiteral("Identify the modem"));

  model.SetVisible(false);
  EXPECT_TRUE(widget.isHidden());
  model.SetVisible(true);
  EXPECT_FALSE(widget.isHidden());
}

TEST(ButtonBinder, ClickReachesTheModelOnlyWhileEnabled) {
  QWidget parent;
  Button model(QStringLiteral("ButtonState"), QStringLiteral("State"));
  QPushButton widget(&parent);
  Bind(model, widget, QLatin1Char('S'));
  int clicks = 0;
  model.OnClick = [&] { ++clicks; };
  parent.show();

  QTest::mouseClick(&widget, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
  model.SetEnabled(false);
  QTest::mouseClick(&widget, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
}

TEST(ButtonBinder, EitherSideMayBeDestroyedFirst) {
  {
    auto model = std::make_unique<Button>(QStringLiteral("ButtonPort"), QStringLiteral("Port"));
    QPushButton widget;
    Bind(*model, widget);
    model.reset();
    widget.click();  // must not reach the dead model
    EXPECT_EQ(widget.text(), QStringLiteral("Port"));
  }
  {
    Button model(QStringLiteral("ButtonPort"), QStringLiteral("Port"));
    auto widget = std::make_unique<QPushButton>();
    Bind(model, *widget);
    widget.reset();
    model.SetCaption(QStringLiteral("Stop"));  // must not reach the dead widget
    EXPECT_EQ(model.Caption(), QStringLiteral("Stop"));
  }
}

struct RadioPair {
  QWidget parent;
  RadioButton local{QStringLiteral("RadioButtonLocal"), QStringLiteral("Local")};
  RadioButton remote{QStringLiteral("RadioButtonRemote"), QStringLiteral("Remote")};
  QRadioButton localWidget{&parent};
  QRadioButton remoteWidget{&parent};
  RadioPair() {
    Bind(local, localWidget, QLatin1Char('L'));
    Bind(remote, remoteWidget, QLatin1Char('m'));
    local.SetChecked(true);
  }
};

TEST(RadioButtonBinder, UserChoiceChecksOneModelAndUnchecksTheOther) {
  RadioPair pair;
  int remoteClicks = 0;
  pair.remote.OnClick = [&] { ++remoteClicks; };
  EXPECT_TRUE(pair.localWidget.isChecked());
  EXPECT_EQ(pair.remoteWidget.text(), QStringLiteral("Re&mote"));
  pair.parent.show();

  QTest::mouseClick(&pair.remoteWidget, Qt::LeftButton);
  EXPECT_EQ(remoteClicks, 1);
  EXPECT_TRUE(pair.remote.Checked());
  EXPECT_FALSE(pair.local.Checked());
  EXPECT_FALSE(pair.localWidget.isChecked());
}

TEST(RadioButtonBinder, ModelMayCheckEitherOrNone) {
  RadioPair pair;
  pair.remote.SetChecked(true);
  EXPECT_TRUE(pair.remoteWidget.isChecked());
  EXPECT_FALSE(pair.local.Checked()) << "the widget unchecked by exclusivity reports back";

  // An exclusive set refuses to uncheck its checked button on its own.
  pair.remote.SetChecked(false);
  EXPECT_FALSE(pair.remoteWidget.isChecked());
  EXPECT_FALSE(pair.localWidget.isChecked());
}

TEST(ComboBoxBinder, MirrorsItemsAndReportsTheUsersChoice) {
  QWidget parent;
  ComboBox model(QStringLiteral("ComboBoxTest"));
  model.SetItems({QStringLiteral("RDL-ES"), QStringLiteral("AL-ES"), QStringLiteral("ES")});
  QComboBox widget(&parent);
  Bind(model, widget, QStringLiteral("Test"));
  ASSERT_EQ(widget.count(), 3);
  EXPECT_EQ(widget.itemText(2), QStringLiteral("ES"));
  EXPECT_EQ(widget.accessibleName(), QStringLiteral("Test"));

  model.SetItemIndex(2);
  EXPECT_EQ(widget.currentIndex(), 2);
  model.SetItems({QStringLiteral("RDL-ES"), QStringLiteral("RDL"), QStringLiteral("DL"), QStringLiteral("LL")});
  ASSERT_EQ(widget.count(), 4);
  EXPECT_EQ(widget.itemText(1), QStringLiteral("RDL"));
  EXPECT_EQ(widget.currentIndex(), 0);

  int changes = 0;
  model.OnChange = [&] { ++changes; };
  parent.show();
  QTest::keyClick(&widget, Qt::Key_Down);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(model.ItemIndex(), 1);
  EXPECT_EQ(model.Text(), QStringLiteral("RDL"));
}

TEST(StaticTextBinder, ShowsTheExactTextInItsColours) {
  QWidget parent;
  StaticText model(QStringLiteral("StaticTextMessages"));
  QtTextField widget(40, &parent);
  Bind(model, widget, QStringLiteral("Message line"));
  const QPalette base = parent.palette();

  model.SetText(QStringLiteral(" Get statistics OK."));
  EXPECT_EQ(widget.text(), QStringLiteral(" Get statistics OK."));
  EXPECT_EQ(widget.accessibleName(), QStringLiteral("Message line"));
  EXPECT_EQ(widget.accessibleDescription(), QStringLiteral("Get statistics OK."));

  model.SetFontColor(colors::kRed);
  EXPECT_EQ(widget.palette().color(QPalette::Active, QPalette::WindowText), QColor(255, 0, 0));
  model.SetFontColor(Color::WindowText());
  EXPECT_EQ(widget.palette().color(QPalette::Active, QPalette::WindowText), base.color(QPalette::WindowText))
      << "window text after red must be the theme's again";

  model.SetBackground(colors::kYellow);
  EXPECT_EQ(widget.palette().color(QPalette::Window), QColor(255, 255, 0));
  model.SetBackground(Color::ButtonFace());
  EXPECT_EQ(widget.palette().color(QPalette::Window), base.color(QPalette::Button));
}

TEST(StaticTextBinder, RedTextIsPaintedRed) {
  QWidget parent;
  StaticText model(QStringLiteral("StaticTextMessages"));
  QtTextField widget(40, &parent);
  Bind(model, widget, QStringLiteral("Message line"));
  widget.resize(widget.sizeHint());
  parent.show();
  const auto red = [](QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; };

  model.SetText(QStringLiteral(" Can't open COM-port!"));
  EXPECT_EQ(CountPixels(Painted(widget), red), 0);
  model.SetFontColor(colors::kRed);
  EXPECT_GT(CountPixels(Painted(widget), red), 20);
}

TEST(LabelBinder, DisabledLabelIsPaintedGrey) {
  QWidget parent;
  Label model(QStringLiteral("LabelModem"), QStringLiteral("Modem :"));
  QLabel widget(&parent);
  Bind(model, widget);
  EXPECT_EQ(widget.text(), QStringLiteral("Modem :"));
  EXPECT_EQ(widget.accessibleName(), QStringLiteral("Modem"));
  widget.resize(widget.sizeHint());
  parent.show();

  EXPECT_LT(DarkestGrey(Painted(widget)), 0x40) << "an enabled label is black";
  model.SetEnabled(false);
  const int grey = DarkestGrey(Painted(widget));
  EXPECT_GE(grey, 0x70);
  EXPECT_LE(grey, 0x90);
  model.SetEnabled(true);
  EXPECT_LT(DarkestGrey(Painted(widget)), 0x40);
}

TEST(LabelBinder, BuddyGetsTheMnemonic) {
  QWidget parent;
  Label model(QStringLiteral("LabelTest"), QStringLiteral("Test :"));
  QLabel widget(&parent);
  QComboBox selector(&parent);
  Bind(model, widget, &selector, QLatin1Char('T'));
  EXPECT_EQ(widget.text(), QStringLiteral("&Test :"));
  EXPECT_EQ(widget.buddy(), &selector);
}

TEST(GroupBoxBinder, MirrorsCaptionLeftAndVisibility) {
  QWidget parent;
  GroupBox model(QStringLiteral("GroupBoxP2Nets"), QStringLiteral(" Port 2 "), 184);
  QGroupBox widget(&parent);
  Bind(model, widget);
  EXPECT_EQ(widget.title(), QStringLiteral(" Port 2 "));
  EXPECT_EQ(widget.accessibleName(), QStringLiteral("Port 2"));
  EXPECT_EQ(widget.property("left").toInt(), 184);
  model.SetLeft(256);
  model.SetVisible(false);
  EXPECT_EQ(widget.property("left").toInt(), 256);
  EXPECT_TRUE(widget.isHidden());
}

}  // namespace
}  // namespace rkvt::ui
