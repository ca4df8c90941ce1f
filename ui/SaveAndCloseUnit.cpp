#include "ui/SaveAndCloseUnit.h"

#include "widgets/ErrorReportUnit.h"
#include "widgets/ModalSeamUnit.h"

#include <QPushButton>

const QString PathwayFileFilter =
    QStringLiteral("pathway files [*.pathway]|*.pathway|all files [*.*]|*.*");
const QString PathwayFileExtension = QStringLiteral(".pathway");

namespace {
const int ButtonWidth = 265;
const int ButtonHeight = 57;
const int Margin = 10;
const int Gap = 6;
} // namespace

TCloseForm::TCloseForm(std::function<void(const QString&)> SaveDocument, QWidget* Parent)
    : QDialog(Parent), FSaveDocument(std::move(SaveDocument)) {
    setWindowTitle(tr("Corvinal"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
    auto MakeButton = [this](const QString& Caption, int Index) {
        auto* Button = new QPushButton(Caption, this);
        Button->setGeometry(Margin, Margin + Index * (ButtonHeight + Gap), ButtonWidth,
                            ButtonHeight);
        // Enter presses the focused button.
        Button->setAutoDefault(true);
        return Button;
    };
    FSaveButton = MakeButton(tr("Save Pathway File"), 0);
    FSaveAsButton = MakeButton(tr("Save Pathway As..."), 1);
    FReturnButton = MakeButton(tr("Cancel exit"), 2);
    FExitButton = MakeButton(tr("Exit without save"), 3);
    setFixedSize(2 * Margin + ButtonWidth, 2 * Margin + 4 * ButtonHeight + 3 * Gap);

    // A save that fails is reported here, and the question stays open.
    connect(FSaveButton, &QPushButton::clicked, this,
            [this] { Guarded([this] { SaveActionExecute(); }); });
    connect(FSaveAsButton, &QPushButton::clicked, this,
            [this] { Guarded([this] { SaveAsActionExecute(); }); });
    connect(FReturnButton, &QPushButton::clicked, this, [this] { reject(); });
    connect(FExitButton, &QPushButton::clicked, this, [this] { ExitActionExecute(); });
    SetFileName(QString());
}

void TCloseForm::SetFileName(const QString& Value) {
    FFileName = Value;
    FSaveButton->setEnabled(!FFileName.isEmpty());
    // Saving is what keeps the work: Enter saves, under the document's name
    // when it has one.
    QPushButton* First = FSaveButton->isEnabled() ? FSaveButton : FSaveAsButton;
    First->setDefault(true);
    First->setFocus();
}

void TCloseForm::SetClosing(bool Value) {
    FClosing = Value;
    FReturnButton->setText(Value ? tr("Cancel exit") : tr("Cancel"));
    FExitButton->setText(Value ? tr("Exit without save") : tr("Continue without saving"));
}

void TCloseForm::SaveActionExecute() {
    if (FFileName.isEmpty())
        return;
    // A failed write raises before accept(): the dialog stays open.
    FSaveDocument(FFileName);
    accept();
}

void TCloseForm::SaveAsActionExecute() {
    const QString Chosen =
        Modal().SaveFileName(this, PathwayFileFilter, PathwayFileExtension, true);
    if (Chosen.isEmpty())
        return;
    FSaveDocument(Chosen);
    accept();
}

void TCloseForm::ExitActionExecute() {
    if (Modal().Confirm(this, FClosing ? QStringLiteral("File not saved. All edits will be lost. "
                                                        "Continue to exit?")
                                       : QStringLiteral("File not saved. All edits will be lost. "
                                                        "Continue?")))
        accept();
}
