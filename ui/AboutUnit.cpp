#include "ui/AboutUnit.h"

#include "ui/VersionUnit.h"
#include "widgets/ModalSeamUnit.h"

#include <QBoxLayout>
#include <QDate>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

namespace {

const int ButtonWidth = 265;
const int ButtonHeight = 57;
const int Margin = 10;
const int Gap = 6;
const int CreditsWidth = 320;

const QString PathwayFilter =
    QStringLiteral("pathway files [*.pathway]|*.pathway|all files [*.*]|*.*");

} // namespace

QString CompileDateText() {
    const QDate Date = QDate::fromString(QStringLiteral(CORVINAL_BUILD_DATE), Qt::ISODate);
    return QLocale::system().toString(Date, QLocale::ShortFormat);
}

QString CreditsText() {
    return QStringLiteral(
               "<h2>Corvinal %1</h2>"
               "<p>Adaptation pathways maps for planning under deep uncertainty.</p>"
               "<p>List the actions you could take, each with its tipping point, chain them "
               "into pathways and read off, per scenario, when each action stops being "
               "enough.</p>"
               "<p>Open a <i>.pathway</i> file or start an empty pathway: condition based, "
               "with scenarios for the driving condition, or time based, with a tipping "
               "time per scenario.</p>")
        .arg(QStringLiteral(CORVINAL_VERSION));
}

QString TAboutForm::FileNamePart(const QString& Path) {
#ifdef Q_OS_WIN
    const int Last =
        std::max({Path.lastIndexOf(QLatin1Char('\\')), Path.lastIndexOf(QLatin1Char('/')),
                  Path.lastIndexOf(QLatin1Char(':'))});
#else
    const int Last = Path.lastIndexOf(QLatin1Char('/'));
#endif
    return Path.mid(Last + 1);
}

TAboutForm::TAboutForm(const QStringList& Arguments, QWidget* Parent) : QDialog(Parent) {
    setWindowTitle(tr("Corvinal"));
    // No title-bar buttons: the dialog is left through its buttons.
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
    FOpenButton = MakeButton(tr("Open"), 0);
    FOpenExistingButton = MakeButton(tr("Open existing Pathway file"), 1);
    FNewConditionButton = MakeButton(tr("Start with empty Pathway (Condition based)"), 2);
    FNewTimeButton = MakeButton(tr("Start with empty Pathway (Time based)"), 3);
    FCloseButton = MakeButton(tr("Close application"), 4);
    FOpenButton->setEnabled(false);

    const int ButtonsBottom = Margin + 5 * ButtonHeight + 4 * Gap;
    const int ClientWidth = Margin + ButtonWidth + 2 * Margin + CreditsWidth + Margin;
    const int ClientHeight = ButtonsBottom + Margin + 24 + Margin;

    auto* Credits = new QLabel(this);
    Credits->setGeometry(Margin + ButtonWidth + 2 * Margin, Margin, CreditsWidth,
                         ButtonsBottom - Margin);
    Credits->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    Credits->setWordWrap(true);
    Credits->setTextFormat(Qt::RichText);
    Credits->setText(CreditsText());

    FCompileDateLabel = new QLabel(tr("Compile date %1").arg(CompileDateText()), this);
    FCompileDateLabel->setGeometry(Margin, ButtonsBottom + Margin, ButtonWidth + CreditsWidth, 24);

    setFixedSize(ClientWidth, ClientHeight);

    if (!Arguments.isEmpty()) {
        FArgumentFileName = Arguments.first();
        FOpenButton->setText(tr("Open %1").arg(FileNamePart(FArgumentFileName)));
        FOpenButton->setEnabled(true);
    }
    // The file named on the command line is what the user came for: Enter
    // opens it. Otherwise Enter asks for a file to open.
    QPushButton* First = FOpenButton->isEnabled() ? FOpenButton : FOpenExistingButton;
    First->setDefault(true);
    First->setFocus();

    connect(FOpenButton, &QPushButton::clicked, this, [this] { OpenClick(); });
    connect(FOpenExistingButton, &QPushButton::clicked, this, [this] { OpenExistingClick(); });
    connect(FNewConditionButton, &QPushButton::clicked, this,
            [this] { Choose(oaNewConditionPathway); });
    connect(FNewTimeButton, &QPushButton::clicked, this, [this] { Choose(oaNewTimePathway); });
    connect(FCloseButton, &QPushButton::clicked, this, [this] { Choose(oaClose); });
}

void TAboutForm::Choose(TOpenActions Chosen) {
    FAction = Chosen;
    accept();
}

void TAboutForm::OpenClick() {
    FFileName = FArgumentFileName;
    Choose(oaOpenPathway);
}

void TAboutForm::OpenExistingClick() {
    FAction = oaOpenPathway;
    const QString Chosen = Modal().OpenFileName(this, PathwayFilter, QStringLiteral(".pathway"));
    if (Chosen.isEmpty())
        return;
    FFileName = QFileInfo(Chosen).absoluteFilePath();
    accept();
}

void TAboutForm::reject() {
    // Leaving the dialog other than by its buttons (Escape, the window
    // manager) always quits, even after a cancelled file choice.
    FAction = oaClose;
    QDialog::reject();
}

TAboutBox::TAboutBox(QWidget* Parent) : QDialog(Parent) {
    setWindowTitle(tr("About Corvinal"));
    FCreditsLabel = new QLabel(CreditsText(), this);
    FCreditsLabel->setTextFormat(Qt::RichText);
    FCreditsLabel->setWordWrap(true);
    FCreditsLabel->setFixedWidth(CreditsWidth);
    auto* Date = new QLabel(tr("Compile date %1").arg(CompileDateText()), this);
    FOKButton = new QPushButton(tr("OK"), this);
    FOKButton->setDefault(true);
    connect(FOKButton, &QPushButton::clicked, this, &QDialog::accept);
    auto* Buttons = new QHBoxLayout;
    Buttons->addStretch();
    Buttons->addWidget(FOKButton);
    auto* Layout = new QVBoxLayout(this);
    Layout->addWidget(FCreditsLabel);
    Layout->addWidget(Date);
    Layout->addLayout(Buttons);
    Layout->setSizeConstraint(QLayout::SetFixedSize);
}
