#include "tests/support/ScriptedModal.h"

#include <QDialog>
#include <gtest/gtest.h>

TScriptedModal::TScriptedModal() {
    SetModal(this);
}

TScriptedModal::~TScriptedModal() {
    SetModal(nullptr);
}

bool TScriptedModal::AllAnswered() const {
    return FOpenFiles.empty() && FSaveFiles.empty() && FConfirms.empty() && FInputs.empty() &&
           FColors.empty() && FExecs.empty();
}

QString TScriptedModal::OpenFileName(QWidget*, const QString& Filter, const QString&) {
    OpenFilters << Filter;
    if (FOpenFiles.empty()) {
        ADD_FAILURE() << "unscripted file-open dialog";
        return QString();
    }
    QString Answer = FOpenFiles.front();
    FOpenFiles.pop_front();
    return Answer;
}

QString TScriptedModal::SaveFileName(QWidget*, const QString& Filter,
                                     const QString& DefaultExtension, bool AskOverwrite,
                                     int* SelectedFilter) {
    SaveFilters << Filter;
    SaveExtensions << DefaultExtension;
    SaveAskOverwrite << AskOverwrite;
    if (FSaveFiles.empty()) {
        ADD_FAILURE() << "unscripted file-save dialog";
        return QString();
    }
    TSaveAnswer Answer = FSaveFiles.front();
    FSaveFiles.pop_front();
    if (SelectedFilter)
        *SelectedFilter = Answer.FilterIndex;
    return Answer.Path;
}

void TScriptedModal::ShowMessage(QWidget* Parent, const QString& Text) {
    Messages << Text;
    MessageParents << Parent;
    if (FWhileBoxIsUp)
        FWhileBoxIsUp();
}

void TScriptedModal::ShowError(QWidget* Parent, const QString& Text) {
    Errors << Text;
    MessageParents << Parent;
    if (FWhileBoxIsUp)
        FWhileBoxIsUp();
}

bool TScriptedModal::Confirm(QWidget* Parent, const QString& Text) {
    Confirmations << Text;
    ConfirmParents << Parent;
    if (FConfirms.empty()) {
        ADD_FAILURE() << "unscripted confirmation: " << Text.toStdString();
        return false;
    }
    const bool Answer = FConfirms.front();
    FConfirms.pop_front();
    return Answer;
}

bool TScriptedModal::InputQuery(QWidget* Parent, const QString& Title, const QString& Prompt,
                                QString& Value) {
    InputTitles << Title;
    InputParents << Parent;
    InputPrompts << Prompt;
    InputInitialTexts << Value;
    if (FInputs.empty()) {
        ADD_FAILURE() << "unscripted input box: " << Title.toStdString();
        return false;
    }
    std::optional<QString> Answer = FInputs.front();
    FInputs.pop_front();
    if (!Answer)
        return false;
    Value = *Answer;
    return true;
}

bool TScriptedModal::ChooseColor(QWidget*, TColor& Color) {
    ++ColorRequests;
    LastColorOffered = Color;
    if (FColors.empty()) {
        ADD_FAILURE() << "unscripted colour dialog";
        return false;
    }
    std::optional<TColor> Answer = FColors.front();
    FColors.pop_front();
    if (!Answer)
        return false;
    Color = *Answer;
    return true;
}

int TScriptedModal::Exec(QDialog* Dialog) {
    ExecutedDialogs << QString::fromLatin1(Dialog->metaObject()->className());
    if (FExecs.empty()) {
        ADD_FAILURE() << "unscripted dialog: " << Dialog->metaObject()->className();
        return QDialog::Rejected;
    }
    TExecHandler Handler = std::move(FExecs.front());
    FExecs.pop_front();
    // As exec does: a reused dialog starts without the result of its last
    // showing, so an OK it refuses leaves no stale "accepted".
    Dialog->setResult(0);
    return Handler(Dialog);
}
