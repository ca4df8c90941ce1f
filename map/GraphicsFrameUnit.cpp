#include "map/GraphicsFrameUnit.h"

#include "base/ErrorUnit.h"
#include "base/NumberFormatUnit.h"
#include "document/DecisionsUnit.h"
#include "document/DocumentSessionUnit.h"
#include "map/CanvasUnit.h"
#include "map/GraphSettingsUnit.h"
#include "map/MapExportUnit.h"
#include "map/MapFitUnit.h"
#include "map/MapGeometryUnit.h"
#include "map/MapHitTestUnit.h"
#include "map/PathwayMapUnit.h"
#include "map/XAxisSettingsFormUnit.h"
#include "model/ElementsUnit.h"
#include "scenarios/ScenarioFrameUnit.h"
#include "scenarios/TippingYearUnit.h"
#include "widgets/ErrorReportUnit.h"
#include "widgets/FloatEditUnit.h"
#include "widgets/ModalSeamUnit.h"
#include "widgets/SpinEditUnit.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QToolTip>
#include <algorithm>
#include <cmath>

const QString MapImageFilter =
    QStringLiteral("png files [*.png]|*.png|all files [*.*]|*.*|svg files [*.svg]|*.svg|"
                   "pdf files [*.pdf]|*.pdf");

namespace {

const int PanelWidth = 144;
const int ButtonWidth = 113;
const int ButtonHeight = 35;
const int ButtonTops[] = {8, 79, 142};
const int SelectorRoom = 44;
// The decision points selector stands this far below the last button.
const int DecisionSelectorGap = 14;
// Where more elements meet under the pointer, the tooltip counts the rest.
const size_t MaxToolTipElements = 5;

// Keeps the buttons at their places whenever the panel is resized.
class TResizeWatcher : public QObject {
public:
    TResizeWatcher(QObject* Parent, std::function<void()> OnResize)
        : QObject(Parent), FOnResize(std::move(OnResize)) {}
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (Event->type() == QEvent::Resize)
            FOnResize();
        return QObject::eventFilter(Watched, Event);
    }

private:
    std::function<void()> FOnResize;
};

// The picture of the map. It shows the map's tooltips, reports clicks and
// paints the halo of the selected element over the picture.
class TMapImage : public QLabel {
public:
    explicit TMapImage(TGraphicsFrame* Frame) : FFrame(Frame) { setMouseTracking(true); }

protected:
    bool event(QEvent* Event) override {
        if (Event->type() == QEvent::ToolTip) {
            const auto* Help = static_cast<QHelpEvent*>(Event);
            const QString Text = FFrame->ToolTipAt(Help->pos());
            if (Text.isEmpty())
                QToolTip::hideText();
            else
                QToolTip::showText(Help->globalPos(), Text, this);
            return true;
        }
        return QLabel::event(Event);
    }
    void mousePressEvent(QMouseEvent* Event) override {
        FPressed = Event->button() == Qt::LeftButton ? Event->position().toPoint() : QPoint(-1, -1);
        QLabel::mousePressEvent(Event);
    }
    void mouseReleaseEvent(QMouseEvent* Event) override {
        QLabel::mouseReleaseEvent(Event);
        const QPoint At = Event->position().toPoint();
        if (Event->button() == Qt::LeftButton && (At - FPressed).manhattanLength() <= 3)
            FFrame->ClickAt(At);
    }
    void paintEvent(QPaintEvent* Event) override {
        QLabel::paintEvent(Event);
        const std::vector<QRect> Regions = FFrame->HaloRegions();
        if (Regions.empty())
            return;
        QPainter Painter(this);
        QColor Halo = palette().color(QPalette::Highlight);
        Halo.setAlpha(70);
        for (const QRect& Region : Regions)
            Painter.fillRect(Region, Halo);
    }

private:
    TGraphicsFrame* FFrame;
    QPoint FPressed{-1, -1};
};

} // namespace

