#pragma once

#include <QSpinBox>

// An integer spin box. With limits it clamps every value written into it and
// the one it holds when it loses the focus; without limits it takes any
// 32-bit integer. Text that is no integer reads as the lower limit (0 when
// there are no limits).
class TSpinEdit : public QSpinBox {
    Q_OBJECT
public:
    // No limits.
    explicit TSpinEdit(QWidget* Parent = nullptr);
    TSpinEdit(int MinValue, int MaxValue, QWidget* Parent = nullptr);

    int Value() const;
    void SetValue(int Value) { setValue(Value); }
    bool HasLimits() const { return FHasLimits; }
    // The text field, where the user types.
    QLineEdit* Editor() const { return lineEdit(); }

private:
    bool FHasLimits;
};
