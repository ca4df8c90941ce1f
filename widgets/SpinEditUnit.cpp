#include "widgets/SpinEditUnit.h"

#include "base/NumberFormatUnit.h"

#include <QLineEdit>
#include <limits>

TSpinEdit::TSpinEdit(QWidget* Parent) : QSpinBox(Parent), FHasLimits(false) {
    setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

TSpinEdit::TSpinEdit(int MinValue, int MaxValue, QWidget* Parent)
    : QSpinBox(Parent), FHasLimits(true) {
    setRange(MinValue, MaxValue);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

QValidator::State TSpinEdit::validate(QString& Input, int& Pos) const {
    const QValidator::State State = QSpinBox::validate(Input, Pos);
    if (State != QValidator::Invalid || !FHasLimits)
        return State;
    // Only plain decimal numbers; anything else stays refused key by key.
    const QString Text = Input.trimmed();
    int First = Text.startsWith(QLatin1Char('-')) || Text.startsWith(QLatin1Char('+')) ? 1 : 0;
    if (First >= Text.size())
        return State;
    for (int I = First; I < Text.size(); ++I)
        if (!Text.at(I).isDigit() || Text.at(I).unicode() > '9')
            return State;
    int32_t Typed = 0;
    return TryStrToInt(Text, Typed) ? QValidator::Intermediate : State;
}

void TSpinEdit::fixup(QString& Input) const {
    int32_t Typed = 0;
    if (FHasLimits && TryStrToInt(Input.trimmed(), Typed))
        Input = QString::number(qBound(minimum(), int(Typed), maximum()));
    else
        QSpinBox::fixup(Input);
}

int TSpinEdit::Value() const {
    int32_t Typed = 0;
    if (!TryStrToInt(cleanText(), Typed))
        return FHasLimits ? minimum() : 0;
    if (FHasLimits)
        return qBound(minimum(), int(Typed), maximum());
    return Typed;
}
