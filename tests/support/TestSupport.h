#pragma once

#include "NumberFormatUnit.h"

#include <QByteArray>
#include <QString>
#include <ostream>

// Readable failure messages for Qt texts.
inline void PrintTo(const QString& Text, std::ostream* Out) { *Out << '"' << Text.toStdString() << '"'; }
inline void PrintTo(const QByteArray& Bytes, std::ostream* Out) {
    *Out << '"' << Bytes.toStdString() << '"';
}

// Sets the decimal and thousands separators for one test and restores the
// previous ones afterwards.
class TSeparatorGuard {
public:
    explicit TSeparatorGuard(QChar Decimal)
        : FDecimal(DecimalSeparator()), FThousand(ThousandSeparator()) {
        SetDecimalSeparator(Decimal);
        SetThousandSeparator(Decimal == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(','));
    }
    ~TSeparatorGuard() {
        SetDecimalSeparator(FDecimal);
        SetThousandSeparator(FThousand);
    }

private:
    QChar FDecimal;
    QChar FThousand;
};

// Both separators, for tests that must hold under either.
inline const QChar TestSeparators[] = {QLatin1Char('.'), QLatin1Char(',')};