TGraphicsFrame::TGraphicsFrame(QWidget* Parent) : QWidget(Parent) {
    FPanel1 = new QWidget(this);
    FPanel1->setFixedWidth(PanelWidth);
    FComboBox1 = new QComboBox(FPanel1);
    FComboBox1->setEditable(false);
    FComboBox1->setGeometry(6, 8, 131, FComboBox1->sizeHint().height());
    FComboBox1->setVisible(false);
    FSpeedButton1 = new QPushButton(tr("X-Axis settings"), FPanel1);
    FSpeedButton2 = new QPushButton(tr("Graph Settings"), FPanel1);
    FSpeedButton3 = new QPushButton(tr("Save Image"), FPanel1);
    FSpeedButton1->setGeometry(15, ButtonTops[0], ButtonWidth, ButtonHeight);
    FSpeedButton2->setGeometry(16, ButtonTops[1], ButtonWidth, ButtonHeight);
    FSpeedButton3->setGeometry(16, ButtonTops[2], ButtonWidth, ButtonHeight);
    FSpeedButton1Top = FSpeedButton1->y();
    FSpeedButton2Top = FSpeedButton2->y();
    FSpeedButton3Top = FSpeedButton3->y();
    // The label names the choice, so that the narrow box can show the
    // scenario's name.
    FDecisionPointsLabel = new QLabel(tr("&Decision points:"), FPanel1);
    FDecisionPointsComboBox = new QComboBox(FPanel1);
    FDecisionPointsLabel->setBuddy(FDecisionPointsComboBox);
    FDecisionPointsComboBox->setEditable(false);
    FDecisionPointsComboBox->setToolTip(tr("Mark on the map when the next action must be decided "
                                           "on, under one scenario."));
    FDecisionPointsComboBox->addItem(tr("none"));
    FPanel1->installEventFilter(new TResizeWatcher(this, [this] { Panel1Resize(); }));

    FScrollBox1 = new QScrollArea(this);
    FScrollBox1->setBackgroundRole(QPalette::Dark);
    FImage1 = new TMapImage(this);
    FImage1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FImage1->setAutoFillBackground(true);
    FImage1->setBackgroundRole(QPalette::Base);
    FScrollBox1->setWidget(FImage1);
    FScrollBox1->setWidgetResizable(false);

    auto* Layout = new QHBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->setSpacing(0);
    Layout->addWidget(FScrollBox1, 1);
    Layout->addWidget(FPanel1);

    ResizeImage();

    connect(FComboBox1, qOverload<int>(&QComboBox::activated), this,
            [this] { Guarded([this] { ComboBox1Change(); }); });
    connect(FDecisionPointsComboBox, qOverload<int>(&QComboBox::activated), this,
            [this] { Guarded([this] { DecisionPointsComboBoxChange(); }); });
    // The buttons are commands: what fails in them is reported there.
    connect(FSpeedButton1, &QPushButton::clicked, this,
            [this] { Guarded([this] { SpeedButton1Click(); }); });
    connect(FSpeedButton2, &QPushButton::clicked, this,
            [this] { Guarded([this] { SpeedButton2Click(); }); });
    connect(FSpeedButton3, &QPushButton::clicked, this,
            [this] { Guarded([this] { SpeedButton3Click(); }); });
}

TGraphicsFrame::~TGraphicsFrame() = default;

void TGraphicsFrame::SetSession(TDocumentSession* Value) {
    if (FSession)
        FSession->disconnect(this);
    FSession = Value;
    FMyElementsList = Value ? &Value->Elements() : nullptr;
    FMyScenarioFrame = Value ? &Value->Scenarios() : nullptr;
    FSettings = Value ? &Value->Settings() : &FNoSettings;
    FMap.reset();
    if (Value) {
        connect(Value, &TDocumentSession::Changed, this,
                [this] { Guarded([this] { DocumentChanged(); }); });
        connect(Value, &TDocumentSession::Replaced, this,
                [this] { Guarded([this] { DocumentReplaced(); }); });
    }
    ResizeImage();
}

void TGraphicsFrame::DocumentReplaced() {
    ResizeImage();
    UpdateSeriesSelector();
    UpdateDecisionSelector();
    DrawOrExplain();
}

void TGraphicsFrame::DocumentChanged() {
    ResizeImage();
    // The selector follows the time columns, still showing the column it
    // showed where that exists.
    QStringList Captions;
    const bool TimeBased = FMyElementsList && FMyElementsList->PathwayType() == ptTimeBased;
    for (int32_t I = 0; TimeBased && I < FMyElementsList->TippingTimeValuesCount(); ++I)
        Captions << FMyElementsList->TippingTimeColumnCaption(I);
    QStringList Shown;
    for (int I = 0; I < FComboBox1->count(); ++I)
        Shown << FComboBox1->itemText(I);
    if (Captions != Shown || FComboBox1->isVisibleTo(FPanel1) != TimeBased) {
        const int32_t Series = SeriesIndex();
        UpdateSeriesSelector();
        if (Series >= 0 && Series < FComboBox1->count())
            FComboBox1->setCurrentIndex(Series);
    }
    UpdateDecisionSelector();
    Guarded([this] { Draw(); });
}

