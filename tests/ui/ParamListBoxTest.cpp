#include <gtest/gtest.h>

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>

#include "Painted.h"
#include "ui/widgets/QtChoicePopup.h"
#include "ui/widgets/QtParamListBox.h"

namespace rkvt::ui {
namespace {

const QStringList kRows = {
    R"( Parameter : <IND x="140">|<IND x="150">Value :<HR>)",                       // 0 header
    R"( Interface : <IND x="150"><A href="Interface">P2 Sync</A><HR>)",              // 1
    R"( Modulation :</A>)",                                                          // 2 section
    R"(     Bit Rate, Kbit/s : <IND x="150"><A href="MBitRate">64</A>)",             // 3
    R"(     Bit Rate Up To, Kbit/s : <IND x="150">48)",                              // 4 fixed
    R"(     LLC :<IND x="150"><A href="LLC">Disabled</A>)",                          // 5
    R"(     Jitter Attenuatordepth, bit : <IND x="150"><A href="E1JittAttDepth">128</A>)",  // 6
    R"(     Clock Mode : <IND x="150"><A href="SClockMode">Internal (TxC)</A>)",     // 7
};
const QStringList kClockModes = {"Internal (TxC)", "External (CLK)", "Receiver (RxC)"};

class ParamList : public ::testing::Test {
 protected:
  void SetUp() override {
    list.SetRows(kRows);
    list.resize(list.sizeHint());
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
  }
  // Points in the viewport: on a row's value link, and on its label.
  QPoint OnLink(int row) const { return {list.LinkX(row) - list.viewport()->x() + 4, Middle(row)}; }
  QPoint OnLabel(int row) const { return {12, Middle(row)}; }
  int Middle(int row) const { return list.RowRect(row).center().y() - list.viewport()->y(); }
  auto GreenPixels() {
    return std::ranges::count_if(Painted(list), [](QColor c) { return c.green() > 90 && c.red() < 80 && c.blue() < 80; });
  }

  QtParamListBox list;
};

TEST(ParamRowMarkup, ReadsRowsAsTheyAreSpokenValueReplacedInPlaceBadMarkupStillReads) {
  struct Case {
    QString markup, text, key, value;
  };
  const Case cases[] = {
      {kRows[0], "Parameter : | Value :", "", ""}, {kRows[1], "Interface : P2 Sync", "Interface", "P2 Sync"},
      {kRows[2], "Modulation :", "", ""}, {kRows[5], "LLC : Disabled", "LLC", "Disabled"},
      {R"( Interface : <IND x="150"><A href="Interface">E1 + KSI</A><HR>)", "Interface : E1 + KSI", "Interface", "E1 + KSI"},
      {R"(  a < b <IND x="zz">c<BLINK>d)", "a < b cd", "", ""},
      {R"(x <A href="K">open to the end)", "x open to the end", "K", "open to the end"},
      {R"(<a HREF='k'>v</a><A href="second">w</A>)", "vw", "k", "v"},
      {R"(<A href="">no key</A> <A href="K")", "no key <A href=\"K\"", "", ""}, {"", "", "", ""},
  };
  for (const Case& c : cases) {
    const ParamRowMarkup row = ParamRowMarkup::Parse(c.markup);
    EXPECT_EQ(std::tuple(row.PlainText(), row.key, row.HasLink() ? row.Value() : c.value),
              std::tuple(c.text, c.key, c.value)) << c.markup.toStdString();
  }
  ParamRowMarkup row = ParamRowMarkup::Parse(kRows[1]);
  row.SetValue("E1 + KSI");
  EXPECT_EQ(row.markup, R"( Interface : <IND x="150"><A href="Interface">E1 + KSI</A><HR>)");
  EXPECT_TRUE(row.separator);
}

TEST_F(ParamList, FindsAndReplacesValuesByKeyAnUnknownKeyChangesNothing) {
  EXPECT_EQ(list.RowCount(), 8);
  EXPECT_EQ(list.Value("SClockMode"), "Internal (TxC)");
  EXPECT_TRUE(list.SetValue("MBitRate", "128"));
  EXPECT_EQ(list.RowMarkup(3), R"(     Bit Rate, Kbit/s : <IND x="150"><A href="MBitRate">128</A>)");
  EXPECT_EQ(list.RowText(3), "Bit Rate, Kbit/s : 128");
  EXPECT_FALSE(list.SetValue("DCDManagement", "Line"));
  EXPECT_EQ(list.Value("DCDManagement"), "");
  for (int row = 0; row < list.RowCount(); ++row)
    if (row != 3) { EXPECT_EQ(list.RowMarkup(row), kRows[row]); }
}

// 16-pixel rows; every value column in one place, past the longest label;
// a larger font scales rows and columns alike. Links green, grey when disabled.
TEST_F(ParamList, RowsAndColumnsFollowTheFontLinksGreenUntilDisabled) {
  for (const int pixelSize : {0, 28}) {
    if (pixelSize > 0) {
      QFont big = list.font();
      big.setPixelSize(pixelSize);
      list.setFont(big);
      list.resize(list.sizeHint());
    }
    const QFontMetrics fm(list.font());
    if (pixelSize == 0) EXPECT_EQ(list.RowHeight(), 16);
    else EXPECT_GE(list.RowHeight(), std::max(32, fm.height() + 2));
    const int column = list.LinkX(1);
    EXPECT_GE(column, pixelSize == 0 ? 150 : 300);
    for (const int row : {3, 5, 6, 7}) EXPECT_EQ(list.LinkX(row), column) << row;
    const int longestLabel = fm.horizontalAdvance("     Jitter Attenuatordepth, bit : ");
    EXPECT_GT(column, longestLabel) << "the label must end before its value";
    EXPECT_LE(list.sizeHint().width(), column + fm.horizontalAdvance("Internal (TxC)") + 40);
  }
  EXPECT_GT(GreenPixels(), 100);
  list.setEnabled(false);
  EXPECT_EQ(GreenPixels(), 0);
}

TEST_F(ParamList, ClickOnALinkReportsItHeaderSectionFixedAndLabelReportNothing) {
  QSignalSpy activated(&list, &QtParamListBox::LinkActivated);
  for (const int row : {0, 1, 2, 3, 4, 7}) QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, OnLink(row));
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, OnLabel(5));
  ASSERT_EQ(activated.size(), 3);
  EXPECT_EQ(QStringList({activated[0][0].toString(), activated[1][0].toString(), activated[2][0].toString(),
                         activated[2][1].toString()}), QStringList({"Interface", "MBitRate", "SClockMode", "Internal (TxC)"}));
  EXPECT_EQ(activated[2][2].toRect(), list.RowRect(7));
  EXPECT_EQ(list.CurrentRow(), 5) << "a click on a label still moves there";
  // Pressed on one link, released on another: no click.
  QTest::mousePress(list.viewport(), Qt::LeftButton, {}, OnLink(3));
  QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, OnLink(5));
  list.setEnabled(false);
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, OnLink(3));
  EXPECT_EQ(activated.size(), 3);
}

