#include "ui/TimeColumnSettingsUnit.h"

#include "widgets/KeyboardUnit.h"
#include "widgets/SpinEditUnit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TTimeColumnSettingsForm::TTimeColumnSettingsForm(QWidget* Parent) : QDialog(Parent) {
    setWindowTitle(tr("TimeColumnSettingsForm"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);

    FNameEdit = new QLineEdit(this);
    FNameEdit->setFixedWidth(440);
    FWidthSpinEdit = new TSpinEdit(MinColumnWidth, MaxColumnWidth, this);
    FDeleteButton = new QPushButton(tr("Delete this Time Column"), this);
    FDeleteButton->setEnabled(false);
    FDeleteButton->setAutoDefault(false);
    FCancelButton = new QPushButton(tr("Cancel"), this);
    FOKButton = new QPushButton(tr("OK"), this);
    FOKButton->setDefault(true);
    connect(FOKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(FCancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* NameLabel = new QLabel(tr("Name of time column"), this);
    NameLabel->setBuddy(FNameEdit);
    auto* WidthLabel = new QLabel(tr("Column Width"), this);
    WidthLabel->setBuddy(FWidthSpinEdit);

    auto* Width = new QHBoxLayout;
    Width->addWidget(FWidthSpinEdit);
    Width->addStretch();

    auto* Buttons = new QHBoxLayout;
    Buttons->addWidget(FDeleteButton);
    Buttons->addStretch();
    Buttons->addWidget(FCancelButton);
    Buttons->addWidget(FOKButton);

    auto* Layout = new QVBoxLayout(this);
    Layout->addWidget(NameLabel);
    Layout->addWidget(FNameEdit);
    Layout->addSpacing(8);
    Layout->addWidget(WidthLabel);
    Layout->addLayout(Width);
    Layout->addStretch();
    Layout->addLayout(Buttons);
    setFixedSize(482, 225);

    connect(FNameEdit, &QLineEdit::textChanged, this, [this] { NameEditChange(); });
    SetColumnWidth(MinColumnWidth);
    NameEditChange();
}

QString TTimeColumnSettingsForm::ColumnName() const {
    return FNameEdit->text();
}

void TTimeColumnSettingsForm::SetColumnName(const QString& Value) {
    FNameEdit->setText(Value);
    // setText reports no change when the text stays the same.
    NameEditChange();
}

int32_t TTimeColumnSettingsForm::ColumnWidth() const {
    return FWidthSpinEdit->Value();
}

void TTimeColumnSettingsForm::SetColumnWidth(int32_t Value) {
    FWidthSpinEdit->SetValue(Value);
}

void TTimeColumnSettingsForm::NameEditChange() {
    FOKButton->setEnabled(!FNameEdit->text().trimmed().isEmpty());
}

void TTimeColumnSettingsForm::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    FocusFirstField(FNameEdit);
}
