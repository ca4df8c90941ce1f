#pragma once

#include "base/NumberFormatUnit.h"
#include "model/ElementsUnit.h"
#include "scenarios/ScenarioFrameUnit.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <ostream>
#include <string>

// Readable failure messages for Qt texts.
inline void PrintTo(const QString& Text, std::ostream* Out) {
    *Out << '"' << Text.toStdString() << '"';
}
inline void PrintTo(const QByteArray& Bytes, std::ostream* Out) {
    *Out << '"' << Bytes.toStdString() << '"';
}

// Sets the user's locale (and with it the separators) for one test and
// restores the previous one afterwards.
class TLocaleGuard {
public:
    explicit TLocaleGuard(const QLocale& Locale)
        : FLocale(UserLocale()), FDecimal(DecimalSeparator()), FThousand(ThousandSeparator()) {
        InitFormatSettings(Locale);
    }
    ~TLocaleGuard() {
        InitFormatSettings(FLocale);
        SetDecimalSeparator(FDecimal);
        SetThousandSeparator(FThousand);
    }

private:
    QLocale FLocale;
    QChar FDecimal;
    QChar FThousand;
};

// The Arabic decimal separator (U+066B), of locales such as Egypt's, which
// is neither of the two a file has from elsewhere.
inline const QChar ArabicSeparator(u'\u066B');

// A locale whose decimal separator is Decimal: English with a point, German
// with a comma, Egyptian Arabic with the Arabic separator.
inline QLocale LocaleWithSeparator(QChar Decimal) {
    if (Decimal == QLatin1Char(','))
        return QLocale(QLocale::German, QLocale::Germany);
    if (Decimal == ArabicSeparator)
        return QLocale(QLocale::Arabic, QLocale::Egypt);
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

// The name of a test run under the decimal separator Decimal.
inline std::string SeparatorName(QChar Decimal) {
    if (Decimal == QLatin1Char(','))
        return "Comma";
    return Decimal == ArabicSeparator ? "Arabic" : "Point";
}

// Sets the decimal and thousands separators, through a locale that has them,
// for one test and restores the previous ones afterwards.
class TSeparatorGuard : public TLocaleGuard {
public:
    explicit TSeparatorGuard(QChar Decimal) : TLocaleGuard(LocaleWithSeparator(Decimal)) {}
};

// The locales numbers are tried under: the C locale, two with a point and
// with a comma as decimal separator (and the other one grouping digits).
inline QList<QLocale> TestLocales() {
    return {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates),
            QLocale(QLocale::German, QLocale::Germany),
            QLocale(QLocale::Dutch, QLocale::Netherlands)};
}

// A number text as the user's locale writes it: "12.50" becomes "12,50"
// under a decimal comma.
inline QString LocalNumber(QString Text) {
    return Text.replace(QLatin1Char('.'), DecimalSeparator());
}
inline QStringList LocalNumber(const QStringList& Texts) {
    QStringList Result;
    for (const QString& Text : Texts)
        Result << LocalNumber(Text);
    return Result;
}

// Both separators, for tests that must hold under either.
inline const QChar TestSeparators[] = {QLatin1Char('.'), QLatin1Char(',')};

// The decade years 2010 to 2100, as the main window sets up its scenario
// table, without scenarios.
inline void SetUpScenarioYears(TScenarioFrame& Frame) {
    Frame.SetBeginYear(2010);
    Frame.SetEndYear(2100);
    Frame.SetTimeStep(10);
    Frame.SetupScenariosGrid();
}

// Appends a scenario column: its caption and its cells from 2010 on ("" for
// no value).
inline void AddScenarioColumn(TScenarioFrame& Frame, const QString& Caption,
                              const QStringList& Cells) {
    TCellGrid& Grid = Frame.ScenariosStringGrid();
    const int Col = Grid.ColCount();
    Grid.SetColCount(Col + 1);
    Grid.SetCells(Col, 0, Caption);
    for (int R = 0; R < Cells.size(); ++R)
        Grid.SetCells(Col, R + 1, Cells[R]);
}

// A file's bytes; empty when it cannot be read.
inline QByteArray ReadAll(const QString& Name) {
    QFile File(Name);
    return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
}

// A pathway element from First to Second as "Pathway" builds one: named
// "First + Second", with Second's colour.
inline TElement* AddTestPathway(TElementsList& List, TElement* First, TElement* Second,
                                TCombinationType Type, double Value) {
    TElement* Element = List.AddCombinationElement(First->Caption() + " + " + Second->Caption(),
                                                   Value, First->ID(), Second->ID());
    Element->SetMyColor(Second->MyColor());
    Element->SetCombinationType(Type);
    return Element;
}
