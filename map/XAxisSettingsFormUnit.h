#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class TFloatEdit;
class TSpinEdit;

// The tipping-point axis settings: range, caption, ticks and whether the
// axis is drawn at all. Filled by the map view before each showing.
class TXAxisSettingsForm : public QDialog {
    Q_OBJECT
public:
    explicit TXAxisSettingsForm(QWidget* Parent = nullptr);

    // Shown with two decimals; read back from the text, so a value returns
    // rounded to two decimals. Reading text that is no number fails.
    double MinTippingPoint() const;
    // The values to store on OK: a field that still shows the value it was
    // given keeps that exact value, one the user changed gives what it reads.
    double MinTippingPointKept() const;
    double MaxTippingPointKept() const;
    void SetMinTippingPoint(double Value);
    double MaxTippingPoint() const;
    void SetMaxTippingPoint(double Value);
    QString XAxixCaption() const;
    void SetXAxixCaption(const QString& Value);
    int TicksXAxis() const;
    void SetTicksXAxis(int Value);
    bool ShowXAxis() const;
    // Also enables the caption and ticks fields exactly when true.
    void SetShowXAxis(bool Value);

    TFloatEdit* MinValueEdit() const { return FMinValueEdit; }
    TFloatEdit* MaxValueEdit() const { return FMaxValueEdit; }
    QCheckBox* CheckBox1() const { return FCheckBox1; }
    QLineEdit* Edit1() const { return FEdit1; }
    TSpinEdit* TicksSpinEdit() const { return FTicksSpinEdit; }
    QPushButton* OKButton() const { return FOKButton; }
    QPushButton* CancelButton() const { return FCancelButton; }

protected:
    // OK is refused, the dialog staying open, while a field holds no number
    // or the minimum is not below the maximum: the map could not be drawn.
    void accept() override;
    // Each showing starts at the first field.
    void showEvent(QShowEvent* Event) override;

private:
    void CheckBox1Click();

    double FMinGiven = 0;
    double FMaxGiven = 0;

    TFloatEdit* FMinValueEdit;
    TFloatEdit* FMaxValueEdit;
    QCheckBox* FCheckBox1;
    QLineEdit* FEdit1;
    TSpinEdit* FTicksSpinEdit;
    QPushButton* FOKButton;
    QPushButton* FCancelButton;
};
