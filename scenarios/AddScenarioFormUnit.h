#pragma once

#include "widgets/SpinEditUnit.h"

#include <QDialog>
#include <QFont>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TFloatEdit;

// The face both scenario dialogs are laid out for: Tahoma at 8 points, or
// the nearest face the system has at that size.
QFont ScenarioDialogFont();

// A year box that steps by decades and cannot be typed into: only its arrows
// and the Up and Down keys change it, so a stray wheel turn or page key does
// not move the end of a scenario unnoticed.
class TDecadeSpinEdit : public TSpinEdit {
    Q_OBJECT
public:
    explicit TDecadeSpinEdit(QWidget* Parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* Event) override;
    void wheelEvent(QWheelEvent* Event) override;
};

// Asks for a new scenario: its name, the value it starts from in 2010, the
// year and value it reaches, and whether the years between are filled. The
// definition dialog creates it once and fills it before each showing; what
// that dialog does not set again (the last year, the check box and the last
// value) stays as the user left it.
class TAddScenarioForm : public QDialog {
    Q_OBJECT
public:
    explicit TAddScenarioForm(QWidget* Parent = nullptr);

    QString ScenarioName() const;
    void SetScenarioName(const QString& Value);
    int FirstAnchorYear() const;
    void SetFirstAnchorYear(int Value);
    int LastAnchorYear() const;
    void SetLastAnchorYear(int Value);
    // The values are shown with two decimals, more where they have them, and
    // read as typed, to six decimals. Reading a field that holds no number
    // fails with "''%s'' is not a valid floating point value".
    double FirstAnchorValue() const;
    void SetFirstAnchorValue(double Value);
    double LastAnchorValue() const;
    void SetLastAnchorValue(double Value);
    void SetEditFirstValueEnabled(bool Value);
    bool AutoInterpolate() const;

    // Enabled while the years and the values differ; a field that holds no
    // number leaves it enabled, and OK then names the field instead of
    // closing.
    QAction* OKAction() const { return FOKAction; }
    // Re-evaluates OKAction's rule; done whenever the application is idle.
    void UpdateActions();

    QLineEdit* NameEdit() const { return FNameEdit; }
    TDecadeSpinEdit* FirstYearSpinEdit() const { return FFirstYearSpinEdit; }
    TFloatEdit* FirstValueEdit() const { return FFirstValueEdit; }
    TDecadeSpinEdit* LastYearSpinEdit() const { return FLastYearSpinEdit; }
    TFloatEdit* LastValueEdit() const { return FLastValueEdit; }
    QCheckBox* AutoInterpolateCheckBox() const { return FAutoInterpolateCheckBox; }
    QPushButton* OKButton() const { return FOKButton; }
    QPushButton* CancelButton() const { return FCancelButton; }

protected:
    void showEvent(QShowEvent* Event) override;

private:
    bool OKActionEnabled() const;
    void OKActionExecute();
    void CentreOnMainWindow();

    QLabel* FNameLabel;
    QLineEdit* FNameEdit;
    QLabel* FValueLabel;
    TDecadeSpinEdit* FFirstYearSpinEdit;
    TFloatEdit* FFirstValueEdit;
    TDecadeSpinEdit* FLastYearSpinEdit;
    TFloatEdit* FLastValueEdit;
    QCheckBox* FAutoInterpolateCheckBox;
    QPushButton* FCancelButton;
    QPushButton* FOKButton;
    QAction* FOKAction;
};
