#pragma once

#include "model/ElementsUnit.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

// "Define pathway": picks the element a new pathway element continues from
// (its predecessor) and the one it leads to or adds, and how the two are
// joined. Pairs that make no pathway (an element with itself, anything with
// the current situation) cannot be confirmed.
class TAddCombinationForm : public QDialog {
    Q_OBJECT
public:
    explicit TAddCombinationForm(QWidget* Parent = nullptr);

    TElementsList* MyElementsList() const { return FMyElementsList; }
    // Also does what the dialog does on show: empties both lists, fills them from
    // Value in list order (nothing when Value is null), selects the first item in
    // both, checks the choice. The caller sets it before every showing, so the
    // dialog is ready whether it is shown or driven by a test script.
    void SetMyElementsList(TElementsList* Value);

    // The elements at the selected positions of the two lists; null when none
    // is selected.
    TElement* FirstElement() const;
    TElement* SecondElement() const;
    // ctCombine for "Combine", else ctSequence. The choice is kept from one
    // showing to the next.
    TCombinationType Combination() const;

    QListWidget* FirstListBox() const { return FFirstListBox; }
    QListWidget* SecondListBox() const { return FSecondListBox; }
    QComboBox* MethodComboBox() const { return FMethodComboBox; }
    QLabel* NotAllowedLabel() const { return FNotAllowedLabel; }
    QLabel* ReasonLabel() const { return FReasonLabel; }
    QPushButton* OKButton() const { return FOKButton; }
    QPushButton* CancelButton() const { return FCancelButton; }

    // Height of a list item in pixels.
    static constexpr int ItemHeight = 20;

protected:
    // Each showing starts at the first field.
    void showEvent(QShowEvent* Event) override;

private:
    TElement* ElementAt(const QListWidget* ListBox) const;
    void CheckChoice();

    TElementsList* FMyElementsList = nullptr;
    QListWidget* FFirstListBox;
    QListWidget* FSecondListBox;
    QComboBox* FMethodComboBox;
    QLabel* FNotAllowedLabel;
    QLabel* FReasonLabel;
    QPushButton* FOKButton;
    QPushButton* FCancelButton;
};