void TGraphicsFrame::SetSettingsForms(TXAxisSettingsForm* XAxisSettingsForm,
                                      TGraphSettingsForm* GraphSettingsForm) {
    FXAxisSettingsForm = XAxisSettingsForm;
    FGraphSettingsForm = GraphSettingsForm;
}

TPathwayMap* TGraphicsFrame::Map() {
    if (!FMap && FMyElementsList && FMyScenarioFrame)
        FMap = std::make_unique<TPathwayMap>(*FSettings, *FMyElementsList, *FMyScenarioFrame);
    return FMap.get();
}

void TGraphicsFrame::SetDrawingAreaWidth(int32_t Value) {
    FSettings->SetDrawingAreaWidth(Value);
    ResizeImage();
}

void TGraphicsFrame::SetDrawingAreaHeight(int32_t Value) {
    FSettings->SetDrawingAreaHeight(Value);
    ResizeImage();
}

void TGraphicsFrame::ResizeImage() {
    // A widget cannot be negative or larger than the toolkit allows; the map
    // itself refuses such sizes with a message when it is drawn.
    const int Limit = QWIDGETSIZE_MAX;
    FImage1->setFixedSize(qBound(0, FSettings->DrawingAreaWidth(), Limit),
                          qBound(0, FSettings->DrawingAreaHeight(), Limit));
    FImage1->update();
}

int32_t TGraphicsFrame::SeriesIndex() const {
    return FComboBox1->currentIndex();
}

void TGraphicsFrame::Draw() {
    TPathwayMap* PathwayMap = Map();
    if (!PathwayMap)
        return;
    QImage Bitmap;
    try {
        PathwayMap->SetDecisionPoints(MapDecisionPoints(
            *FMyElementsList, *FMyScenarioFrame, FSettings->DecisionPoints(), SeriesIndex()));
        PathwayMap->DrawPathwayOnBitmap(Bitmap, SeriesIndex());
    } catch (const std::exception& E) {
        // The previous picture stays, but its elements are no longer where
        // the model would put them: the pointer finds none until a drawing
        // succeeds.
        FDrawingFailure = ErrorText(E);
        FHaloRegions.clear();
        FImage1->update();
        throw;
    }
    FShownImage = Bitmap;
    FDrawingFailure.clear();
    UpdateHaloRegions();
    FImage1->setPixmap(QPixmap::fromImage(FShownImage));
}

QString TGraphicsFrame::DrawOrExplain() {
    try {
        Draw();
        return QString();
    } catch (const std::exception&) {
    }
    FShownImage = QImage();
    FImage1->setPixmap(QPixmap());
    FImage1->setWordWrap(true);
    FImage1->setMargin(12);
    FImage1->setText(tr("The map cannot be drawn.\n\n%1").arg(FDrawingFailure));
    return FDrawingFailure;
}

void TGraphicsFrame::UpdateSeriesSelector() {
    FComboBox1->clear();
    if (!FMyElementsList)
        return;
    const bool TimeBased = FMyElementsList->PathwayType() == ptTimeBased;
    FComboBox1->setVisible(TimeBased);
    // The selector stands where the first button does: while it is shown,
    // the buttons make room for it.
    const int Shift = TimeBased ? SelectorRoom : 0;
    FSpeedButton1Top = ButtonTops[0] + Shift;
    FSpeedButton2Top = ButtonTops[1] + Shift;
    FSpeedButton3Top = ButtonTops[2] + Shift;
    Panel1Resize();
    const int LabelTop = FSpeedButton3Top + ButtonHeight + DecisionSelectorGap;
    FDecisionPointsLabel->setGeometry(6, LabelTop, 131, FDecisionPointsLabel->sizeHint().height());
    FDecisionPointsComboBox->setGeometry(6,
                                         LabelTop + FDecisionPointsLabel->sizeHint().height() + 2,
                                         131, FDecisionPointsComboBox->sizeHint().height());
    // A condition-based pathway keeps its time column hidden and unused: its
    // map is drawn with an empty selector, at series -1.
    for (int32_t I = 0; TimeBased && I < FMyElementsList->TippingTimeValuesCount(); ++I)
        FComboBox1->addItem(FMyElementsList->TippingTimeColumnCaption(I));
    FComboBox1->setCurrentIndex(FComboBox1->count() > 0 ? 0 : -1);
}

