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

int TSpinEdit::Value() const {
    int32_t Typed = 0;
    if (!TryStrToInt(cleanText(), Typed))
        return FHasLimits ? minimum() : 0;
    if (FHasLimits)
        return qBound(minimum(), int(Typed), maximum());
    return Typed;
}
