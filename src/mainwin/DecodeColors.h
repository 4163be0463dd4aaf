#pragma once

#include "ui/Color.h"

namespace rkvt::colors {

// The State group's extra text colours (line quality classes, cable hints).
inline constexpr ui::Color kTeal = ui::Color::Rgb(0x008080);
inline constexpr ui::Color kPurple = ui::Color::Rgb(0x800080);
inline constexpr ui::Color kMaroon = ui::Color::Rgb(0x800000);
inline constexpr ui::Color kOlive = ui::Color::Rgb(0x808000);

}  // namespace rkvt::colors
