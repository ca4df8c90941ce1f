#pragma once

#include "base/NumberFormatUnit.h"
#include "model/ElementsUnit.h"
#include "scenarios/ScenarioFrameUnit.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <ostream>

// Readable failure messages for Qt texts.
inline void PrintTo(const QString& Text, std::ostream* Out) {
    *Out << '"' << Text.toStdString() << '"';
}
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
