#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class TSpinEdit;

// The graph settings: margins, titles width, drawing size, row spacing, font
// size, title and legend; "Fit to content" fills the fields with what the
// map view works out for the map.
class TGraphSettingsForm : public QDialog {
    Q_OBJECT
public:
    explicit TGraphSettingsForm(QWidget* Parent = nullptr);

    int LeftMargin() const;
    void SetLeftMargin(int Value);
    int RightMargin() const;
    void SetRightMargin(int Value);
    int TopMargin() const;
    void SetTopMargin(int Value);
    int BottomMargin() const;
    void SetBottomMargin(int Value);
    int TitlesAreaWidth() const;
    void SetTitlesAreaWidth(int Value);
    int DrawingAreaWidth() const;
    void SetDrawingAreaWidth(int Value);
    int DrawingAreaHeight() const;
    void SetDrawingAreaHeight(int Value);
    int FontSize() const;
    void SetFontSize(int Value);
    QString Title() const;
    void SetTitle(const QString& Value);
    bool Legend() const;
    void SetLegend(bool Value);
    int RowSpacing() const;
    void SetRowSpacing(int Value);
    // What "Fit to content" does: set by the map view, which knows the map,
    // before each showing; it reads the fields and fills them anew. The
    // button is disabled without one.
    void SetFitToContent(std::function<void()> Fit);
    void FitToContent();
    // The height of the axis band below the plot, which the drawing area
    // must hold besides the margins; set by the map view before each showing.
    int AxisBandHeight() const { return FAxisBandHeight; }
    void SetAxisBandHeight(int Value) { FAxisBandHeight = Value; }

    TSpinEdit* LeftMarginSpinEdit() const { return FLeftMarginSpinEdit; }
    TSpinEdit* RightMarginSpinEdit() const { return FRightMarginSpinEdit; }
    TSpinEdit* TopMarginSpinEdit() const { return FTopMarginSpinEdit; }
    TSpinEdit* BottomMarginSpinEdit() const { return FBottomMarginSpinEdit; }
    TSpinEdit* TitlesWidthSpinEdit() const { return FTitlesWidthSpinEdit; }
    TSpinEdit* DrawingAreaWidthSpinEdit() const { return FDrawingAreaWidthSpinEdit; }
    TSpinEdit* DrawingAreaHeightSpinEdit() const { return FDrawingAreaHeightSpinEdit; }
    TSpinEdit* FontSizeSpinEdit() const { return FFontSizeSpinEdit; }
    QLineEdit* TitleEdit() const { return FTitleEdit; }
    QCheckBox* LegendCheckBox() const { return FLegendCheckBox; }
    TSpinEdit* RowSpacingSpinEdit() const { return FRowSpacingSpinEdit; }
    QPushButton* FitButton() const { return FFitButton; }
    QPushButton* OKButton() const { return FOKButton; }
    QPushButton* CancelButton() const { return FCancelButton; }

protected:
    // OK is refused, the dialog staying open, while the drawing area cannot
    // hold the margins, the caption band, the axes and a pixel of plot.
    void accept() override;
    // Each showing starts at the first field.
    void showEvent(QShowEvent* Event) override;

private:
    int FAxisBandHeight = 0;
    TSpinEdit* FLeftMarginSpinEdit;
    TSpinEdit* FRightMarginSpinEdit;
    TSpinEdit* FTopMarginSpinEdit;
    TSpinEdit* FBottomMarginSpinEdit;
    TSpinEdit* FTitlesWidthSpinEdit;
    TSpinEdit* FDrawingAreaWidthSpinEdit;
    TSpinEdit* FDrawingAreaHeightSpinEdit;
    TSpinEdit* FFontSizeSpinEdit;
    QLineEdit* FTitleEdit;
    QCheckBox* FLegendCheckBox;
    TSpinEdit* FRowSpacingSpinEdit;
    QPushButton* FFitButton;
    std::function<void()> FFitToContent;
    QPushButton* FOKButton;
    QPushButton* FCancelButton;
};
