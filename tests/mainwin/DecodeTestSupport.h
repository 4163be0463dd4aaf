#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <utility>

#include <QString>

#include "Color.h"
#include "MainWindowControls.h"

// Readable texts in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace rkvt::ui {
// Readable colours in failure messages.
inline void PrintTo(const Color& c, std::ostream* os) {
  if (c.IsWindowText())
    *os << "WindowText";
  else if (c.IsButtonFace())
    *os << "ButtonFace";
  else
    *os << "#" << std::hex << c.RgbValue() << std::dec;
}
}  // namespace rkvt::ui

namespace rkvt::test {

inline constexpr ui::Color kNormal = ui::Color::WindowText();
inline constexpr ui::Color kFace = ui::Color::ButtonFace();
inline constexpr ui::Color kRed = ui::Color::Rgb(0xFF0000);
inline constexpr ui::Color kWhite = ui::Color::Rgb(0xFFFFFF);
inline constexpr ui::Color kGreen = ui::Color::Rgb(0x008000);
inline constexpr ui::Color kLime = ui::Color::Rgb(0x00FF00);
inline constexpr ui::Color kTeal = ui::Color::Rgb(0x008080);
inline constexpr ui::Color kPurple = ui::Color::Rgb(0x800080);
inline constexpr ui::Color kMaroon = ui::Color::Rgb(0x800000);
inline constexpr ui::Color kOlive = ui::Color::Rgb(0x808000);

// Levels that pick the page generation.
inline constexpr std::int32_t kFirstGen = 5;
inline constexpr std::int32_t kSecondGen = 13;

// The main window's 120-byte exchange block.
struct Block {
  std::array<std::uint8_t, 120> bytes{};
  Block() = default;
  Block(std::initializer_list<std::pair<int, std::uint8_t>> set) {
    for (const auto& [i, v] : set) bytes[static_cast<std::size_t>(i)] = v;
  }
  std::uint8_t& operator[](int i) { return bytes[static_cast<std::size_t>(i)]; }
  void Put32(int at, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) bytes[static_cast<std::size_t>(at + k)] = static_cast<std::uint8_t>(v >> (24 - 8 * k));
  }
  void Put16(int at, std::uint16_t v) {
    bytes[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(v >> 8);
    bytes[static_cast<std::size_t>(at + 1)] = static_cast<std::uint8_t>(v);
  }
};

using ShapeMember = ui::Shape MainWindowControls::*;
inline constexpr std::array<ShapeMember, 5> kPort2Shapes{
    &MainWindowControls::ShapeP2DTR, &MainWindowControls::ShapeP2DSR, &MainWindowControls::ShapeP2RTS,
    &MainWindowControls::ShapeP2CTS, &MainWindowControls::ShapeP2DCD};
inline constexpr std::array<ShapeMember, 4> kEthernetShapes{
    &MainWindowControls::ShapeELNK, &MainWindowControls::ShapeELRX, &MainWindowControls::ShapeELTX,
    &MainWindowControls::ShapeECOLL};
inline constexpr std::array<ShapeMember, 8> kE1Shapes{
    &MainWindowControls::ShapeLOF, &MainWindowControls::ShapeLOS, &MainWindowControls::ShapeRA,
    &MainWindowControls::ShapeAI,  &MainWindowControls::ShapeLOT, &MainWindowControls::ShapeE,
    &MainWindowControls::ShapeCRC, &MainWindowControls::ShapeCV};

}  // namespace rkvt::test
