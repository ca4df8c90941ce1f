#include "widgets/FloatEditUnit.h"

#include "base/ErrorUnit.h"
#include "base/NumberFormatUnit.h"
#include "widgets/KeyboardUnit.h"
#include "widgets/ModalSeamUnit.h"

#include <QKeyEvent>

TFloatEdit::TFloatEdit(QWidget* Parent) : QLineEdit(Parent) {}

bool TFloatEdit::AcceptsKey(QChar Key, const QString& Text, int Position) {
    // The user's own separator first: in an Arabic locale it lies above the
    // characters the filter otherwise lets through, and without it no
    // fraction could be typed.
    if (Key == DecimalSeparator())
        return !Text.contains(Key);
    if (Key.unicode() > 255)
        return false;
    if (Key == QLatin1Char('\b') || (Key >= QLatin1Char('0') && Key <= QLatin1Char('9')))
        return true;
    if (Key == QLatin1Char('-'))
        return !Text.contains(Key) && Position == 0;
    return false;
}

void TFloatEdit::keyPressEvent(QKeyEvent* Event) {
    const QString Typed = Event->text();
    // Navigation, deletion and shortcuts carry no text (or control text) and
    // pass unchanged; printable characters go through the filter.
    if (Typed.size() == 1 && Typed.at(0).isPrint() && !(Event->modifiers() & Qt::ControlModifier)) {
        QString Remaining = text();
        int Position = cursorPosition();
        if (hasSelectedText()) {
            Remaining.remove(selectionStart(), selectedText().size());
            Position = selectionStart();
        }
        if (!AcceptsKey(Typed.at(0), Remaining, Position)) {
            Event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(Event);
}

bool TryReadFloatField(const QLineEdit* Field, double& Value) {
    return TryTypedStrToFloat(Field->text(), Value);
}

QString NotAFloatMessage(const QString& Text) {
    return QStringLiteral("''%1'' is not a valid floating point value").arg(Text);
}

double ReadFloatField(const QLineEdit* Field) {
    double Value = 0;
    if (!TryReadFloatField(Field, Value))
        throw ECorvinalError(NotAFloatMessage(Field->text()));
    return Value;
}

void RefuseField(QWidget* Field, const QString& Message) {
    Modal().ShowError(Field->window(), Message);
    FocusAndSelectAll(Field, Qt::OtherFocusReason);
}

bool RefuseFirstNonFloat(std::initializer_list<QLineEdit*> Fields,
                         const std::function<bool(const QLineEdit*)>& Holds) {
    for (QLineEdit* Field : Fields) {
        double Value = 0;
        if (Holds ? !Holds(Field) : !TryReadFloatField(Field, Value)) {
            RefuseField(Field, NotAFloatMessage(Field->text()));
            return true;
        }
    }
    return false;
}
