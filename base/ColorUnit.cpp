#include "base/ColorUnit.h"

#include "base/NumberFormatUnit.h"

namespace {

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
