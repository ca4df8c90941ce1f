#include "scenarios/AddScenarioFormUnit.h"

#include "base/NumberFormatUnit.h"
#include "scenarios/ScenarioMatrixUnit.h"
#include "widgets/FloatEditUnit.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWheelEvent>
#include <algorithm>

namespace {

const int ClientWidth = 482;
const int ClientHeight = 224;
const int LastYear = 2100;

// The number a value field shows once it is written as the matrix keeps
// it: what was typed, to six decimals.
double AsShown(double Value) {
    double Shown = Value;
    TryTypedStrToFloat(FormatFloatKept(Value), Shown);
    return Shown;
}

bool TryReadShown(const QLineEdit* Field, double& Value) {
    if (!TryReadFloatField(Field, Value))
        return false;
    Value = AsShown(Value);
    return true;
}

double ReadShown(const QLineEdit* Field) {
    return AsShown(ReadFloatField(Field));
}

// A field gets the height its font needs; the positions are fixed. Where the
// system's face is wider than the one the dialog was laid out for, a caption
// widens its control rather than being cut off.
void Place(QWidget* Widget, int Left, int Top, int Width) {
    const QSize Hint = Widget->sizeHint();
    Widget->setGeometry(Left, Top, Width, Hint.height());
}

void PlaceCaptioned(QWidget* Widget, int Left, int Top, int Width) {
    const QSize Hint = Widget->sizeHint();
    Widget->setGeometry(Left, Top, std::max(Width, Hint.width()), Hint.height());
}

} // namespace

QFont ScenarioDialogFont() {
    QFont Font(QStringLiteral("Tahoma"));
    Font.setPointSize(8);
    return Font;
}

// ---------------------------------------------------------------- TDecadeSpinEdit

TDecadeSpinEdit::TDecadeSpinEdit(QWidget* Parent) : TSpinEdit(MatrixFirstYear, LastYear, Parent) {
    setSingleStep(MatrixYearStep);
    Editor()->setReadOnly(true);
}

void TDecadeSpinEdit::keyPressEvent(QKeyEvent* Event) {
    if (Event->key() == Qt::Key_PageUp || Event->key() == Qt::Key_PageDown) {
        Event->ignore();
        return;
    }
    TSpinEdit::keyPressEvent(Event);
}

void TDecadeSpinEdit::wheelEvent(QWheelEvent* Event) {
    Event->ignore();
}

// ---------------------------------------------------------------- TAddScenarioForm

