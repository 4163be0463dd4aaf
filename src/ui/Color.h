#pragma once

#include <cstdint>

namespace rkvt::ui {

// A colour as the window logic names it. The two system colours stand for
// whatever the desktop theme uses for window text and control faces.
class Color {
 public:
  static constexpr Color WindowText() { return Color(Kind::WindowText, 0); }
  static constexpr Color ButtonFace() { return Color(Kind::ButtonFace, 0); }
  static constexpr Color Rgb(std::uint32_t rgb) { return Color(Kind::Rgb, rgb & 0xFFFFFF); }

  bool IsWindowText() const { return kind_ == Kind::WindowText; }
  bool IsButtonFace() const { return kind_ == Kind::ButtonFace; }
  bool IsRgb() const { return kind_ == Kind::Rgb; }
  std::uint32_t RgbValue() const { return rgb_; }

  friend constexpr bool operator==(const Color&, const Color&) = default;

 private:
  enum class Kind : std::uint8_t { WindowText, ButtonFace, Rgb };
  constexpr Color(Kind kind, std::uint32_t rgb) : kind_(kind), rgb_(rgb) {}
  Kind kind_;
  std::uint32_t rgb_;
};

namespace colors {
inline constexpr Color kRed = Color::Rgb(0xFF0000);
inline constexpr Color kGreen = Color::Rgb(0x008000);
inline constexpr Color kLime = Color::Rgb(0x00FF00);
inline constexpr Color kGray = Color::Rgb(0x808080);
inline constexpr Color kYellow = Color::Rgb(0xFFFF00);
inline constexpr Color kBlack = Color::Rgb(0x000000);
inline constexpr Color kWhite = Color::Rgb(0xFFFFFF);
}  // namespace colors

}  // namespace rkvt::ui
