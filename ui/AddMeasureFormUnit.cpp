#include "ui/AddMeasureFormUnit.h"

#include "base/NumberFormatUnit.h"
#include "widgets/ColorBoxUnit.h"
#include "widgets/FloatEditUnit.h"
#include "widgets/KeyboardUnit.h"
#include "widgets/SpinEditUnit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString CombinationItem = QStringLiteral("Combination");
const QString SequenceItem = QStringLiteral("Sequence");

// Hidden controls keep their place, so that the form does not rearrange
// itself between an action and a pathway element.
template <typename TWidget> TWidget* KeepingPlace(TWidget* Widget) {
    QSizePolicy Policy = Widget->sizePolicy();
    Policy.setRetainSizeWhenHidden(true);
    Widget->setSizePolicy(Policy);
    return Widget;
}

} // namespace

TAddMeasureForm::TAddMeasureForm(QWidget* Parent) : QDialog(Parent) {
    setWindowTitle(tr("Edit measure"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);

    // Created in the order of the form from top to bottom, which is the order
    // Tab walks.
    FPresentActionCheckBox = KeepingPlace(new QCheckBox(tr("Define as present action"), this));
    FNameEdit = new QLineEdit(this);
    FTippingValueEdit = new TFloatEdit(this);
    FColorBox = new TColorBox(this);
    FCombinationLabel = KeepingPlace(new QLabel(tr("Combination"), this));
    FCombinationComboBox = KeepingPlace(new QComboBox(this));
    FCombinationComboBox->setEditable(true);
    FCombinationComboBox->setInsertPolicy(QComboBox::NoInsert);
    FCombinationComboBox->addItems({CombinationItem, SequenceItem});
    FPredecessorLabel = KeepingPlace(new QLabel(tr("Predecessor"), this));
    FPredecessorEdit = KeepingPlace(new QLineEdit(this));
    FCombinedWithLabel = KeepingPlace(new QLabel(tr("Combined with"), this));
    FCombinedWithEdit = KeepingPlace(new QLineEdit(this));
    for (QLineEdit* IDEdit : {FPredecessorEdit, FCombinedWithEdit}) {
        IDEdit->setReadOnly(true);
        // Shown for reading, so Tab passes them by.
        IDEdit->setFocusPolicy(Qt::ClickFocus);
    }
    FInitialCostsLabel = new QLabel(tr("Initial Costs"), this);
    FInitialCostsEdit = KeepingPlace(new TFloatEdit(this));
    FTransferCostsLabel = new QLabel(tr("Transfer Costs"), this);
    FTransferCostsEdit = KeepingPlace(new TFloatEdit(this));
    FRecurrentCostsEdit = new TFloatEdit(this);
    FLeadTimeLabel = new QLabel(tr("Lead time (years)"), this);
    FLeadTimeSpinEdit = new TSpinEdit(MinLeadTime, MaxLeadTime, this);

    FOKButton = new QPushButton(tr("OK"), this);
    FCancelButton = new QPushButton(tr("Cancel"), this);
    FOKButton->setDefault(true);
    connect(FOKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(FCancelButton, &QPushButton::clicked, this, &QDialog::reject);

    // From top to bottom: the element, what it is built from, its costs.
    auto* Grid = new QGridLayout;
    Grid->setHorizontalSpacing(8);
    Grid->setVerticalSpacing(4);
    Grid->addWidget(FPresentActionCheckBox, 0, 0, 1, 4);
    Grid->addWidget(new QLabel(tr("Name"), this), 1, 0);
    Grid->addWidget(FNameEdit, 1, 1, 1, 3);
    Grid->addWidget(new QLabel(tr("Tipping Value"), this), 2, 0);
    Grid->addWidget(FTippingValueEdit, 2, 1);
    Grid->addWidget(new QLabel(tr("Color"), this), 3, 0);
    Grid->addWidget(FColorBox, 3, 1);
    Grid->addWidget(FCombinationLabel, 4, 0);
    Grid->addWidget(FCombinationComboBox, 4, 1);
    Grid->addWidget(FPredecessorLabel, 5, 0);
    Grid->addWidget(FPredecessorEdit, 5, 1);
    Grid->addWidget(FCombinedWithLabel, 5, 2);
    Grid->addWidget(FCombinedWithEdit, 5, 3);
    Grid->addWidget(FInitialCostsLabel, 6, 0);
    Grid->addWidget(FInitialCostsEdit, 6, 1);
    Grid->addWidget(FTransferCostsLabel, 7, 0);
    Grid->addWidget(FTransferCostsEdit, 7, 1);
    Grid->addWidget(new QLabel(tr("Recurrent Costs"), this), 8, 0);
    Grid->addWidget(FRecurrentCostsEdit, 8, 1);
    Grid->addWidget(FLeadTimeLabel, 9, 0);
    Grid->addWidget(FLeadTimeSpinEdit, 9, 1);
    Grid->setColumnStretch(1, 1);
    Grid->setColumnStretch(3, 1);

    auto* Buttons = new QHBoxLayout;
    Buttons->addStretch();
    Buttons->addWidget(FOKButton);
    Buttons->addWidget(FCancelButton);

    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(10, 8, 10, 8);
    Layout->addLayout(Grid);
    Layout->addStretch();
    Layout->addLayout(Buttons);
    // Taller than the first form by the lead time's row.
    setFixedSize(482, 330);

    // A dialog that nobody filled reads as a new action, not as a failure.
    for (TFloatEdit* Edit :
         {FTippingValueEdit, FInitialCostsEdit, FTransferCostsEdit, FRecurrentCostsEdit})
        Edit->setText(FloatToStrGeneral(0));
    SetCombinationType(ctNone);
    SetCombinationFirstID(-1);
    SetCombinationSecondID(-1);
}

QString TAddMeasureForm::MeasureName() const {
    return FNameEdit->text();
}
void TAddMeasureForm::SetMeasureName(const QString& Value) {
    FNameEdit->setText(Value);
}

double TAddMeasureForm::TippingValue() const {
    return ReadFloatField(FTippingValueEdit);
}
void TAddMeasureForm::SetTippingValue(double Value) {
    FTippingValueEdit->setText(FloatToStrGeneral(Value));
}

TColor TAddMeasureForm::MeasureColor() const {
    return FColorBox->Color();
}
void TAddMeasureForm::SetMeasureColor(TColor Value) {
    FColorBox->SetColor(Value);
}

TCombinationType TAddMeasureForm::CombinationType() const {
    // The text decides, not the item picked last: what the user typed over it
    // counts. Letter case does not, as when the drop-down completes a name.
    const int Item =
        FCombinationComboBox->findText(FCombinationComboBox->currentText(), Qt::MatchFixedString);
    if (Item < 0)
        return ctNone;
    return FCombinationComboBox->itemText(Item) == CombinationItem ? ctCombine : ctSequence;
}

void TAddMeasureForm::SetCombinationType(TCombinationType Value) {
    const bool IsAction = Value == ctNone;
    FCombinationLabel->setVisible(!IsAction);
    FCombinationComboBox->setVisible(!IsAction);
    FInitialCostsEdit->setVisible(IsAction);
    FTransferCostsEdit->setVisible(!IsAction);
    FCombinationComboBox->setCurrentIndex(
        Value == ctCombine    ? FCombinationComboBox->findText(CombinationItem)
        : Value == ctSequence ? FCombinationComboBox->findText(SequenceItem)
                              : -1);
}

void TAddMeasureForm::SetPresentActionEnabled(bool Value) {
    FPresentActionCheckBox->setVisible(Value);
}
bool TAddMeasureForm::PresentActionEnabled() const {
    return !FPresentActionCheckBox->isHidden();
}
bool TAddMeasureForm::PresentActionChecked() const {
    return FPresentActionCheckBox->isChecked();
}
void TAddMeasureForm::SetPresentActionChecked(bool Value) {
    FPresentActionCheckBox->setChecked(Value);
}

void TAddMeasureForm::SetCombinationFirstID(int32_t Value) {
    FCombinationFirstID = Value;
    FPredecessorEdit->setText(QString::number(Value));
    FPredecessorLabel->setVisible(Value >= 0);
    FPredecessorEdit->setVisible(Value >= 0);
}
void TAddMeasureForm::SetCombinationSecondID(int32_t Value) {
    FCombinationSecondID = Value;
    FCombinedWithEdit->setText(QString::number(Value));
    FCombinedWithLabel->setVisible(Value >= 0);
    FCombinedWithEdit->setVisible(Value >= 0);
}

double TAddMeasureForm::InitialCosts() const {
    return ReadFloatField(FInitialCostsEdit);
}
void TAddMeasureForm::SetInitialCosts(double Value) {
    FInitialCostsEdit->setText(FloatToStrGeneral(Value));
}
double TAddMeasureForm::TransferCosts() const {
    return ReadFloatField(FTransferCostsEdit);
}
void TAddMeasureForm::SetTransferCosts(double Value) {
    FTransferCostsEdit->setText(FloatToStrGeneral(Value));
}
double TAddMeasureForm::RecurrentCosts() const {
    return ReadFloatField(FRecurrentCostsEdit);
}
void TAddMeasureForm::SetRecurrentCosts(double Value) {
    FRecurrentCostsEdit->setText(FloatToStrGeneral(Value));
}

int32_t TAddMeasureForm::LeadTime() const {
    return FLeadTimeSpinEdit->Value();
}
void TAddMeasureForm::SetLeadTime(int32_t Value) {
    FLeadTimeSpinEdit->SetValue(Value);
}
void TAddMeasureForm::SetLeadTimeEnabled(bool Value) {
    FLeadTimeSpinEdit->setEnabled(Value);
}

void TAddMeasureForm::CheckValues() const {
    TippingValue();
    InitialCosts();
    TransferCosts();
    RecurrentCosts();
}

void TAddMeasureForm::accept() {
    if (RefuseFirstNonFloat(
            {FTippingValueEdit, FInitialCostsEdit, FTransferCostsEdit, FRecurrentCostsEdit}))
        return;
    QDialog::accept();
}

void TAddMeasureForm::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    FocusFirstField(FNameEdit);
}
