#include "base/NumberFormatUnit.h"

#include "base/ErrorUnit.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace {

QChar GDecimalSeparator = QLatin1Char('.');
QChar GThousandSeparator = QLatin1Char(',');

bool IsBlank(QChar C) {
    return C == QLatin1Char(' ') || C == QLatin1Char('\t');
}

QString NonFiniteText(double Value) {
    if (std::isnan(Value))
        return QStringLiteral("NAN");
    return Value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

QString WithSeparator(QString Text, QChar Separator = GDecimalSeparator) {
    if (Separator != QLatin1Char('.'))
        Text.replace(QLatin1Char('.'), Separator);
    return Text;
}

// "-0.00" and the like read as zero; the sign only confuses.
QString DropNegativeZero(const QString& Text) {
    if (!Text.startsWith(QLatin1Char('-')))
        return Text;
    for (QChar C : Text)
        if (C.isDigit() && C != QLatin1Char('0'))
            return Text;
    return Text.mid(1);
}

// Parses a C-locale number (only '.', digits, sign and exponent) in full.
bool ParseCNumber(const char* Data, int N, double& Value) {
    if (N == 0)
        return false;
    const char* Text = Data;
    // Only plain decimals: no hex floats, "inf" or "nan".
    int I = 0;
    if (I < N && (Text[I] == '+' || Text[I] == '-'))
        ++I;
    int Digits = 0;
    while (I < N && Text[I] >= '0' && Text[I] <= '9') {
        ++I;
        ++Digits;
    }
    if (I < N && Text[I] == '.') {
        ++I;
        while (I < N && Text[I] >= '0' && Text[I] <= '9') {
            ++I;
            ++Digits;
        }
    }
    if (Digits == 0)
        return false;
    if (I < N && (Text[I] == 'e' || Text[I] == 'E')) {
        ++I;
        if (I < N && (Text[I] == '+' || Text[I] == '-'))
            ++I;
        int ExpDigits = 0;
        while (I < N && Text[I] >= '0' && Text[I] <= '9') {
            ++I;
            ++ExpDigits;
        }
        if (ExpDigits == 0)
            return false;
    }
    if (I != N)
        return false;
    // from_chars ignores the C runtime's locale, which the toolkit sets to the
    // user's: strtod would then want the user's separator instead of '.'.
    // It takes no leading '+', so that is skipped here.
    const char* Begin = Text[0] == '+' ? Text + 1 : Text;
    double Result = 0;
    const std::from_chars_result Parsed = std::from_chars(Begin, Text + N, Result);
    if (Parsed.ec != std::errc() || Parsed.ptr != Text + N || !std::isfinite(Result))
        return false;
    Value = Result;
    return true;
}

// Whether C separates the decimals of a file's number: any separator a
// locale writes files with (a point, a comma, the Arabic one), whatever the
// user's own, so that a file reads the same on every machine; and the
// user's own, whichever it is.
bool IsFileDecimalSeparator(QChar C) {
    return C == QLatin1Char('.') || C == QLatin1Char(',') || C == QChar(u'\u066B') ||
           C == GDecimalSeparator;
}

// Maps every decimal separator to '.', refusing anything else outside ASCII.
// Out must hold Text.size() + 1 characters; it ends with a zero. A second
// separator is left to the parser, which refuses it.
bool ToCNumber(QStringView Text, char* Out) {
    for (QChar C : Text) {
        if (IsFileDecimalSeparator(C))
            *Out++ = '.';
        else if (C.unicode() < 128 && C.unicode() != 0)
            *Out++ = char(C.unicode());
        else
            return false;
    }
    *Out = 0;
    return true;
}

// Short plain numbers - a sign, digits and perhaps a separator and more
// digits, 15 digits at most - the most common numbers of a file, read without
// the text conversion. All digits together make a whole number that is exact
// as a double, and so is the power of ten it is divided by; the division then
// rounds the exact quotient once, which gives the very double the general
// road gives. False when the text is of another kind (the general road then
// decides).
bool TryShortNumber(QStringView Text, double& Value) {
#if FLT_EVAL_METHOD != 0
    // Division in a wider type would round twice.
    return false;
#endif
    static const double PowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    qsizetype I = 0;
    const bool Negative = !Text.isEmpty() && Text[0] == QLatin1Char('-');
    if (Negative || (!Text.isEmpty() && Text[0] == QLatin1Char('+')))
        I = 1;
    uint64_t Magnitude = 0;
    int Digits = 0;
    int Decimals = 0;
    qsizetype SeparatorAt = -1;
    for (; I < Text.size(); ++I) {
        const char16_t C = Text[I].unicode();
        if (C >= u'0' && C <= u'9') {
            if (++Digits > 15)
                return false;
            Magnitude = Magnitude * 10 + uint64_t(C - u'0');
            if (SeparatorAt >= 0)
                ++Decimals;
        } else if (IsFileDecimalSeparator(Text[I]) && SeparatorAt < 0 && Digits > 0) {
            SeparatorAt = I;
        } else {
            return false;
        }
    }
    // Digits on both sides of a separator; other forms take the general road.
    if (Digits == 0 || (SeparatorAt >= 0 && Decimals == 0))
        return false;
    const double Magnitudes = double(Magnitude) / PowersOfTen[Decimals];
    Value = Negative ? -Magnitudes : Magnitudes;
    return true;
}

// TryFileStrToFloat on a view, so that a cell's number inside parentheses
// needs no copy of its own.
bool TryFileViewToFloat(QStringView Text, double& Value) {
    const QStringView Trimmed = Text.trimmed();
    if (TryShortNumber(Trimmed, Value))
        return true;
    // Numbers are short; a longer text is no number of ours either way, but
    // is still read properly.
    char Small[64];
    QByteArray Large;
    char* Buffer = Small;
    if (Trimmed.size() >= qsizetype(sizeof(Small))) {
        Large.resize(Trimmed.size() + 1);
        Buffer = Large.data();
    }
    if (!ToCNumber(Trimmed, Buffer))
        return false;
    return ParseCNumber(Buffer, int(Trimmed.size()), Value);
}

// Fixed notation with Decimals decimals, then the zeros after the second
// decimal dropped.
QString FixedKeepingTwo(double Value, int Decimals) {
    QString Text = QString::number(Value, 'f', Decimals);
    const qsizetype Point = Text.indexOf(QLatin1Char('.'));
    if (Point >= 0) {
        qsizetype End = Text.size();
        while (End > Point + 3 && Text.at(End - 1) == QLatin1Char('0'))
            --End;
        Text.truncate(End);
    }
    return WithSeparator(DropNegativeZero(Text));
}

// Digits of every script as ASCII ones, the only ones a file's numbers have:
// a locale may read its own (Arabic-Indic, say), typed or pasted. Some
// scripts have digits beyond 16 bits, so the text is taken by code points.
QString AsciiDigits(const QString& Text) {
    QList<uint> Codes = Text.toUcs4();
    for (uint& Code : Codes) {
        const int Digit = QChar::digitValue(char32_t(Code));
        if (Digit >= 0)
            Code = uint('0' + Digit);
    }
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(Codes.constData()), Codes.size());
}

