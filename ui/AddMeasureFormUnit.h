#pragma once

#include "base/ColorUnit.h"
#include "model/ElementsUnit.h"

#include <QDialog>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TColorBox;
class TFloatEdit;
class TSpinEdit;

// "Edit measure": one element in a form. The caller fills it through the
// properties, shows it and reads it back on OK; what is shown follows the
// element's combination type (an action or a pathway element).
class TAddMeasureForm : public QDialog {
    Q_OBJECT
public:
    explicit TAddMeasureForm(QWidget* Parent = nullptr);

    QString MeasureName() const;
    void SetMeasureName(const QString& Value);
    // Written in the general number format; reading fails on text that is no
    // number with "''%s'' is not a valid floating point value".
    double TippingValue() const;
    void SetTippingValue(double Value);
    TColor MeasureColor() const;
    void SetMeasureColor(TColor Value);
    // ctNone shows the fields of an action, the others those of a pathway
    // element. Reads ctNone when the drop-down's text names no item.
    TCombinationType CombinationType() const;
    void SetCombinationType(TCombinationType Value);
    // Shows or hides "Define as present action".
    void SetPresentActionEnabled(bool Value);
    bool PresentActionEnabled() const;
    bool PresentActionChecked() const;
    void SetPresentActionChecked(bool Value);
    // Each id is shown, with its heading, only when it is 0 or more.
    int32_t CombinationFirstID() const { return FCombinationFirstID; }
    void SetCombinationFirstID(int32_t Value);
    int32_t CombinationSecondID() const { return FCombinationSecondID; }
    void SetCombinationSecondID(int32_t Value);
    // Same conversions as TippingValue.
    double InitialCosts() const;
    void SetInitialCosts(double Value);
    double TransferCosts() const;
    void SetTransferCosts(double Value);
    double RecurrentCosts() const;
    void SetRecurrentCosts(double Value);

    // The years it takes to prepare and carry out the action, 0 to 100; a
    // pathway element shows the lead time of the action it changes to, which
    // it cannot change (SetLeadTimeEnabled(false)).
    int32_t LeadTime() const;
    void SetLeadTime(int32_t Value);
    void SetLeadTimeEnabled(bool Value);

    // Reads every number field and throws the conversion error of the first
    // that is no number, before the caller changes anything.
    void CheckValues() const;

    QCheckBox* PresentActionCheckBox() const { return FPresentActionCheckBox; }
    QLineEdit* NameEdit() const { return FNameEdit; }
    TFloatEdit* TippingValueEdit() const { return FTippingValueEdit; }
    TColorBox* ColorBox() const { return FColorBox; }
    QLabel* CombinationLabel() const { return FCombinationLabel; }
    QComboBox* CombinationComboBox() const { return FCombinationComboBox; }
    QLabel* PredecessorLabel() const { return FPredecessorLabel; }
    QLineEdit* PredecessorEdit() const { return FPredecessorEdit; }
    QLabel* CombinedWithLabel() const { return FCombinedWithLabel; }
    QLineEdit* CombinedWithEdit() const { return FCombinedWithEdit; }
    QLabel* InitialCostsLabel() const { return FInitialCostsLabel; }
    TFloatEdit* InitialCostsEdit() const { return FInitialCostsEdit; }
    QLabel* TransferCostsLabel() const { return FTransferCostsLabel; }
    TFloatEdit* TransferCostsEdit() const { return FTransferCostsEdit; }
    TFloatEdit* RecurrentCostsEdit() const { return FRecurrentCostsEdit; }
    TSpinEdit* LeadTimeSpinEdit() const { return FLeadTimeSpinEdit; }
    QPushButton* OKButton() const { return FOKButton; }
    QPushButton* CancelButton() const { return FCancelButton; }

protected:
    // OK is refused, the dialog staying open with the field selected, while
    // a number field holds no number: nothing of the element changes.
    void accept() override;
    // Each showing starts at the first field.
    void showEvent(QShowEvent* Event) override;

private:
    int32_t FCombinationFirstID = -1;
    int32_t FCombinationSecondID = -1;
    QCheckBox* FPresentActionCheckBox;
    QLineEdit* FNameEdit;
    TFloatEdit* FTippingValueEdit;
    TColorBox* FColorBox;
    QLabel* FCombinationLabel;
    QComboBox* FCombinationComboBox;
    QLabel* FPredecessorLabel;
    QLineEdit* FPredecessorEdit;
    QLabel* FCombinedWithLabel;
    QLineEdit* FCombinedWithEdit;
    QLabel* FInitialCostsLabel;
    TFloatEdit* FInitialCostsEdit;
    QLabel* FTransferCostsLabel;
    TFloatEdit* FTransferCostsEdit;
    TFloatEdit* FRecurrentCostsEdit;
    QLabel* FLeadTimeLabel;
    TSpinEdit* FLeadTimeSpinEdit;
    QPushButton* FOKButton;
    QPushButton* FCancelButton;
};
