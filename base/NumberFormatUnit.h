#pragma once

#include <QChar>
#include <QLocale>
#include <QString>
#include <cstdint>

// Every number text of the application, written or read, goes through here so
// that the user's decimal separator is taken from one place. Three rules read
// numbers, each where its texts come from:
// - texts of a file (TryFileStrToFloat, CellToFloat): a point or a comma, as
//   files travel between machines of different locales, and the user's own
//   separator, which this machine writes;
// - texts the user types (TryTypedStrToFloat, TypedCellToFloat): the user's
//   locale, strictly, so that a typed "1,5" is never taken for 15;
// - integers (TryStrToInt): no separator at all.

QChar DecimalSeparator();
QChar ThousandSeparator();
void SetDecimalSeparator(QChar Separator);
void SetThousandSeparator(QChar Separator);
// The locale typed numbers are read with.
const QLocale& UserLocale();
// Takes the locale and both separators from it; the application calls it once
// at start.
void InitFormatSettings(const QLocale& Locale = QLocale::system());

// General number format: at most 15 significant digits, no trailing zeros,
// plain notation for magnitudes from 0.0001 below 1E15, otherwise 1.5E-7.
QString FloatToStrGeneral(double Value);
// The same with a separator of the caller's choosing, for texts whose format
// is fixed whatever the user's locale (a point in CSV files).
QString FloatToStrGeneral(double Value, QChar Separator);
// "%.2f" with the locale's separator and no thousands separator.
QString FormatFloat2(double Value);
// Values the program works out for the user (a scenario's interpolated
// years): at least two decimals, more where three significant digits need
// them, at most six (0.00556, 0.0333, 0.50, 12.35), with the locale's
// separator and no grouping. Two decimals alone would make 0.05 / 9 into
// 0.01, and the years read from it would be off by years.
QString FormatFloatSignificant(double Value);
// Values the user gave, kept as given up to six decimals: at least two
// decimals, trailing zeros after the second dropped (12.50, 0.0525).
QString FormatFloatKept(double Value);
// Value rounded to 4 significant digits and written with exactly Decimals
// decimals; values of five or more integer digits fall back to exponent form.
QString FormatFixed4(double Value, int Decimals);

// A number as a file holds it: a sign, ASCII digits with "." or "," as the
// decimal separator whatever the user's locale, or the user's own separator
// (which the writers above use), and an exponent ("2.5", "2,5", "1.5E-7");
// never a thousands separator. Blanks at both ends are allowed. False on
// anything else, on overflow and on empty text.
bool TryFileStrToFloat(const QString& Text, double& Value);

// A number the user typed, read with the user's locale strictly: its decimal
// separator, its group separator only where it groups correctly ("1,500" is
// 1500 in English, "1,5" is no number there), blanks around it and nothing
// else. False on anything else, on overflow and on empty text.
bool TryTypedStrToFloat(const QString& Text, double& Value);
// A typed number as it is kept in a text cell: without the blanks around it
// and the separators that only group its digits, its digits ASCII ones
// whatever script they were typed in, so that files read it as the same
// number. Text that is no typed number comes back unchanged.
QString TypedNumberText(const QString& Text);

// Integer text: optional leading blanks and sign, then decimal digits, or
// hexadecimal digits after "$", "x", "X", "0x" or "0X". Hexadecimal takes all
// 32 bits (so $FF000019 is a negative number). False on anything else.
bool TryStrToInt(const QString& Text, int32_t& Value);
// As TryStrToInt, failing with "''%s'' is not a valid integer value".
int32_t StrToInt(const QString& Text);

// A scenario cell as it is kept (from a file, typed, or worked out): blanks
// ignored, empty or "-" is 0, a number in parentheses negative, otherwise a
// number by the file rule. Fails with "Cell does not contain a float value".
double CellToFloat(const QString& Text);
// Whether CellToFloat reads Text.
bool IsCellNumber(const QString& Text);
// A cell the user just typed: blanks ignored, empty or "-" is 0, otherwise a
// number by the typed rule. Fails with "Cell does not contain a float value".
double TypedCellToFloat(const QString& Text);
// Whether TypedCellToFloat reads Text: whether a cell may take it as typed.
bool IsTypedCellNumber(const QString& Text);
// The message of both cell rules.
QString CellNotFloatMessage();
