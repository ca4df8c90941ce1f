#pragma once

#include "base/ColorUnit.h"

#include <QString>

class QDialog;
class QWidget;

// Every modal interaction of the application (file dialogs, message,
// confirmation and input boxes, colour choice and each dialog's exec) goes
// through this one interface, so that tests can script the user's answers
// and run every command headless. The boxes stand in the middle of the main
// window, whichever window asks them.
class TModalSeam {
public:
    virtual ~TModalSeam() = default;

    // Filters are given as "description|pattern|description|pattern".
    // Both return the chosen full path, or an empty text on cancel.
    virtual QString OpenFileName(QWidget* Parent, const QString& Filter,
                                 const QString& DefaultExtension) = 0;
    // SelectedFilter, when given, receives the index of the filter entry chosen.
    virtual QString SaveFileName(QWidget* Parent, const QString& Filter,
                                 const QString& DefaultExtension, bool AskOverwrite,
                                 int* SelectedFilter = nullptr) = 0;
    // A plain message box with an OK button.
    virtual void ShowMessage(QWidget* Parent, const QString& Text) = 0;
    // The general error report.
    virtual void ShowError(QWidget* Parent, const QString& Text) = 0;
    // A question with OK and Cancel; true for OK.
    virtual bool Confirm(QWidget* Parent, const QString& Text) = 0;
    // An input box; Value holds the initial text and receives the result on OK.
    virtual bool InputQuery(QWidget* Parent, const QString& Title, const QString& Prompt,
                            QString& Value) = 0;
    // The system's colour-choice dialog; Color is preselected and receives the choice.
    virtual bool ChooseColor(QWidget* Parent, TColor& Color) = 0;
    // Shows a dialog modally and returns its result (QDialog::Accepted or Rejected).
    virtual int Exec(QDialog* Dialog) = 0;
};

// The seam in force; the real dialogs unless a test installed another one.
TModalSeam& Modal();
// Installs a seam (not owned); nullptr restores the real dialogs.
void SetModal(TModalSeam* Seam);

// "pathway files [*.pathway]|*.pathway|all files [*.*]|*.*" in the form the
// toolkit's file dialogs take: "pathway files (*.pathway)", each pattern shown
// once.
QStringList FilterToNameFilters(const QString& Filter);
