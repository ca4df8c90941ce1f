#pragma once

#include <QChar>
#include <QLocale>
#include <QString>
#include <cstdint>

// Every number text of the application, written or read, goes through here so
// that the user's decimal separator is taken from one place.

QChar DecimalSeparator();
QChar ThousandSeparator();
void SetDecimalSeparator(QChar Separator);
void SetThousandSeparator(QChar Separator);
// Takes both separators from a locale; the application calls it once at start.
void InitFormatSettings(const QLocale& Locale = QLocale::system());

// General number format: at most 15 significant digits, no trailing zeros,
// plain notation for magnitudes from 0.0001 below 1E15, otherwise 1.5E-7.
QString FloatToStrGeneral(double Value);
// The same with a separator of the caller's choosing, for texts whose format
// is fixed whatever the user's locale (a point in CSV files).
QString FloatToStrGeneral(double Value, QChar Separator);
// "%.2f" with the locale's separator and no thousands separator.
QString FormatFloat2(double Value);
// Value rounded to 4 significant digits and written with exactly Decimals
// decimals; values of five or more integer digits fall back to exponent form.
QString FormatFixed4(double Value, int Decimals);

// Strict conversion with the locale's decimal separator; blanks at both ends
// are allowed. False on anything else, on overflow and on empty text.
bool TryStrToFloat(const QString& Text, double& Value);

// Integer text: optional leading blanks and sign, then decimal digits, or
// hexadecimal digits after "$", "x", "X", "0x" or "0X". Hexadecimal takes all
// 32 bits (so $FF000019 is a negative number). False on anything else.
bool TryStrToInt(const QString& Text, int32_t& Value);
// As TryStrToInt, failing with "''%s'' is not a valid integer value".
int32_t StrToInt(const QString& Text);

// The lenient reading of a grid cell: blanks ignored, empty or "-" is 0,
// thousands separators skipped, parentheses or a skipped "-" make it negative,
// leading junk skipped, reading stops at the first character that cannot be
// part of a number. Fails with "Cell does not contain a float value".
double CellToFloat(const QString& Text);