std::unique_ptr<TMapGeometry> TGraphicsFrame::Geometry() const {
    // Without a picture there is nothing to point at (and a layout that
    // could not be drawn could not place anything either).
    if (!FMyElementsList || FShownImage.isNull() || !FDrawingFailure.isEmpty())
        return nullptr;
    return std::make_unique<TMapGeometry>(*FSettings, *FMyElementsList, *FMyScenarioFrame,
                                          SeriesIndex());
}

std::vector<int32_t> TGraphicsFrame::ElementsAt(QPoint Point) const {
    const std::unique_ptr<TMapGeometry> Layout = Geometry();
    return Layout ? ::ElementsAt(*Layout, Point) : std::vector<int32_t>();
}

QString TGraphicsFrame::CaptionToolTipAt(const TMapGeometry& Layout, QPoint Point) const {
    if (!FMap)
        return QString();
    // The captions are measured as the map wrote them.
    TMeasuringCanvas Canvas(FSettings->DrawingAreaWidth(), FSettings->DrawingAreaHeight());
    for (const TMapCaption& Caption : FMap->Captions(Canvas, Layout, SeriesIndex()))
        if (Caption.Shown != Caption.Whole && Caption.Box.contains(Point))
            return QStringLiteral("<p style='white-space:pre'>") + Caption.Whole.toHtmlEscaped() +
                   QStringLiteral("</p>");
    return QString();
}

QStringList TGraphicsFrame::DecisionToolTipsAt(const TMapGeometry& Layout, QPoint Point) const {
    QStringList Texts;
    if (!FMap)
        return Texts;
    const std::vector<TMapDecisionPoint>& Points = FMap->DecisionPoints();
    for (const int32_t K : ::DecisionPointsAt(Layout, Points, Point))
        Texts << Points[size_t(K)].ToolTip.toHtmlEscaped();
    return Texts;
}

QString TGraphicsFrame::ToolTipAt(QPoint Point) const {
    // One layout answers the elements, the decision points and the captions.
    const std::unique_ptr<TMapGeometry> Layout = Geometry();
    if (!Layout)
        return QString();
    const std::vector<int32_t> Hits = ::ElementsAt(*Layout, Point);
    const QStringList Decisions = DecisionToolTipsAt(*Layout, Point);
    if (Hits.empty() && Decisions.isEmpty())
        return CaptionToolTipAt(*Layout, Point);
    const bool TimeBased = FMyElementsList->PathwayType() == ptTimeBased;
    // Each scenario is read once for the whole tooltip. A scenario cell that
    // is no number is reported when the map is drawn; pointing at the map
    // shows no year for it.
    std::vector<std::unique_ptr<TScenarioTimeline>> Timelines;
    for (int32_t S = 0; !TimeBased && FMyScenarioFrame && S < FMyScenarioFrame->Count(); ++S) {
        try {
            Timelines.push_back(std::make_unique<TScenarioTimeline>(*FMyScenarioFrame, S));
        } catch (const ECorvinalError&) {
            Timelines.push_back(nullptr);
        }
    }
    // Where many pathways share a station, the first few are named.
    const size_t Shown = std::min<size_t>(Hits.size(), MaxToolTipElements);
    QStringList Parts;
    // The decision a diamond marks is what the pointer is on first.
    if (!Decisions.isEmpty())
        Parts << Decisions.join(QStringLiteral("<br>"));
    for (size_t Hit = 0; Hit < Shown; ++Hit) {
        const TElement& Element = *FMyElementsList->Elements(Hits[Hit]);
        const double Value =
            TimeBased ? Element.TippingTimeValue(SeriesIndex()) : Element.TippingPointValue();
        QStringList Lines;
        Lines << QStringLiteral("<b>") + Element.Caption().toHtmlEscaped() + QStringLiteral("</b>");
        Lines << tr("Tipping value: %1").arg(FloatToStrGeneral(Value).toHtmlEscaped());
        for (size_t S = 0; S < Timelines.size(); ++S) {
            const TTippingYear Year =
                Timelines[S] ? Timelines[S]->TippingYear(Value) : TTippingYear();
            Lines << FMyScenarioFrame->ScenarioCaption(int32_t(S)).toHtmlEscaped() +
                         QStringLiteral(": ") + TippingYearText(Year).toHtmlEscaped();
        }
        Parts << Lines.join(QStringLiteral("<br>"));
    }
    if (Hits.size() > Shown)
        Parts << tr("and %1 more").arg(Hits.size() - Shown);
    return QStringLiteral("<p style='white-space:pre'>") + Parts.join(QStringLiteral("<br><br>")) +
           QStringLiteral("</p>");
}

