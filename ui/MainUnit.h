#pragma once

#include "ElementsUnit.h"

#include <QMainWindow>
#include <QStringList>
#include <memory>

// The main window: owns the document (the elements list) for the whole run.
class TForm2 : public QMainWindow {
    Q_OBJECT
public:
    // Arguments: the command line after the program name. Construction shows
    // the start dialog and opens or creates the document before it returns.
    explicit TForm2(const QStringList& Arguments, QWidget* Parent = nullptr);
    ~TForm2() override;

    // The start dialog chose to quit: the window must not be shown.
    bool StartCancelled() const { return FStartCancelled; }

    TElementsList* MyElementsList() const { return FMyElementsList.get(); }
    int32_t ActionCount() const { return FMyElementsList->Count(); }

    const QString& PathwayFileName() const { return FPathwayFileName; }
    void SetPathwayFileName(const QString& Value);
    bool ElementsListIsDirty() const { return FElementListIsDirty; }
    void SetElementsListIsDirty(bool Value) { FElementListIsDirty = Value; }

    void NewPathway(TPathwayType PathwayType);
    // Creates the dialogs the commands use, once, after construction.
    void CreateDialogs();

private:
    void FormCreate(const QStringList& Arguments);

    QString FPathwayFileName;
    bool FElementListIsDirty = false;
    std::unique_ptr<TElementsList> FMyElementsList;
    bool FStartCancelled = false;
};
