#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

// What a reader could not take from a file as it stands. Readers never stop
// for a value they cannot read: they keep its default and say so here, one
// line per value, so that no number of a file changes without a word.
class TReadReport {
public:
    // One value that is no number: where it stands (an element with its id
    // and name, a scenario, the graph settings), its field, the text found
    // and, when there is one, the value used instead.
    // Element 2 "Dike", initialcosts: "1.2.3" is not a number; 0 is used.
    void Unreadable(const QString& Where, const QString& Field, const QString& Found,
                    const QString& Used = QString());
    // Any other finding, as a whole line.
    void Add(const QString& Line) { FLines << Line; }

    const QStringList& Lines() const { return FLines; }
    bool IsEmpty() const { return FLines.isEmpty(); }

private:
    QStringList FLines;
};

// Where an element stands in a report: Element 2 "Dike".
QString ElementPlace(int32_t ID, const QString& Caption);