QLocale& GUserLocale() {
    static QLocale Locale = QLocale::c();
    return Locale;
}

} // namespace

QChar DecimalSeparator() {
    return GDecimalSeparator;
}
QChar ThousandSeparator() {
    return GThousandSeparator;
}
void SetDecimalSeparator(QChar Separator) {
    GDecimalSeparator = Separator;
}
void SetThousandSeparator(QChar Separator) {
    GThousandSeparator = Separator;
}

const QLocale& UserLocale() {
    return GUserLocale();
}

void InitFormatSettings(const QLocale& Locale) {
    GUserLocale() = Locale;
    const QString Decimal = Locale.decimalPoint();
    const QString Group = Locale.groupSeparator();
    GDecimalSeparator = Decimal.size() == 1 ? Decimal.at(0) : QLatin1Char('.');
    GThousandSeparator = Group.size() == 1 ? Group.at(0) : QLatin1Char(',');
    if (GThousandSeparator == GDecimalSeparator)
        GThousandSeparator =
            GDecimalSeparator == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
}

QString FloatToStrGeneral(double Value) {
    return FloatToStrGeneral(Value, GDecimalSeparator);
}

QString FloatToStrGeneral(double Value, QChar Separator) {
    if (!std::isfinite(Value))
        return NonFiniteText(Value);
    if (Value == 0)
        return QStringLiteral("0");
    // %.15g switches to exponent form exactly when the rounded exponent is
    // below -4 or at least 15, which is the rule of the general format.
    // Next to the largest double, 15 digits round up past it and the text
    // would not read back; there the digits needed to stay finite are kept.
    const bool NearOverflow = std::fabs(Value) > 1.797693134862310e308;
    QString Text = QString::number(Value, 'g', NearOverflow ? 17 : 15);
    const int E = Text.indexOf(QLatin1Char('e'));
    if (E >= 0) {
        QString Mantissa = Text.left(E);
        QString Exponent = Text.mid(E + 1);
        bool Negative = Exponent.startsWith(QLatin1Char('-'));
        if (Exponent.startsWith(QLatin1Char('-')) || Exponent.startsWith(QLatin1Char('+')))
            Exponent.remove(0, 1);
        while (Exponent.size() > 1 && Exponent.startsWith(QLatin1Char('0')))
            Exponent.remove(0, 1);
        Text =
            Mantissa + QLatin1Char('E') + (Negative ? QStringLiteral("-") : QString()) + Exponent;
    }
    return WithSeparator(Text, Separator);
}

