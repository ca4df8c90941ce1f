#pragma once

#include <QString>
#include <cstdint>

// A colour as the file and the model hold it: a signed 32-bit value with red
// in the lowest byte. It becomes a QColor only where it is drawn.
using TColor = int32_t;

constexpr TColor clBlack = 0x00000000;
constexpr TColor clMaroon = 0x00000080;
constexpr TColor clGreen = 0x00008000;
constexpr TColor clOlive = 0x00008080;
constexpr TColor clNavy = 0x00800000;
constexpr TColor clPurple = 0x00800080;
constexpr TColor clTeal = 0x00808000;
constexpr TColor clGray = 0x00808080;
constexpr TColor clSilver = 0x00C0C0C0;
constexpr TColor clRed = 0x000000FF;
constexpr TColor clLime = 0x0000FF00;
constexpr TColor clYellow = 0x0000FFFF;
constexpr TColor clBlue = 0x00FF0000;
constexpr TColor clFuchsia = 0x00FF00FF;
constexpr TColor clAqua = 0x00FFFF00;
constexpr TColor clWhite = 0x00FFFFFF;
constexpr TColor clMoneyGreen = 0x00C0DCC0;
constexpr TColor clSkyBlue = 0x00F0CAA6;
constexpr TColor clCream = 0x00F0FBFF;
constexpr TColor clMedGray = 0x00A4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor RGBToColor(int Red, int Green, int Blue) {
    return TColor((Red & 0xFF) | ((Green & 0xFF) << 8) | ((Blue & 0xFF) << 16));
}

// The plain colour a TColor is drawn in, as red, green and blue only: a
// system colour takes the classic desktop default of its number, clNone
// white and clDefault black; the top byte of any other value is ignored.
TColor PlainColor(TColor Color);

// A colour name from the table of 52, or "$" and eight upper-case hex digits.
QString ColorToString(TColor Color);
// A colour name (any letter case) or an integer text; fails with
// "''%s'' is not a valid integer value".
TColor StringToColor(const QString& Text);
// False where StringToColor would fail.
bool TryStringToColor(const QString& Text, TColor& Color);
