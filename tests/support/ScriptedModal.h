#pragma once

#include "widgets/ModalSeamUnit.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

// A modal seam that answers from a script instead of asking a user. It
// installs itself for its lifetime. A modal call with no scripted answer is a
// test failure and answers as a cancel would.
class TScriptedModal : public TModalSeam {
public:
    using TExecHandler = std::function<int(QDialog*)>;

    TScriptedModal();
    ~TScriptedModal() override;

    // Scripting, consumed in order per kind. An empty text cancels a file dialog.
    void AnswerOpenFile(const QString& Path) { FOpenFiles.push_back(Path); }
    void AnswerSaveFile(const QString& Path, int FilterIndex = 0) {
        FSaveFiles.push_back({Path, FilterIndex});
    }
    void AnswerConfirm(bool Ok) { FConfirms.push_back(Ok); }
    void AnswerInput(std::optional<QString> Text) { FInputs.push_back(std::move(Text)); }
    void AnswerColor(std::optional<TColor> Color) { FColors.push_back(Color); }
    // The handler plays the user on the dialog (fills fields, clicks a button)
    // and returns the dialog's result.
    void OnExec(TExecHandler Handler) { FExecs.push_back(std::move(Handler)); }
    // Runs while each message or error box is up, where a real box's event
    // loop would repaint the windows behind it and run what is queued.
    void WhileBoxIsUp(std::function<void()> Handler) { FWhileBoxIsUp = std::move(Handler); }

    bool AllAnswered() const;

    // What the application asked or showed.
    QStringList Messages;
    QStringList Errors;
    QStringList Confirmations;
    // The windows the boxes were asked for, in the order they were asked
    // (messages and errors together).
    QList<QWidget*> MessageParents;
    QList<QWidget*> ConfirmParents;
    QList<QWidget*> InputParents;
    QStringList InputTitles;
    QStringList InputPrompts;
    QStringList InputInitialTexts;
    QStringList OpenFilters;
    QStringList SaveFilters;
    QStringList SaveExtensions;
    QList<bool> SaveAskOverwrite;
    QStringList ExecutedDialogs; // class names
    int ColorRequests = 0;
    std::optional<TColor> LastColorOffered;

    QString OpenFileName(QWidget* Parent, const QString& Filter,
                         const QString& DefaultExtension) override;
    QString SaveFileName(QWidget* Parent, const QString& Filter, const QString& DefaultExtension,
                         bool AskOverwrite, int* SelectedFilter) override;
    void ShowMessage(QWidget* Parent, const QString& Text) override;
    void ShowError(QWidget* Parent, const QString& Text) override;
    bool Confirm(QWidget* Parent, const QString& Text) override;
    bool InputQuery(QWidget* Parent, const QString& Title, const QString& Prompt,
                    QString& Value) override;
    bool ChooseColor(QWidget* Parent, TColor& Color) override;
    int Exec(QDialog* Dialog) override;

private:
    struct TSaveAnswer {
        QString Path;
        int FilterIndex;
    };
    std::deque<QString> FOpenFiles;
    std::deque<TSaveAnswer> FSaveFiles;
    std::deque<bool> FConfirms;
    std::deque<std::optional<QString>> FInputs;
    std::deque<std::optional<TColor>> FColors;
    std::deque<TExecHandler> FExecs;
    std::function<void()> FWhileBoxIsUp;
};