TEST_F(ParamList, HoverEntersAndLeavesPerKeyInPairsDisablingLeaves) {
  QStringList seen;
  QObject::connect(&list, &QtParamListBox::LinkEntered, [&](const QString& key) { seen << "+" + key; });
  QObject::connect(&list, &QtParamListBox::LinkLeft, [&](const QString& key) { seen << "-" + key; });
  for (const QPoint at : {OnLink(3), OnLink(5), OnLabel(5), OnLink(0), OnLink(4), OnLink(7)})
    QTest::mouseMove(list.viewport(), at);
  list.setEnabled(false);
  QTest::mouseMove(list.viewport(), OnLink(3));
  EXPECT_EQ(seen, QStringList({"+MBitRate", "-MBitRate", "+LLC", "-LLC", "+SClockMode", "-SClockMode"}));
}

TEST_F(ParamList, KeysMoveBetweenRowsEnterAndSpaceActOnLinksOnlyCurrentRowKeptInView) {
  QSignalSpy activated(&list, &QtParamListBox::LinkActivated);
  list.setFocus();
  EXPECT_EQ(list.CurrentRow(), 1) << "the keyboard lands on the first link";
  // Return on the section row, Space on the bit rate, Enter on the fixed row.
  for (const auto key : {Qt::Key_Down, Qt::Key_Return, Qt::Key_Down, Qt::Key_Space, Qt::Key_Down, Qt::Key_Enter})
    QTest::keyClick(&list, key);
  ASSERT_EQ(activated.size(), 1);
  EXPECT_EQ(activated[0][0].toString(), "MBitRate");
  for (int i = 0; i < 10; ++i) QTest::keyClick(&list, Qt::Key_Up);
  EXPECT_EQ(list.CurrentRow(), 0);
  list.resize(list.width(), 3 * list.RowHeight() + 2 * list.frameWidth());
  QTest::keyClick(&list, Qt::Key_End);
  EXPECT_EQ(list.CurrentRow(), 7);
  EXPECT_TRUE(list.viewport()->geometry().contains(list.RowRect(7))) << "scrolled to the current row";
  QTest::keyClick(&list, Qt::Key_Return);
  EXPECT_EQ(activated.size(), 2);
}

