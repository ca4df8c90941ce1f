#pragma once

#include <QDialog>
#include <cstdint>

class QLineEdit;
class QPushButton;
class TSpinEdit;

// The name and the width of one time column of the actions grid. A column
// cannot be deleted; its button only says so by staying disabled.
class TTimeColumnSettingsForm : public QDialog {
    Q_OBJECT
public:
    explicit TTimeColumnSettingsForm(QWidget* Parent = nullptr);

    QString ColumnName() const;
    void SetColumnName(const QString& Value);
    // Kept within MinColumnWidth .. MaxColumnWidth: a column of no width could
    // never be found again to widen it.
    int32_t ColumnWidth() const;
    void SetColumnWidth(int32_t Value);
    static constexpr int32_t MinColumnWidth = 20, MaxColumnWidth = 2000;

    QLineEdit* NameEdit() const { return FNameEdit; }
    TSpinEdit* WidthSpinEdit() const { return FWidthSpinEdit; }
    QPushButton* DeleteButton() const { return FDeleteButton; }
    QPushButton* OKButton() const { return FOKButton; }
    QPushButton* CancelButton() const { return FCancelButton; }

protected:
    // Each showing starts at the first field.
    void showEvent(QShowEvent* Event) override;

private:
    void NameEditChange();

    QLineEdit* FNameEdit;
    TSpinEdit* FWidthSpinEdit;
    QPushButton* FDeleteButton;
    QPushButton* FOKButton;
    QPushButton* FCancelButton;
};
