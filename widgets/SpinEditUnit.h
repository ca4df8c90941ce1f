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

protected:
    // Digits that lead past a limit are taken while typing: the value is
    // clamped once the field is left, so 25 typed into 2..20 gives 20, not 2.
    QValidator::State validate(QString& Input, int& Pos) const override;
    void fixup(QString& Input) const override;

private:
    bool FHasLimits;
};