QString FormatFloat2(double Value) {
    if (!std::isfinite(Value))
        return NonFiniteText(Value);
    return WithSeparator(DropNegativeZero(QString::number(Value, 'f', 2)));
}

QString FormatFloatSignificant(double Value) {
    if (!std::isfinite(Value))
        return NonFiniteText(Value);
    if (Value == 0)
        return FormatFloat2(0);
    // The decimals that three significant digits of this magnitude need.
    const int Magnitude = int(std::floor(std::log10(std::fabs(Value))));
    return FixedKeepingTwo(Value, std::clamp(2 - Magnitude, 2, 6));
}

QString FormatFloatKept(double Value) {
    if (!std::isfinite(Value))
        return NonFiniteText(Value);
    return FixedKeepingTwo(Value, 6);
}

QString FormatFixed4(double Value, int Decimals) {
    if (!std::isfinite(Value))
        return NonFiniteText(Value);
    if (Decimals < 0)
        Decimals = 0;
    if (Decimals > 18)
        Decimals = 18;
    // Four significant digits, then exactly Decimals decimals: the value is
    // rounded once, at the coarser of the two places (12.3456 with 3
    // decimals is 12.35, written 12.350; 0.12351 with 3 decimals is 0.124).
    const QString Scientific = QString::number(Value, 'e', 3);
    const int E = Scientific.indexOf(QLatin1Char('e'));
    const int Exponent = Scientific.mid(E + 1).toInt();
    if (Value != 0 && Exponent >= 4) {
        QString Mantissa = Scientific.left(E);
        const QString Sign = Exponent < 0 ? QStringLiteral("-") : QStringLiteral("+");
        return WithSeparator(Mantissa + QLatin1Char('E') + Sign +
                             QStringLiteral("%1").arg(std::abs(Exponent), 3, 10, QLatin1Char('0')));
    }
    const int RoundedDecimals = std::min(Decimals, std::max(0, 3 - Exponent));
    QString Text = QString::number(Value, 'f', RoundedDecimals);
    if (RoundedDecimals < Decimals) {
        if (RoundedDecimals == 0)
            Text += QLatin1Char('.');
        Text += QString(Decimals - RoundedDecimals, QLatin1Char('0'));
    }
    return WithSeparator(DropNegativeZero(Text));
}

bool TryFileStrToFloat(const QString& Text, double& Value) {
    return TryFileViewToFloat(Text, Value);
}

bool TryTypedStrToFloat(const QString& Text, double& Value) {
    // The locale's own reading checks where group separators stand and
    // passes the blanks around the number by; it also takes "inf" and
    // "nan", which are no numbers to type.
    bool Ok = false;
    const double Read = UserLocale().toDouble(Text, &Ok);
    if (!Ok || !std::isfinite(Read))
        return false;
    Value = Read;
    return true;
}

QString TypedNumberText(const QString& Text) {
    double Value = 0;
    if (!TryTypedStrToFloat(Text, Value))
        return Text;
    QString Kept = Text.trimmed();
    const QString Group = UserLocale().groupSeparator();
    if (!Group.isEmpty())
        Kept.remove(Group);
    // Where blanks group digits, the locale may have taken a plain blank
    // for its own.
    Kept.remove(QLatin1Char(' '));
    return AsciiDigits(Kept);
}

