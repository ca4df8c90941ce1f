#pragma once

#include "base/NumberFormatUnit.h"
#include "base/ReadReportUnit.h"
#include "file/XmlUnit.h"

#include <cstdint>

// The number a child node of a file section holds, as every section reads
// it: Default when there is no such node, and Default too when its text is
// no number. Readers never stop for such a value; Report, when there is
// one, hears of it: where the node stands (Where(), built only then, as
// most files have nothing to report), its name, its text and the value used.

// A float, by the file rule.
template <typename TWhere>
double NodeFloatOr(const TXmlNode* Node, double Default, TReadReport* Report, TWhere Where) {
    double Value = Default;
    if (!Node || TryFileStrToFloat(Node->Text, Value))
        return Value;
    if (Report)
        Report->Unreadable(Where(), Node->Name, Node->Text, FloatToStrGeneral(Default));
    return Default;
}

// An integer.
template <typename TWhere>
int32_t NodeIntOr(const TXmlNode* Node, int32_t Default, TReadReport* Report, TWhere Where) {
    int32_t Value = Default;
    if (!Node || TryStrToInt(Node->Text, Value))
        return Value;
    if (Report)
        Report->Unreadable(Where(), Node->Name, Node->Text, QString::number(Default));
    return Default;
}
