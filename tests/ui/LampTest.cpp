#include <gtest/gtest.h>

#include <QFont>

#include "QtBinders.h"
#include "QtColors.h"
#include "QtLamp.h"
#include "WidgetProbe.h"

namespace rkvt::ui {
namespace {

using test::Near;
using test::Painted;

TEST(ToQColor, KeepsTheChannelOrderAndResolvesSystemColours) {
  QPalette palette;
  palette.setColor(QPalette::Button, QColor(0x11, 0x22, 0x33));
  palette.setColor(QPalette::WindowText, QColor(0x44, 0x55, 0x66));
  EXPECT_EQ(ToQColor(Color::Rgb(0x123456), palette), QColor(0x12, 0x34, 0x56));
  EXPECT_EQ(ToQColor(colors::kGreen, palette), QColor(0, 0x80, 0));
  EXPECT_EQ(ToQColor(Color::ButtonFace(), palette), QColor(0x11, 0x22, 0x33));
  EXPECT_EQ(ToQColor(Color::WindowText(), palette), QColor(0x44, 0x55, 0x66));
}

struct LampCase {
  Color color;
  QColor painted;  // invalid: the palette's button colour
  const char* spoken;
};

void PrintTo(const LampCase& c, std::ostream* out) { *out << c.spoken; }

class LampColourTest : public testing::TestWithParam<LampCase> {};

TEST_P(LampColourTest, PaintsTheModelsColourInsideADarkRim) {
  const LampCase& c = GetParam();
  QWidget parent;
  Shape model(QStringLiteral("ShapeP2DTR"), Color::ButtonFace());
  QtLamp lamp(&parent);
  Bind(model, lamp, QStringLiteral("DTR"));
  model.SetBrushColor(c.color);
  lamp.resize(24, 24);
  parent.show();

  const QColor expected = c.painted.isValid() ? c.painted : parent.palette().color(QPalette::Button);
  EXPECT_EQ(lamp.FillColor(), expected);
  EXPECT_EQ(lamp.accessibleName(), QStringLiteral("DTR"));
  EXPECT_EQ(lamp.accessibleDescription(), QString::fromLatin1(c.spoken));

  const QImage image = Painted(lamp);
  EXPECT_TRUE(Near(image.pixelColor(12, 12), expected)) << image.pixelColor(12, 12).name().toStdString();
  EXPECT_LT(qGray(image.pixel(12, 1)), 0x70) << "the rim is dark";
  EXPECT_TRUE(Near(image.pixelColor(0, 0), parent.palette().color(QPalette::Window), 24))
      << "the corners are rounded off";
}

INSTANTIATE_TEST_SUITE_P(Colours, LampColourTest,
                         testing::Values(LampCase{colors::kGreen, QColor(0, 0x80, 0), "dark green"},
                                         LampCase{colors::kLime, QColor(0, 0xFF, 0), "light green"},
                                         LampCase{colors::kRed, QColor(0xFF, 0, 0), "red"},
                                         LampCase{Color::ButtonFace(), QColor(), "grey"}),
                         [](const testing::TestParamInfo<LampCase>& info) {
                           return std::string(info.param.spoken[0] == 'd' ? "Green"
                                              : info.param.spoken[0] == 'l' ? "Lime"
                                              : info.param.spoken[0] == 'r' ? "Red"
                                                                            : "ButtonFace");
                         });

TEST(Lamp, GrowsWithTheFont) {
  QtLamp lamp;
  const int small = lamp.sizeHint().height();
  QFont font = lamp.font();
  font.setPointSize(font.pointSize() * 2);
  lamp.setFont(font);
  EXPECT_GT(lamp.sizeHint().height(), small * 3 / 2);
  EXPECT_EQ(lamp.sizeHint().width(), lamp.sizeHint().height());
}

}  // namespace
}  // namespace rkvt::ui