bool TryStrToInt(const QString& Text, int32_t& Value) {
    int I = 0;
    const int N = Text.size();
    while (I < N && IsBlank(Text.at(I)))
        ++I;
    bool Negative = false;
    if (I < N && (Text.at(I) == QLatin1Char('+') || Text.at(I) == QLatin1Char('-'))) {
        Negative = Text.at(I) == QLatin1Char('-');
        ++I;
    }
    bool Hex = false;
    if (I < N && Text.at(I) == QLatin1Char('$')) {
        Hex = true;
        ++I;
    } else if (I < N && (Text.at(I) == QLatin1Char('x') || Text.at(I) == QLatin1Char('X'))) {
        Hex = true;
        ++I;
    } else if (I + 1 < N && Text.at(I) == QLatin1Char('0') &&
               (Text.at(I + 1) == QLatin1Char('x') || Text.at(I + 1) == QLatin1Char('X'))) {
        Hex = true;
        I += 2;
    }
    if (I >= N)
        return false;
    uint64_t Magnitude = 0;
    for (; I < N; ++I) {
        const ushort C = Text.at(I).unicode();
        int Digit;
        if (C >= '0' && C <= '9')
            Digit = C - '0';
        else if (Hex && C >= 'a' && C <= 'f')
            Digit = C - 'a' + 10;
        else if (Hex && C >= 'A' && C <= 'F')
            Digit = C - 'A' + 10;
        else
            return false;
        Magnitude = Magnitude * (Hex ? 16 : 10) + uint64_t(Digit);
        if (Magnitude > 0xFFFFFFFFull)
            return false;
    }
    if (Hex) {
        const uint32_t Bits = uint32_t(Magnitude);
        Value = Negative ? int32_t(0u - Bits) : int32_t(Bits);
        return true;
    }
    if (Negative) {
        if (Magnitude > 0x80000000ull)
            return false;
        Value = int32_t(-int64_t(Magnitude));
    } else {
        if (Magnitude > 0x7FFFFFFFull)
            return false;
        Value = int32_t(Magnitude);
    }
    return true;
}

int32_t StrToInt(const QString& Text) {
    int32_t Value = 0;
    if (!TryStrToInt(Text, Value))
        throw ECorvinalError(QStringLiteral("''%1'' is not a valid integer value").arg(Text));
    return Value;
}

QString CellNotFloatMessage() {
    return QStringLiteral("Cell does not contain a float value");
}

namespace {

// Empty, or a lone "-", is 0 in both cell rules.
bool IsEmptyCell(QStringView Trimmed) {
    return Trimmed.isEmpty() || Trimmed == QLatin1String("-");
}

bool TryCellToFloat(const QString& Text, double& Value) {
    const QStringView Trimmed = QStringView(Text).trimmed();
    if (IsEmptyCell(Trimmed)) {
        Value = 0;
        return true;
    }
    // A number in parentheses is negative, as accounts write it.
    const bool Negative = Trimmed.size() >= 2 && Trimmed.front() == QLatin1Char('(') &&
                          Trimmed.back() == QLatin1Char(')');
    if (!TryFileViewToFloat(Negative ? Trimmed.mid(1, Trimmed.size() - 2) : Trimmed, Value))
        return false;
    if (Negative)
        Value = -std::fabs(Value);
    return true;
}

bool TryTypedCellToFloat(const QString& Text, double& Value) {
    if (IsEmptyCell(QStringView(Text).trimmed())) {
        Value = 0;
        return true;
    }
    return TryTypedStrToFloat(Text, Value);
}

} // namespace

double CellToFloat(const QString& Text) {
    double Value = 0;
    if (!TryCellToFloat(Text, Value))
        throw ECorvinalError(CellNotFloatMessage());
    return Value;
}

bool IsCellNumber(const QString& Text) {
    double Value = 0;
    return TryCellToFloat(Text, Value);
}

double TypedCellToFloat(const QString& Text) {
    double Value = 0;
    if (!TryTypedCellToFloat(Text, Value))
        throw ECorvinalError(CellNotFloatMessage());
    return Value;
}

bool IsTypedCellNumber(const QString& Text) {
    double Value = 0;
    return TryTypedCellToFloat(Text, Value);
}
