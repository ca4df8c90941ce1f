#pragma once

#include <QLineEdit>

// A text field for a floating-point number: it swallows every key that
// cannot be part of one (only digits, backspace, a leading "-" and one
// decimal separator of the user's locale get through).
class TFloatEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TFloatEdit(QWidget* Parent = nullptr);

    // Whether a typed character is accepted into Text with the caret at Position.
    static bool AcceptsKey(QChar Key, const QString& Text, int Position);

protected:
    void keyPressEvent(QKeyEvent* Event) override;
};

// The field's number; fails with "''%s'' is not a valid floating point value".
double ReadFloatField(const QLineEdit* Field);
