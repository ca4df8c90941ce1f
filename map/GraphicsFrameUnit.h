#pragma once

#include "map/GraphicsSettingsUnit.h"

#include <QImage>
#include <QWidget>
#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class TDocumentSession;
class TElementsList;
class TGraphSettingsForm;
class TPathwayMap;
class TScenarioFrame;
class TXAxisSettingsForm;
class TXmlDoc;
class TElement;
class TMapGeometry;

// The map view: shows the map of a document session at its natural size in
// a scrolling area, picks the time column a time-based map shows, opens the
// two settings dialogs and saves the shown map as an image. The session owns
// the graph settings; the view reads them, and changes them only as steps of
// the session. It redraws whenever the session's document changes.
class TGraphicsFrame : public QWidget {
    Q_OBJECT
public:
    explicit TGraphicsFrame(QWidget* Parent = nullptr);
    ~TGraphicsFrame() override;

    // The session's settings.
    TGraphicsSettings& Settings() { return *FSettings; }
    const TGraphicsSettings& Settings() const { return *FSettings; }

    // Set once by the main window: the view shows the session's document
    // and follows its changes.
    void SetSession(TDocumentSession* Value);
    TDocumentSession* Session() const { return FSession; }
    const TElementsList* MyElementsList() const { return FMyElementsList; }
    const TScenarioFrame* MyScenarioFrame() const { return FMyScenarioFrame; }
    // The settings dialogs, created once at start-up.
    void SetSettingsForms(TXAxisSettingsForm* XAxisSettingsForm,
                          TGraphSettingsForm* GraphSettingsForm);

    // Every change of the drawing size goes through these: they resize the
    // image control too.
    int32_t DrawingAreaWidth() const { return FSettings->DrawingAreaWidth(); }
    void SetDrawingAreaWidth(int32_t Value);
    int32_t DrawingAreaHeight() const { return FSettings->DrawingAreaHeight(); }
    void SetDrawingAreaHeight(int32_t Value);
    double MaxTippingPointValue() const { return FSettings->MaxTippingPointValue(); }
    void SetMaxTippingPointValue(double Value) { FSettings->SetMaxTippingPointValue(Value); }
    double MinTippingPointValue() const { return FSettings->MinTippingPointValue(); }
    void SetMinTippingPointValue(double Value) { FSettings->SetMinTippingPointValue(Value); }
    bool GraphicsSettingIsDirty() const { return FSettings->GraphicsSettingIsDirty(); }
    void SetGraphicsSettingIsDirty(bool Value) { FSettings->SetGraphicsSettingIsDirty(Value); }

    // Draws the map anew and shows it. When the drawing fails the error goes
    // on to the caller and the previous picture stays.
    void Draw();
    // For a document just opened or made, whose map replaces another one:
    // draws it or, when it cannot be drawn, shows why in place of a picture
    // (the previous document's map must not stay). Returns the reason, empty
    // when the map was drawn.
    QString DrawOrExplain();
    // Why the view shows no map; empty while it shows one.
    QString DrawingFailure() const { return FDrawingFailure; }
    // Refills the series selector from the time columns and selects the first.
    void UpdateSeriesSelector();
    // Refills the decision points selector from the scenarios (a time-based
    // map: "on" for the time column shown) and shows the settings' choice.
    void UpdateDecisionSelector();
    // The document changed: the image takes the drawing size, the selector
    // the time columns (keeping the column shown where it still exists),
    // and the map is drawn anew; a drawing that fails is reported, the
    // previous picture staying.
    void DocumentChanged();
    // Another document: the selector anew at its first column, and the map
    // drawn or, where it cannot be, the reason shown (DrawingFailure).
    void DocumentReplaced();
    // The series position the map is drawn for: -1 when the selector is empty.
    int32_t SeriesIndex() const;

    void WriteToXML(TXmlDoc& XML) const;
    // Resets the settings (ShowXAxis kept), reads the file's, resizes the image.
    void ReadFromXML(const TXmlDoc& XML);
    // After the settings were changed behind the view's back (a document
    // read into them): the image control takes the drawing size.
    void SettingsChanged() { ResizeImage(); }

    void ComboBox1Change();
    // The user chose other decision points: one step of the session.
    void DecisionPointsComboBoxChange();
    void Panel1Resize();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();