void TGraphicsFrame::ClickAt(QPoint Point) {
    const std::vector<int32_t> Hits = ElementsAt(Point);
    if (!Hits.empty())
        Q_EMIT ElementClicked(Hits.front());
}

int32_t TGraphicsFrame::IndexOfElement(const TElement* Element) const {
    for (int32_t Index = 0; Element && FMyElementsList && Index < FMyElementsList->Count(); ++Index)
        if (FMyElementsList->Elements(Index) == Element)
            return Index;
    return -1;
}

void TGraphicsFrame::SetHaloElement(const TElement* Element) {
    if (Element == FHaloElement)
        return;
    FHaloElement = Element;
    UpdateHaloRegions();
    FImage1->update();
}

// Worked out when the map is drawn and when the element changes, never at
// a repaint: scrolling repaints the picture again and again, and a layout
// costs as much as the model is large.
void TGraphicsFrame::UpdateHaloRegions() {
    FHaloRegions.clear();
    const int32_t Index = IndexOfElement(FHaloElement);
    const std::unique_ptr<TMapGeometry> Layout = Index >= 0 ? Geometry() : nullptr;
    if (!Layout)
        return;
    const int Room = 4;
    for (const TMapShape& Shape : ElementShapes(*Layout, Index)) {
        if (!Shape.Band.isNull()) {
            FHaloRegions.push_back(Shape.Band.adjusted(-Room, -Room, Room, Room));
            continue;
        }
        const int Half = int(std::ceil(Shape.HalfWidth)) + Room;
        FHaloRegions.push_back(
            QRect(Shape.From, Shape.To).normalized().adjusted(-Half, -Half, Half, Half));
    }
}

std::vector<QRect> TGraphicsFrame::HaloRegions() const {
    // The element may have gone since the rectangles were worked out: a
    // look through the list, no layout.
    return IndexOfElement(FHaloElement) >= 0 ? FHaloRegions : std::vector<QRect>();
}

void TGraphicsFrame::WriteToXML(TXmlDoc& XML) const {
    FSettings->WriteToXML(XML);
}

void TGraphicsFrame::ReadFromXML(const TXmlDoc& XML) {
    FSettings->ReadFromXML(XML);
    ResizeImage();
}

void TGraphicsFrame::ComboBox1Change() {
    Draw();
}

void TGraphicsFrame::UpdateDecisionSelector() {
    QStringList Items{tr("none")};
    const bool TimeBased = FMyElementsList && FMyElementsList->PathwayType() == ptTimeBased;
    if (TimeBased)
        Items << tr("on");
    for (int32_t S = 0; !TimeBased && FMyScenarioFrame && S < FMyScenarioFrame->Count(); ++S)
        Items << FMyScenarioFrame->ScenarioCaption(S);
    QStringList Shown;
    for (int I = 0; I < FDecisionPointsComboBox->count(); ++I)
        Shown << FDecisionPointsComboBox->itemText(I);
    if (Items != Shown) {
        FDecisionPointsComboBox->clear();
        FDecisionPointsComboBox->addItems(Items);
        // The names are longer than the panel is wide: the list shows them
        // whole.
        FDecisionPointsComboBox->view()->setMinimumWidth(
            FDecisionPointsComboBox->view()->sizeHintForColumn(0) + 24);
    }
    // A choice of a scenario that is no longer there shows none.
    const int32_t Choice = FSettings->DecisionPoints();
    FDecisionPointsComboBox->setCurrentIndex(Choice > 0 && Choice < Items.size() ? Choice : 0);
}

