#include "base/ColorUnit.h"

#include "base/NumberFormatUnit.h"

namespace {

// The classic desktop defaults of the 31 system colour numbers, as RGB.
constexpr uint32_t SystemColors[] = {
    0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x3399FF, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x434E54, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xFFFFE1, 0x000000, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0};

struct TColorName {
    const char* Name;
    TColor Value;
};

constexpr TColor SystemColor(int N) {
    return TColor(0xFF000000u + uint32_t(N));
}

const TColorName ColorNames[] = {
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen},
    {"clSkyBlue", clSkyBlue},
    {"clCream", clCream},
    {"clMedGray", clMedGray},
    {"clNone", clNone},
    {"clDefault", clDefault},
    {"clScrollBar", SystemColor(0)},
    {"clBackground", SystemColor(1)},
    {"clActiveCaption", SystemColor(2)},
    {"clInactiveCaption", SystemColor(3)},
    {"clMenu", SystemColor(4)},
    {"clWindow", SystemColor(5)},
    {"clWindowFrame", SystemColor(6)},
    {"clMenuText", SystemColor(7)},
    {"clWindowText", SystemColor(8)},
    {"clCaptionText", SystemColor(9)},
    {"clActiveBorder", SystemColor(10)},
    {"clInactiveBorder", SystemColor(11)},
    {"clAppWorkSpace", SystemColor(12)},
    {"clHighlight", SystemColor(13)},
    {"clHighlightText", SystemColor(14)},
    {"clBtnFace", SystemColor(15)},
    {"clBtnShadow", SystemColor(16)},
    {"clGrayText", SystemColor(17)},
    {"clBtnText", SystemColor(18)},
    {"clInactiveCaptionText", SystemColor(19)},
    {"clBtnHighlight", SystemColor(20)},
    {"cl3DDkShadow", SystemColor(21)},
    {"cl3DLight", SystemColor(22)},
    {"clInfoText", SystemColor(23)},
    {"clInfoBk", SystemColor(24)},
    {"clHotLight", SystemColor(26)},
    {"clGradientActiveCaption", SystemColor(27)},
    {"clGradientInactiveCaption", SystemColor(28)},
    {"clMenuHighlight", SystemColor(29)},
    {"clMenuBar", SystemColor(30)},
};

} // namespace

TColor PlainColor(TColor Color) {
    const uint32_t Value = uint32_t(Color);
    if (Color == clNone)
        return clWhite;
    if (Color == clDefault)
        return clBlack;
    if ((Value & 0xFF000000u) == 0xFF000000u) {
        const uint32_t Index = Value & 0x00FFFFFFu;
        const uint32_t Rgb =
            Index < sizeof(SystemColors) / sizeof(SystemColors[0]) ? SystemColors[Index] : 0;
        return RGBToColor((Rgb >> 16) & 0xFF, (Rgb >> 8) & 0xFF, Rgb & 0xFF);
    }
    return TColor(Value & 0x00FFFFFFu);
}

QString ColorToString(TColor Color) {
    for (const TColorName& Entry : ColorNames)
        if (Entry.Value == Color)
            return QString::fromLatin1(Entry.Name);
    return QStringLiteral("$%1").arg(uint32_t(Color), 8, 16, QLatin1Char('0')).toUpper();
}

bool TryStringToColor(const QString& Text, TColor& Color) {
    // Every name begins with "cl"; other texts can only be numbers.
    const bool MayBeName =
        Text.size() > 2 && (Text.at(0) == QLatin1Char('c') || Text.at(0) == QLatin1Char('C'));
    for (const TColorName& Entry : ColorNames) {
        if (!MayBeName)
            break;
        if (Text.compare(QLatin1String(Entry.Name), Qt::CaseInsensitive) == 0) {
            Color = Entry.Value;
            return true;
        }
    }
    int32_t Value = 0;
    if (!TryStrToInt(Text, Value))
        return false;
    Color = Value;
    return true;
}

TColor StringToColor(const QString& Text) {
    TColor Color = 0;
    if (!TryStringToColor(Text, Color))
        StrToInt(Text); // raises the conversion error with the text
    return Color;
}