    QComboBox* ComboBox1() const { return FComboBox1; }
    QComboBox* DecisionPointsComboBox() const { return FDecisionPointsComboBox; }
    QLabel* DecisionPointsLabel() const { return FDecisionPointsLabel; }
    QPushButton* SpeedButton1() const { return FSpeedButton1; }
    QPushButton* SpeedButton2() const { return FSpeedButton2; }
    QPushButton* SpeedButton3() const { return FSpeedButton3; }
    QScrollArea* ScrollBox1() const { return FScrollBox1; }
    QLabel* Image1() const { return FImage1; }
    // The picture as last drawn successfully.
    const QImage& ShownImage() const { return FShownImage; }

    // The map answers the pointer from its geometry, never from pixels: the
    // list indexes of the elements drawn within 3 pixels of a point of the
    // picture, topmost first, and their tooltip as rich text (the decisions
    // whose points are there, then names, tipping values and tipping years of
    // the first few elements). Where nothing is drawn, a caption the band
    // cut shows its whole text; elsewhere the tooltip is empty.
    std::vector<int32_t> ElementsAt(QPoint Point) const;
    QString ToolTipAt(QPoint Point) const;
    // A click on the picture: the topmost element there is reported.
    void ClickAt(QPoint Point);
    // The element whose line is marked with a halo over the shown picture
    // (never in the picture itself, so no export shows it); none for null.
    const TElement* HaloElement() const { return FHaloElement; }
    void SetHaloElement(const TElement* Element);
    // The shapes the halo marks, in picture pixels, as worked out when the
    // map was last drawn or the halo element was set; empty without a halo,
    // for an element no longer in the list and while no map is shown.
    std::vector<QRect> HaloRegions() const;
    // The height of the axis band of the map as it stands.
    int32_t AxisBandHeight() const;
    // The settings "Fit to content" gives for Settings (the graph settings
    // dialog's fields over the document's), for the map as it stands.
    TGraphicsSettings FittedSettings(const TGraphicsSettings& Settings) const;

Q_SIGNALS:
    // The user clicked the element at list index Index on the map.
    void ElementClicked(int Index);

private:
    void ResizeImage();
    // Takes the settings a dialog ended with OK with, as one step of the
    // session named Name, and redraws.
    void ApplySettings(const QString& Name, const TGraphicsSettings& Wanted);
    TPathwayMap* Map();
    // The layout of the map as it stands; none when the view has no list.
    std::unique_ptr<TMapGeometry> Geometry() const;
    int32_t IndexOfElement(const TElement* Element) const;
    // Works the halo's rectangles out anew from the layout as it stands.
    void UpdateHaloRegions();
    QString CaptionToolTipAt(const TMapGeometry& Layout, QPoint Point) const;
    QStringList DecisionToolTipsAt(const TMapGeometry& Layout, QPoint Point) const;
    TGraphicsSettings GraphFormSettings(const TGraphSettingsForm& Form) const;

    // Until a session is set, the view shows the defaults.
    TGraphicsSettings FNoSettings;
    TGraphicsSettings* FSettings = &FNoSettings;
    TDocumentSession* FSession = nullptr;
    const TElementsList* FMyElementsList = nullptr;
    const TScenarioFrame* FMyScenarioFrame = nullptr;
    std::unique_ptr<TPathwayMap> FMap;
    TXAxisSettingsForm* FXAxisSettingsForm = nullptr;
    TGraphSettingsForm* FGraphSettingsForm = nullptr;
    QImage FShownImage;
    QString FDrawingFailure;
    const TElement* FHaloElement = nullptr;
    // Plain rectangles, not a layout: a layout holds pointers to elements
    // that may go before the next drawing.
    std::vector<QRect> FHaloRegions;

    QWidget* FPanel1;
    QComboBox* FComboBox1;
    QLabel* FDecisionPointsLabel;
    QComboBox* FDecisionPointsComboBox;
    QPushButton* FSpeedButton1;
    QPushButton* FSpeedButton2;
    QPushButton* FSpeedButton3;
    QScrollArea* FScrollBox1;
    QLabel* FImage1;
    int FSpeedButton1Top;
    int FSpeedButton2Top;
    int FSpeedButton3Top;
};

// The save-image dialog's filter: PNG first, as the map has always been
// saved, then the vector formats.
extern const QString MapImageFilter;
