#include "ui/widgets/QtColors.h"

#include <QString>

namespace rkvt::ui {

QColor ToQColor(Color color, const QPalette& palette) {
  if (color.IsWindowText()) return palette.color(QPalette::WindowText);
  if (color.IsButtonFace()) return palette.color(QPalette::Button);
  const std::uint32_t rgb = color.RgbValue();
  return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                static_cast<int>(rgb & 0xFF));
}

QString ColorWords(Color color) {
  struct Named {
    Color color;
    const char* words;
  };
  static const Named kNames[] = {
      {Color::ButtonFace(), "grey"},     {Color::WindowText(), "black"},   {colors::kGreen, "dark green"},
      {colors::kLime, "light green"},    {colors::kRed, "red"},            {colors::kYellow, "yellow"},
      {colors::kGray, "grey"},           {colors::kBlack, "black"},        {colors::kWhite, "white"},
  };
  // A fixed colour also gives its value, for whoever checks it exactly.
  const QString value = color.IsRgb() ? QStringLiteral("#%1").arg(color.RgbValue(), 6, 16, QLatin1Char('0')).toUpper()
                                      : QString();
  for (const Named& n : kNames) {
    if (n.color == color) return value.isEmpty() ? QString::fromLatin1(n.words) : n.words + QStringLiteral(", ") + value;
  }
  return value;
}

}  // namespace rkvt::ui
