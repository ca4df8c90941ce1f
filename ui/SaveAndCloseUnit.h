#pragma once

#include <QDialog>
#include <functional>

class QPushButton;

// Asked when the main window closes with unsaved changes: save, save as,
// stay, or leave without saving. OK lets the window close.
class TCloseForm : public QDialog {
    Q_OBJECT
public:
    // SaveDocument writes the whole document to the path it is given.
    explicit TCloseForm(std::function<void(const QString&)> SaveDocument,
                        QWidget* Parent = nullptr);

    const QString& FileName() const { return FFileName; }
    void SetFileName(const QString& Value);
    // Asked when the window closes ("Cancel exit"), or when another document
    // is to replace this one ("Cancel").
    bool Closing() const { return FClosing; }
    void SetClosing(bool Value);

    QPushButton* SaveButton() const { return FSaveButton; }
    QPushButton* SaveAsButton() const { return FSaveAsButton; }
    QPushButton* ReturnButton() const { return FReturnButton; }
    QPushButton* ExitButton() const { return FExitButton; }

private:
    void SaveActionExecute();
    void SaveAsActionExecute();
    void ExitActionExecute();

    std::function<void(const QString&)> FSaveDocument;
    QString FFileName;
    bool FClosing = true;
    QPushButton* FSaveButton;
    QPushButton* FSaveAsButton;
    QPushButton* FReturnButton;
    QPushButton* FExitButton;
};

// The filter and extension of every .pathway file dialog.
extern const QString PathwayFileFilter;
extern const QString PathwayFileExtension;
