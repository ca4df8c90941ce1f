#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QPushButton;

enum TOpenActions : uint8_t { oaClose, oaOpenPathway, oaNewConditionPathway, oaNewTimePathway };

// The start dialog: the only place where a document is opened or created.
class TAboutForm : public QDialog {
    Q_OBJECT
public:
    // Arguments: the command line after the program name.
    explicit TAboutForm(const QStringList& Arguments, QWidget* Parent = nullptr);

    TOpenActions Action() const { return FAction; }
    const QString& FileName() const { return FFileName; }

    QPushButton* OpenButton() const { return FOpenButton; }
    QPushButton* OpenExistingButton() const { return FOpenExistingButton; }
    QPushButton* NewConditionButton() const { return FNewConditionButton; }
    QPushButton* NewTimeButton() const { return FNewTimeButton; }
    QPushButton* CloseButton() const { return FCloseButton; }
    QLabel* CompileDateLabel() const { return FCompileDateLabel; }

    // The text after the last path separator of the platform.
    static QString FileNamePart(const QString& Path);

    void reject() override;

private:
    void OpenClick();
    void OpenExistingClick();
    void Choose(TOpenActions Chosen);

    TOpenActions FAction = oaClose;
    QString FFileName;
    QString FArgumentFileName;
    QPushButton* FOpenButton;
    QPushButton* FOpenExistingButton;
    QPushButton* FNewConditionButton;
    QPushButton* FNewTimeButton;
    QPushButton* FCloseButton;
    QLabel* FCompileDateLabel;
};

// "About Corvinal": the start dialog's credits, version and build date,
// without its choices.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* Parent = nullptr);

    QLabel* CreditsLabel() const { return FCreditsLabel; }
    QPushButton* OKButton() const { return FOKButton; }

private:
    QLabel* FCreditsLabel;
    QPushButton* FOKButton;
};

// The build date as the user's short date format writes it.
QString CompileDateText();
// The credits of the start dialog and the about box, as rich text.
QString CreditsText();
