#include "MainUnit.h"

#include "AboutUnit.h"
#include "ModalSeamUnit.h"

#include <QLabel>

TForm2::TForm2(const QStringList& Arguments, QWidget* Parent) : QMainWindow(Parent) {
    setWindowTitle(QStringLiteral("Corvinal"));
    resize(800, 542);
    FormCreate(Arguments);
}

TForm2::~TForm2() = default;

void TForm2::FormCreate(const QStringList& Arguments) {
    FMyElementsList = std::make_unique<TElementsList>();
    FMyElementsList->SetCurrentElementID(-1);

    TOpenActions Action;
    QString FileName;
    {
        TAboutForm About(Arguments, this);
        Modal().Exec(&About);
        Action = About.Action();
        FileName = About.FileName();
    }

    switch (Action) {
    case oaClose:
        FStartCancelled = true;
        break;
    case oaOpenPathway:
        break;
    case oaNewConditionPathway:
        NewPathway(ptConditionBased);
        break;
    case oaNewTimePathway:
        NewPathway(ptTimeBased);
        break;
    }
    FElementListIsDirty = false;

    auto* Placeholder = new QLabel(this);
    setCentralWidget(Placeholder);
}

void TForm2::NewPathway(TPathwayType PathwayType) {
    FMyElementsList->SetPathwayType(PathwayType);
    FMyElementsList->SetTippingTimeValuesCount(1);
    TElement* Start = FMyElementsList->AddSimpleElement(QStringLiteral("Current Situation"),
                                                        RGBToColor(128, 128, 128), 10, 0, 1);
    FMyElementsList->SetCurrentElementID(Start->ID());
}

void TForm2::SetPathwayFileName(const QString& Value) { FPathwayFileName = Value; }

void TForm2::CreateDialogs() {}
