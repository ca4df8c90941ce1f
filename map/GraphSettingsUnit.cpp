#include "map/GraphSettingsUnit.h"

#include "map/GraphicsSettingsUnit.h"
#include "widgets/ErrorReportUnit.h"
#include "widgets/FloatEditUnit.h"
#include "widgets/KeyboardUnit.h"
#include "widgets/SpinEditUnit.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TGraphSettingsForm::TGraphSettingsForm(QWidget* Parent) : QDialog(Parent) {
    setWindowTitle(tr("GraphSettings"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);

    FLeftMarginSpinEdit = new TSpinEdit(this);
    FRightMarginSpinEdit = new TSpinEdit(this);
    FTopMarginSpinEdit = new TSpinEdit(this);
    FBottomMarginSpinEdit = new TSpinEdit(this);
    FTitlesWidthSpinEdit = new TSpinEdit(this);
    FDrawingAreaWidthSpinEdit = new TSpinEdit(this);
    FDrawingAreaHeightSpinEdit = new TSpinEdit(this);
    FDrawingAreaWidthSpinEdit->setSingleStep(100);
    FDrawingAreaHeightSpinEdit->setSingleStep(100);
    FFontSizeSpinEdit = new TSpinEdit(6, 20, this);
    FTitleEdit = new QLineEdit(this);
    FLegendCheckBox = new QCheckBox(tr("Show a legend"), this);
    // 0 leaves the spacing of the rows to the map.
    FRowSpacingSpinEdit = new TSpinEdit(0, 1000, this);
    FRowSpacingSpinEdit->setToolTip(
        tr("The least distance between the rows of the map, in pixels; 0 leaves it to the map."));

    auto* Left = new QFormLayout;
    Left->addRow(tr("LeftMargin"), FLeftMarginSpinEdit);
    Left->addRow(tr("RightMargin"), FRightMarginSpinEdit);
    Left->addRow(tr("TopMargin"), FTopMarginSpinEdit);
    Left->addRow(tr("BottomMargin"), FBottomMarginSpinEdit);
    Left->addRow(tr("TitlesWidth"), FTitlesWidthSpinEdit);
    Left->addRow(tr("FontSize"), FFontSizeSpinEdit);
    auto* Right = new QFormLayout;
    Right->addRow(tr("GraphWidth"), FDrawingAreaWidthSpinEdit);
    Right->addRow(tr("GraphHeight"), FDrawingAreaHeightSpinEdit);
    Right->addRow(tr("RowSpacing"), FRowSpacingSpinEdit);
    Right->addRow(QString(), FLegendCheckBox);

    auto* Columns = new QHBoxLayout;
    Columns->addLayout(Left);
    Columns->addSpacing(24);
    Columns->addLayout(Right);
    Columns->setAlignment(Right, Qt::AlignTop);

    FOKButton = new QPushButton(tr("OK"), this);
    FCancelButton = new QPushButton(tr("Cancel"), this);
    FOKButton->setDefault(true);
    connect(FOKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(FCancelButton, &QPushButton::clicked, this, &QDialog::reject);
    FFitButton = new QPushButton(tr("Fit to content"), this);
    FFitButton->setAutoDefault(false);
    FFitButton->setEnabled(false);
    FFitButton->setToolTip(tr("Widen the caption band to the longest caption and set the "
                              "drawing height so that the rows lie one and a half lines apart."));
    connect(FFitButton, &QPushButton::clicked, this,
            [this] { Guarded([this] { FitToContent(); }); });
    auto* Buttons = new QHBoxLayout;
    Buttons->addWidget(FFitButton);
    Buttons->addStretch();
    Buttons->addWidget(FCancelButton);
    Buttons->addWidget(FOKButton);

    // The title runs across the whole dialog, as it runs across the map.
    auto* TitleRow = new QFormLayout;
    TitleRow->addRow(tr("Title"), FTitleEdit);

    auto* Layout = new QVBoxLayout(this);
    Layout->addLayout(Columns);
    Layout->addLayout(TitleRow);
    Layout->addStretch();
    Layout->addLayout(Buttons);
    setFixedSize(482, 300);
}

int TGraphSettingsForm::LeftMargin() const {
    return FLeftMarginSpinEdit->Value();
}
void TGraphSettingsForm::SetLeftMargin(int Value) {
    FLeftMarginSpinEdit->SetValue(Value);
}
int TGraphSettingsForm::RightMargin() const {
    return FRightMarginSpinEdit->Value();
}
void TGraphSettingsForm::SetRightMargin(int Value) {
    FRightMarginSpinEdit->SetValue(Value);
}
int TGraphSettingsForm::TopMargin() const {
    return FTopMarginSpinEdit->Value();
}
void TGraphSettingsForm::SetTopMargin(int Value) {
    FTopMarginSpinEdit->SetValue(Value);
}
int TGraphSettingsForm::BottomMargin() const {
    return FBottomMarginSpinEdit->Value();
}
void TGraphSettingsForm::SetBottomMargin(int Value) {
    FBottomMarginSpinEdit->SetValue(Value);
}
int TGraphSettingsForm::TitlesAreaWidth() const {
    return FTitlesWidthSpinEdit->Value();
}
void TGraphSettingsForm::SetTitlesAreaWidth(int Value) {
    FTitlesWidthSpinEdit->SetValue(Value);
}
int TGraphSettingsForm::DrawingAreaWidth() const {
    return FDrawingAreaWidthSpinEdit->Value();
}
void TGraphSettingsForm::SetDrawingAreaWidth(int Value) {
    FDrawingAreaWidthSpinEdit->SetValue(Value);
}
int TGraphSettingsForm::DrawingAreaHeight() const {
    return FDrawingAreaHeightSpinEdit->Value();
}
void TGraphSettingsForm::SetDrawingAreaHeight(int Value) {
    FDrawingAreaHeightSpinEdit->SetValue(Value);
}
int TGraphSettingsForm::FontSize() const {
    return FFontSizeSpinEdit->Value();
}
void TGraphSettingsForm::SetFontSize(int Value) {
    FFontSizeSpinEdit->SetValue(Value);
}

QString TGraphSettingsForm::Title() const {
    return FTitleEdit->text();
}
void TGraphSettingsForm::SetTitle(const QString& Value) {
    FTitleEdit->setText(Value);
}
bool TGraphSettingsForm::Legend() const {
    return FLegendCheckBox->isChecked();
}
void TGraphSettingsForm::SetLegend(bool Value) {
    FLegendCheckBox->setChecked(Value);
}

int TGraphSettingsForm::RowSpacing() const {
    return FRowSpacingSpinEdit->Value();
}
void TGraphSettingsForm::SetRowSpacing(int Value) {
    FRowSpacingSpinEdit->SetValue(Value);
}

void TGraphSettingsForm::SetFitToContent(std::function<void()> Fit) {
    FFitToContent = std::move(Fit);
    FFitButton->setEnabled(bool(FFitToContent));
}

void TGraphSettingsForm::FitToContent() {
    if (FFitToContent)
        FFitToContent();
}

void TGraphSettingsForm::accept() {
    TGraphicsSettings Asked;
    Asked.SetLeftMargin(LeftMargin());
    Asked.SetTitlesAreaWidth(TitlesAreaWidth());
    Asked.SetTopMargin(TopMargin());
    Asked.SetBottomMargin(BottomMargin());
    Asked.SetRightMargin(RightMargin());
    Asked.SetDrawingAreaWidth(DrawingAreaWidth());
    Asked.SetDrawingAreaHeight(DrawingAreaHeight());
    Asked.SetFontSize(FontSize());
    Asked.SetTitle(Title());
    Asked.SetLegend(Legend());
    const QString Problem = Asked.DrawingAreaProblem(FAxisBandHeight);
    if (!Problem.isEmpty()) {
        RefuseField(Asked.PlotWidth() < 1 ? FDrawingAreaWidthSpinEdit : FDrawingAreaHeightSpinEdit,
                    Problem);
        return;
    }
    QDialog::accept();
}

void TGraphSettingsForm::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    FocusFirstField(FLeftMarginSpinEdit);
}