void TGraphicsFrame::DecisionPointsComboBoxChange() {
    const int32_t Chosen = std::max(0, FDecisionPointsComboBox->currentIndex());
    const int32_t Shown = FSettings->DecisionPoints() > 0 &&
                                  FSettings->DecisionPoints() < FDecisionPointsComboBox->count()
                              ? FSettings->DecisionPoints()
                              : 0;
    if (Chosen == Shown)
        return;
    TGraphicsSettings Wanted = *FSettings;
    Wanted.SetDecisionPoints(Chosen);
    ApplySettings(tr("Decision points"), Wanted);
}

void TGraphicsFrame::Panel1Resize() {
    FSpeedButton1->move(FSpeedButton1->x(), FSpeedButton1Top);
    FSpeedButton2->move(FSpeedButton2->x(), FSpeedButton2Top);
    FSpeedButton3->move(FSpeedButton3->x(), FSpeedButton3Top);
}

namespace {

// What a spin box shows for a stored value: the value within its limits.
int32_t ShownBy(const TSpinEdit& Field, int32_t Stored) {
    return Field.HasLimits() ? qBound(Field.minimum(), Stored, Field.maximum()) : Stored;
}

} // namespace

void TGraphicsFrame::SpeedButton1Click() {
    if (!FXAxisSettingsForm)
        return;
    TXAxisSettingsForm& Form = *FXAxisSettingsForm;
    Form.SetMinTippingPoint(FSettings->MinTippingPointValue());
    Form.SetMaxTippingPoint(FSettings->MaxTippingPointValue());
    Form.SetXAxixCaption(FSettings->XAxisTitle());
    Form.SetTicksXAxis(FSettings->TicksXAxis());
    Form.SetShowXAxis(FSettings->ShowXAxis());
    if (Modal().Exec(&Form) != QDialog::Accepted)
        return;
    // The dialog let OK through only with numbers that make a range. A
    // field left as it was shown keeps the exact value behind it: an OK that
    // changed nothing changes nothing, though the fields show two decimals
    // and the ticks within their range.
    const double Min = Form.MinTippingPointKept();
    const double Max = Form.MaxTippingPointKept();
    const int32_t Ticks =
        Form.TicksXAxis() == ShownBy(*Form.TicksSpinEdit(), FSettings->TicksXAxis())
            ? FSettings->TicksXAxis()
            : Form.TicksXAxis();
    TGraphicsSettings Wanted = *FSettings;
    Wanted.SetMinTippingPointValue(Min);
    Wanted.SetMaxTippingPointValue(Max);
    Wanted.SetXAxisTitle(Form.XAxixCaption());
    Wanted.SetTicksXAxis(Ticks);
    Wanted.SetShowXAxis(Form.ShowXAxis());
    ApplySettings(tr("X-Axis settings"), Wanted);
}

void TGraphicsFrame::ApplySettings(const QString& Name, const TGraphicsSettings& Wanted) {
    const TGraphicsSettings Before = *FSettings;
    // Whether the axis is shown is the view's choice, never a step of the
    // document; the dirty flags are the session's.
    FSettings->SetShowXAxis(Wanted.ShowXAxis());
    const auto Take = [this, &Wanted] {
        TGraphicsSettings New = Wanted;
        New.SetGraphicsSettingIsDirty(FSettings->GraphicsSettingIsDirty());
        *FSettings = New;
    };
    if (FSession)
        FSession->Change(Name, Take);
    else
        Take();
    // OK marks the settings as touched, changed or not.
    FSettings->SetGraphicsSettingIsDirty(true);
    // A change of the document redrew the map through the session; an OK
    // that changed nothing stored redraws it here.
    if (!FSession || Before.SameStoredAs(*FSettings)) {
        ResizeImage();
        Draw();
    }
}

int32_t TGraphicsFrame::AxisBandHeight() const {
    // Without a document, the band of a map without scenarios.
    return FMyElementsList && FMyScenarioFrame ? XAxisHeight(*FMyElementsList, *FMyScenarioFrame)
                                               : 70;
}

TGraphicsSettings TGraphicsFrame::FittedSettings(const TGraphicsSettings& Settings) const {
    if (!FMyElementsList || !FMyScenarioFrame)
        return Settings;
    // The captions are measured as the map writes them.
    TMeasuringCanvas Canvas(Settings.DrawingAreaWidth(), Settings.DrawingAreaHeight());
    return ::FittedSettings(Settings, *FMyElementsList, *FMyScenarioFrame, SeriesIndex(), Canvas);
}