TAddScenarioForm::TAddScenarioForm(QWidget* Parent) : QDialog(Parent) {
    setWindowTitle(tr("Add Scenario"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
    setFont(ScenarioDialogFont());

    // Created in the order the Tab key visits them.
    FNameLabel = new QLabel(tr("Scenario Name"), this);
    FNameLabel->move(8, 8);
    FNameLabel->adjustSize();
    FNameEdit = new QLineEdit(this);
    Place(FNameEdit, 112, 5, 121);
    FNameLabel->setBuddy(FNameEdit);

    FValueLabel = new QLabel(tr("Value for year"), this);
    FValueLabel->move(8, 40);
    FValueLabel->adjustSize();
    FFirstYearSpinEdit = new TDecadeSpinEdit(this);
    Place(FFirstYearSpinEdit, 16, 64, 63);
    FFirstYearSpinEdit->SetValue(MatrixFirstYear);
    FFirstYearSpinEdit->setEnabled(false);
    FFirstValueEdit = new TFloatEdit(this);
    Place(FFirstValueEdit, 112, 64, 121);
    FLastYearSpinEdit = new TDecadeSpinEdit(this);
    Place(FLastYearSpinEdit, 16, 92, 63);
    FLastYearSpinEdit->SetValue(LastYear);
    FLastValueEdit = new TFloatEdit(this);
    Place(FLastValueEdit, 112, 92, 121);

    FAutoInterpolateCheckBox = new QCheckBox(tr("Automatic interpolation for values"), this);
    PlaceCaptioned(FAutoInterpolateCheckBox, 16, 128, 217);
    FAutoInterpolateCheckBox->setChecked(true);

    FCancelButton = new QPushButton(tr("Cancel"), this);
    FCancelButton->setGeometry(287, 176, 75, 25);
    FCancelButton->setAutoDefault(false);
    FOKButton = new QPushButton(tr("OK"), this);
    FOKButton->setGeometry(368, 176, 75, 25);
    FOKButton->setAutoDefault(false);
    FOKButton->setDefault(true);
    setFixedSize(ClientWidth, ClientHeight);

    FOKAction = new QAction(QStringLiteral("OK"), this);
    connect(FOKAction, &QAction::triggered, this, [this] { OKActionExecute(); });
    connect(FOKAction, &QAction::changed, FOKButton,
            [this] { FOKButton->setEnabled(FOKAction->isEnabled()); });
    connect(FOKButton, &QPushButton::clicked, FOKAction, &QAction::trigger);
    connect(FCancelButton, &QPushButton::clicked, this, &QDialog::reject);

    // A value typed with more decimals is shown as it will be used.
    for (TFloatEdit* Field : {FFirstValueEdit, FLastValueEdit})
        connect(Field, &QLineEdit::editingFinished, this, [Field] {
            double Value = 0;
            if (TryReadShown(Field, Value))
                Field->setText(FormatFloatKept(Value));
        });

    // While hidden the rule has nothing to show; showing evaluates it anew.
    if (QAbstractEventDispatcher* Dispatcher = QAbstractEventDispatcher::instance())
        connect(Dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            if (isVisible())
                UpdateActions();
        });

    SetFirstAnchorValue(0);
    SetLastAnchorValue(0);
    UpdateActions();
}

QString TAddScenarioForm::ScenarioName() const {
    return FNameEdit->text();
}
void TAddScenarioForm::SetScenarioName(const QString& Value) {
    FNameEdit->setText(Value);
}
int TAddScenarioForm::FirstAnchorYear() const {
    return FFirstYearSpinEdit->Value();
}
void TAddScenarioForm::SetFirstAnchorYear(int Value) {
    FFirstYearSpinEdit->SetValue(Value);
}
int TAddScenarioForm::LastAnchorYear() const {
    return FLastYearSpinEdit->Value();
}
void TAddScenarioForm::SetLastAnchorYear(int Value) {
    FLastYearSpinEdit->SetValue(Value);
}
double TAddScenarioForm::FirstAnchorValue() const {
    return ReadShown(FFirstValueEdit);
}
void TAddScenarioForm::SetFirstAnchorValue(double Value) {
    FFirstValueEdit->setText(FormatFloatKept(Value));
}
double TAddScenarioForm::LastAnchorValue() const {
    return ReadShown(FLastValueEdit);
}
void TAddScenarioForm::SetLastAnchorValue(double Value) {
    FLastValueEdit->setText(FormatFloatKept(Value));
}
void TAddScenarioForm::SetEditFirstValueEnabled(bool Value) {
    FFirstValueEdit->setEnabled(Value);
}
bool TAddScenarioForm::AutoInterpolate() const {
    return FAutoInterpolateCheckBox->isChecked();
}

bool TAddScenarioForm::OKActionEnabled() const {
    // The rule runs when the application is idle, where nothing may fail. A
    // field that holds no number leaves OK enabled: pressing it says what is
    // wrong, where a disabled button would not.
    double First = 0;
    double Last = 0;
    if (!TryReadShown(FFirstValueEdit, First) || !TryReadShown(FLastValueEdit, Last))
        return FirstAnchorYear() != LastAnchorYear();
    return AnchorsAccepted(FirstAnchorYear(), First, LastAnchorYear(), Last);
}

void TAddScenarioForm::UpdateActions() {
    FOKAction->setEnabled(OKActionEnabled());
}

void TAddScenarioForm::OKActionExecute() {
    // The fields may have changed since the last idle moment.
    UpdateActions();
    if (!FOKAction->isEnabled())
        return;
    // Every typed number can be shown as the matrix keeps it: a field is
    // refused exactly where the typed rule reads no number.
    if (RefuseFirstNonFloat({FFirstValueEdit, FLastValueEdit}))
        return;
    accept();
}

void TAddScenarioForm::CentreOnMainWindow() {
    // The main window is the outermost of the windows this dialog belongs to.
    QWidget* Owner = parentWidget() ? parentWidget()->window() : nullptr;
    while (Owner && Owner->parentWidget())
        Owner = Owner->parentWidget()->window();
    if (!Owner || !Owner->isVisible())
        return;
    QRect Frame = frameGeometry();
    Frame.moveCenter(Owner->frameGeometry().center());
    move(Frame.topLeft());
}

void TAddScenarioForm::showEvent(QShowEvent* Event) {
    CentreOnMainWindow();
    QDialog::showEvent(Event);
    UpdateActions();
    // The name is what the user most often changes: ready to be typed over.
    FNameEdit->setFocus();
    FNameEdit->selectAll();
}
