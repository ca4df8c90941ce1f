#include "map/XAxisSettingsFormUnit.h"

#include "base/ErrorUnit.h"
#include "base/NumberFormatUnit.h"
#include "map/GraphicsSettingsUnit.h"
#include "widgets/FloatEditUnit.h"
#include "widgets/KeyboardUnit.h"
#include "widgets/SpinEditUnit.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TXAxisSettingsForm::TXAxisSettingsForm(QWidget* Parent) : QDialog(Parent) {
    setWindowTitle(tr("TippingPoint Settings"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);

    FMinValueEdit = new TFloatEdit(this);
    FMaxValueEdit = new TFloatEdit(this);
    FCheckBox1 = new QCheckBox(tr("Show Tipping conditions axis"), this);
    FEdit1 = new QLineEdit(this);
    FTicksSpinEdit = new TSpinEdit(2, 20, this);

    auto* Form = new QFormLayout;
    Form->addRow(tr("MinValue"), FMinValueEdit);
    Form->addRow(tr("MaxValue"), FMaxValueEdit);
    Form->addRow(QString(), FCheckBox1);
    Form->addRow(tr("X-Axis caption"), FEdit1);
    Form->addRow(tr("Ticks X Axis"), FTicksSpinEdit);

    auto* Buttons = new QDialogButtonBox(this);
    FOKButton = Buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    FCancelButton = Buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* Layout = new QVBoxLayout(this);
    Layout->addLayout(Form);
    Layout->addStretch();
    Layout->addWidget(Buttons);
    setFixedSize(482, 224);

    connect(FCheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
    SetShowXAxis(true);
}

double TXAxisSettingsForm::MinTippingPoint() const {
    return ReadFloatField(FMinValueEdit);
}
void TXAxisSettingsForm::SetMinTippingPoint(double Value) {
    FMinGiven = Value;
    FMinValueEdit->setText(FormatFloat2(Value));
}
double TXAxisSettingsForm::MaxTippingPoint() const {
    return ReadFloatField(FMaxValueEdit);
}
void TXAxisSettingsForm::SetMaxTippingPoint(double Value) {
    FMaxGiven = Value;
    FMaxValueEdit->setText(FormatFloat2(Value));
}

namespace {

// A field shows two decimals of the value it was given; left as shown, it
// keeps that value exactly, so that an OK which changed nothing changes
// nothing.
bool TryKept(const QLineEdit* Field, double Given, double& Value) {
    if (Field->text() == FormatFloat2(Given)) {
        Value = Given;
        return true;
    }
    return TryReadFloatField(Field, Value);
}

double Kept(const QLineEdit* Field, double Given) {
    double Value = 0;
    if (!TryKept(Field, Given, Value))
        throw ECorvinalError(NotAFloatMessage(Field->text()));
    return Value;
}

} // namespace

double TXAxisSettingsForm::MinTippingPointKept() const {
    return Kept(FMinValueEdit, FMinGiven);
}
double TXAxisSettingsForm::MaxTippingPointKept() const {
    return Kept(FMaxValueEdit, FMaxGiven);
}

void TXAxisSettingsForm::accept() {
    double Min = 0;
    double Max = 0;
    // A field left as shown holds the value it was given, as it is kept.
    const auto Holds = [&](const QLineEdit* Field) {
        return Field == FMinValueEdit ? TryKept(Field, FMinGiven, Min)
                                      : TryKept(Field, FMaxGiven, Max);
    };
    if (RefuseFirstNonFloat({FMinValueEdit, FMaxValueEdit}, Holds))
        return;
    const QString Problem = TGraphicsSettings::TippingRangeProblem(Min, Max);
    if (!Problem.isEmpty()) {
        RefuseField(FMaxValueEdit, Problem);
        return;
    }
    QDialog::accept();
}
QString TXAxisSettingsForm::XAxixCaption() const {
    return FEdit1->text();
}
void TXAxisSettingsForm::SetXAxixCaption(const QString& Value) {
    FEdit1->setText(Value);
}
int TXAxisSettingsForm::TicksXAxis() const {
    return FTicksSpinEdit->Value();
}
void TXAxisSettingsForm::SetTicksXAxis(int Value) {
    FTicksSpinEdit->SetValue(Value);
}
bool TXAxisSettingsForm::ShowXAxis() const {
    return FCheckBox1->isChecked();
}

void TXAxisSettingsForm::SetShowXAxis(bool Value) {
    FCheckBox1->setChecked(Value);
    CheckBox1Click();
}

void TXAxisSettingsForm::CheckBox1Click() {
    const bool Show = FCheckBox1->isChecked();
    FEdit1->setEnabled(Show);
    FTicksSpinEdit->setEnabled(Show);
}

void TXAxisSettingsForm::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    FocusFirstField(FMinValueEdit);
}