// The settings the graph settings dialog's fields stand for, over the
// document's for what it does not show. A field left as it was shown keeps
// the exact value behind it (a spin box shows a stored value within its
// limits).
TGraphicsSettings TGraphicsFrame::GraphFormSettings(const TGraphSettingsForm& Form) const {
    TGraphicsSettings Wanted = *FSettings;
    Wanted.SetLeftMargin(Form.LeftMargin());
    Wanted.SetTitlesAreaWidth(Form.TitlesAreaWidth());
    Wanted.SetTopMargin(Form.TopMargin());
    Wanted.SetBottomMargin(Form.BottomMargin());
    Wanted.SetRightMargin(Form.RightMargin());
    Wanted.SetDrawingAreaWidth(Form.DrawingAreaWidth());
    Wanted.SetDrawingAreaHeight(Form.DrawingAreaHeight());
    if (Form.FontSize() != ShownBy(*Form.FontSizeSpinEdit(), FSettings->FontSize()))
        Wanted.SetFontSize(Form.FontSize());
    if (Form.RowSpacing() != ShownBy(*Form.RowSpacingSpinEdit(), FSettings->RowSpacing()))
        Wanted.SetRowSpacing(Form.RowSpacing());
    Wanted.SetTitle(Form.Title());
    Wanted.SetLegend(Form.Legend());
    return Wanted;
}

void TGraphicsFrame::SpeedButton2Click() {
    if (!FGraphSettingsForm)
        return;
    TGraphSettingsForm& Form = *FGraphSettingsForm;
    Form.SetLeftMargin(FSettings->LeftMargin());
    Form.SetTitlesAreaWidth(FSettings->TitlesAreaWidth());
    Form.SetTopMargin(FSettings->TopMargin());
    Form.SetBottomMargin(FSettings->BottomMargin());
    Form.SetRightMargin(FSettings->RightMargin());
    Form.SetDrawingAreaWidth(FSettings->DrawingAreaWidth());
    Form.SetDrawingAreaHeight(FSettings->DrawingAreaHeight());
    Form.SetFontSize(FSettings->FontSize());
    Form.SetRowSpacing(FSettings->RowSpacing());
    Form.SetTitle(FSettings->Title());
    Form.SetLegend(FSettings->Legend());
    Form.SetAxisBandHeight(AxisBandHeight());
    // The button fills the fields; only OK makes them a step of the
    // document, as every other change of the fields.
    Form.SetFitToContent([this, &Form] {
        const TGraphicsSettings Fitted = FittedSettings(GraphFormSettings(Form));
        Form.SetTitlesAreaWidth(Fitted.TitlesAreaWidth());
        Form.SetDrawingAreaWidth(Fitted.DrawingAreaWidth());
        Form.SetDrawingAreaHeight(Fitted.DrawingAreaHeight());
        Form.SetRowSpacing(Fitted.RowSpacing());
    });
    const int Result = Modal().Exec(&Form);
    Form.SetFitToContent(nullptr);
    if (Result != QDialog::Accepted)
        return;
    ApplySettings(tr("Graph settings"), GraphFormSettings(Form));
}

void TGraphicsFrame::SpeedButton3Click() {
    int Filter = 0;
    QString FileName =
        Modal().SaveFileName(this, MapImageFilter, QStringLiteral(".png"), false, &Filter);
    if (FileName.isEmpty())
        return;
    // ".svg" and ".pdf" names are vector files; a bare name takes the
    // format of the chosen filter; any other name gets a PNG, as chosen.
    QString Format = QFileInfo(FileName).suffix().toLower();
    if (Format.isEmpty()) {
        Format = Filter == 2   ? QStringLiteral("svg")
                 : Filter == 3 ? QStringLiteral("pdf")
                               : QStringLiteral("png");
        FileName += QLatin1Char('.') + Format;
    }
    if (Format != QLatin1String("svg") && Format != QLatin1String("pdf")) {
        SaveImageAsPng(FShownImage, FileName);
        return;
    }
    if (TPathwayMap* PathwayMap = Map())
        ExportMap(*PathwayMap, FileName, SeriesIndex());
}