TEST_F(ParamList, ChoicesDropUnderTheRowKeysAndClicksPickEscAndOutsideClose) {
  QSignalSpy picked(&list, &QtParamListBox::ChoicePicked);
  EXPECT_FALSE(list.DropChoices("DCDManagement", kClockModes));
  ASSERT_TRUE(list.DropChoices("SClockMode", kClockModes));
  QtChoicePopup* popup = list.Choices();
  ASSERT_TRUE(popup != nullptr && popup->isVisible());
  EXPECT_EQ(popup->geometry().top(), list.mapToGlobal(list.RowRect(7).bottomLeft()).y() + 1);
  EXPECT_EQ(popup->Current(), 0) << "the row's value is marked";
  for (const auto key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}) QTest::keyClick(popup, key);
  QTest::keyClick(popup, Qt::Key_Return);
  ASSERT_EQ(picked.size(), 1);
  EXPECT_EQ(picked[0], QVariantList({"SClockMode", 1, "External (CLK)"}));
  EXPECT_FALSE(list.ChoicesShown());

  list.DropChoices("SClockMode", kClockModes);
  QTest::keyClick(popup, Qt::Key_Escape);
  EXPECT_FALSE(list.ChoicesShown());
  list.DropChoices("SClockMode", kClockModes);
  // While a popup is open the window system hands it every click, in its coordinates.
  QTest::mouseClick(popup, Qt::LeftButton, {}, popup->mapFromGlobal(list.viewport()->mapToGlobal(OnLabel(0))));
  EXPECT_FALSE(list.ChoicesShown()) << "a click outside closes the list";
  list.DropChoices("MBitRate", {"64", "128"});
  QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, popup->ItemRect(1).center() - popup->viewport()->pos());
  EXPECT_EQ(picked.size(), 2);
  EXPECT_EQ(picked.last(), QVariantList({"MBitRate", 1, "128"}));

  list.DropChoices("LLC", {});  // an empty list opens; nothing can be picked
  QTest::keyClick(popup, Qt::Key_Return);
  EXPECT_TRUE(list.ChoicesShown());
  list.setEnabled(false);
  EXPECT_FALSE(list.ChoicesShown()) << "disabling closes it";
  EXPECT_FALSE(list.DropChoices("LLC", {"Enabled"}));
  EXPECT_EQ(picked.size(), 2);
}

TEST_F(ParamList, AccessibleRowsAreNamedItemsPressActsAsClickEntriesArePickedByName) {
  QSignalSpy activated(&list, &QtParamListBox::LinkActivated);
  QSignalSpy picked(&list, &QtParamListBox::ChoicePicked);
  QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(&list);
  ASSERT_TRUE(seen != nullptr);
  EXPECT_EQ(seen->role(), QAccessible::List);
  ASSERT_EQ(seen->childCount(), 8);
  for (int row = 0; row < 8; ++row) EXPECT_EQ(seen->child(row)->text(QAccessible::Name), list.RowText(row));
  EXPECT_EQ(seen->child(1)->text(QAccessible::Name), "Interface : P2 Sync");
  for (const int row : {0, 4}) EXPECT_EQ(seen->child(row)->actionInterface()->actionNames(), QStringList()) << row;
  seen->child(7)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  ASSERT_EQ(activated.size(), 1);
  EXPECT_EQ(activated[0][0].toString(), "SClockMode");
  // The value is painted green, the label in the text colour.
  QAccessibleTextInterface* text = seen->child(7)->textInterface();
  int start = -1, end = -1;
  EXPECT_TRUE(text->attributes(14, &start, &end).startsWith("color:rgb(0,128,0);"));
  EXPECT_EQ(text->text(start, end), "Internal (TxC)");

  list.DropChoices("SClockMode", kClockModes);
  ASSERT_EQ(seen->childCount(), 9) << "the open choice list is the list's last child";
  QAccessibleInterface* entries = seen->child(8);
  EXPECT_EQ(entries->text(QAccessible::Name), "Clock Mode");
  ASSERT_EQ(entries->childCount(), 3);
  for (int i = 0; i < 3; ++i)
    if (entries->child(i)->text(QAccessible::Name) == "Receiver (RxC)")
      entries->child(i)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  ASSERT_EQ(picked.size(), 1);
  EXPECT_EQ(picked[0], QVariantList({"SClockMode", 2, "Receiver (RxC)"}));
  EXPECT_EQ(std::pair(list.ChoicesShown(), seen->childCount()), std::pair(false, 8));

  list.setEnabled(false);
  EXPECT_EQ(seen->child(7)->actionInterface()->actionNames(), QStringList());
  EXPECT_TRUE(seen->child(7)->state().disabled);
  list.SetRows(kRows.mid(0, 2));
  EXPECT_EQ(seen->childCount(), 2);
}

}  // namespace
}  // namespace rkvt::ui
