#pragma once

#include <QLineEdit>
#include <functional>
#include <initializer_list>

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

// The field's number, read as typed numbers are (the user's locale,
// strictly); fails with "''%s'' is not a valid floating point value".
double ReadFloatField(const QLineEdit* Field);
// The same without failing: false when the field holds no number.
bool TryReadFloatField(const QLineEdit* Field, double& Value);
// The message ReadFloatField fails with.
QString NotAFloatMessage(const QString& Text);

// A dialog that refuses its OK: Message is shown as an error over the
// dialog, which stays open, and Field is handed back to the user, focused
// with its text selected, ready to be typed over.
void RefuseField(QWidget* Field, const QString& Message);
// Refuses a dialog's OK, as RefuseField does, at the first of Fields that
// holds no number, saying that its text is none; true when it refused.
// Holds tells whether a field holds a number; without it, a field holds one
// when it reads as a typed number.
bool RefuseFirstNonFloat(std::initializer_list<QLineEdit*> Fields,
                         const std::function<bool(const QLineEdit*)>& Holds = nullptr);
