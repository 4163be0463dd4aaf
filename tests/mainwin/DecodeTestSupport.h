#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <QString>
#include <gtest/gtest.h>

#include "ui/Color.h"
#include "mainwin/MainWindowControls.h"

// Readable texts and colours in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace rkvt::ui {
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

using Bytes = std::initializer_list<std::pair<int, std::uint8_t>>;

// The main window's 120-byte exchange block.
struct Block {
  std::array<std::uint8_t, 120> bytes{};
  Block() = default;
  Block(Bytes set) {
    for (const auto& [i, v] : set) bytes[static_cast<std::size_t>(i)] = v;
  }
  std::uint8_t& operator[](int i) { return bytes[static_cast<std::size_t>(i)]; }
  void Put32(int at, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) bytes[static_cast<std::size_t>(at + k)] = static_cast<std::uint8_t>(v >> (24 - 8 * k));
  }
};

// A valid second-generation slot head of an interface kind.
constexpr std::uint8_t Slot(int kind) { return static_cast<std::uint8_t>(0x10 | kind << 5); }
inline constexpr int kP2 = 1, kEth10 = 2, kE1 = 3, kEth100 = 4;

// First-generation byte 9: interface in bits 5-7, cable in bits 0-4.
inline Block FirstGenPage(int interfaceBits, int cable = 31, std::uint8_t byte5 = 0) {
  return Block{{5, byte5}, {9, static_cast<std::uint8_t>(interfaceBits << 5 | cable)}};
}

inline void ExpectField(const ui::StaticText& f, const char* text, ui::Color font, ui::Color background) {
  EXPECT_EQ(std::tuple(f.Text(), f.FontColor(), f.Background()), std::tuple(QString(text), font, background))
      << f.Name().toStdString();
}

using ShapeMember = ui::Shape MainWindowControls::*;
using C = MainWindowControls;
inline constexpr std::array<ShapeMember, 5> kPort2Shapes{&C::ShapeP2DTR, &C::ShapeP2DSR, &C::ShapeP2RTS,
                                                         &C::ShapeP2CTS, &C::ShapeP2DCD};
inline constexpr std::array<ShapeMember, 4> kEthernetShapes{&C::ShapeELNK, &C::ShapeELRX, &C::ShapeELTX,
                                                            &C::ShapeECOLL};
inline constexpr std::array<ShapeMember, 8> kE1Shapes{&C::ShapeLOF, &C::ShapeLOS, &C::ShapeRA,  &C::ShapeAI,
                                                      &C::ShapeLOT, &C::ShapeE,   &C::ShapeCRC, &C::ShapeCV};

// Flags as a string of '1' and '0'.
inline std::string Flags(std::initializer_list<bool> flags) {
  std::string s;
  for (bool f : flags) s += f ? '1' : '0';
  return s;
}

template <std::size_t N>
std::vector<ui::Color> Colours(const C& c, const std::array<ShapeMember, N>& shapes) {
  std::vector<ui::Color> colours;
  for (ShapeMember s : shapes) colours.push_back((c.*s).BrushColor());
  return colours;
}

}  // namespace rkvt::test
