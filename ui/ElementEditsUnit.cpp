#include "ui/ElementEditsUnit.h"

#include "base/ErrorUnit.h"
#include "base/NumberFormatUnit.h"
#include "document/DocumentSessionUnit.h"
#include "document/ScorecardUnit.h"
#include "map/GraphicsFrameUnit.h"
#include "ui/ActionsGridUnit.h"
#include "ui/AddMeasureFormUnit.h"
#include "ui/MainUnit.h"
#include "ui/ScorecardFrameUnit.h"
#include "ui/TimeColumnSettingsUnit.h"
#include "widgets/ModalSeamUnit.h"

namespace {

TElement* ElementAt(TElementsList& List, int32_t Index) {
    return Index >= 0 && Index < List.Count() ? List.Elements(Index) : nullptr;
}

} // namespace

TElementEdits::TElementEdits(TForm2& Window) : QObject(&Window), FWindow(Window) {}

void TElementEdits::EditElement(int32_t Index) {
    FWindow.FlushGridEdit();
    FWindow.CreateDialogs();
    TElementsList& List = *FWindow.MyElementsList();
    TElement* Element = ElementAt(List, Index);
    if (!Element)
        return;
    const bool TimeBased = List.PathwayType() == ptTimeBased;
    // The dialog shows the initial costs for an element of no combination
    // type and the transfer costs otherwise; what it shows is what it keeps,
    // also for a pathway element that a file left without a type.
    const bool ShowsInitialCosts = Element->CombinationType() == ctNone;
    const int32_t CurrentID = List.CurrentElementID();
    const bool WasCurrent = CurrentID != -1 && List.FindElement(CurrentID) == Element;
    TAddMeasureForm* Form = FWindow.AddMeasureForm();
    Form->SetMeasureName(Element->Caption());
    Form->SetMeasureColor(Element->MyColor());
    Form->SetTippingValue(TimeBased ? Element->TippingTimeValue(0) : Element->TippingPointValue());
    Form->SetCombinationType(Element->CombinationType());
    Form->SetCombinationFirstID(Element->PredecessorID());
    Form->SetCombinationSecondID(Element->CombinationSecondID());
    Form->SetPresentActionEnabled(Element->IsPrimaryElement());
    Form->SetPresentActionChecked(WasCurrent);
    Form->SetInitialCosts(Element->InitialCosts());
    Form->SetTransferCosts(Element->TransferCosts());
    Form->SetRecurrentCosts(Element->RecurrentCosts());
    // An action's own lead time; a pathway element shows the one it takes
    // from the action it changes to.
    Form->SetLeadTime(Element->EffectiveLeadTime());
    Form->SetLeadTimeEnabled(Element->IsPrimaryElement());
    if (Modal().Exec(Form) != QDialog::Accepted)
        return;

    // The dialog let OK through only with numbers in every field; they are
    // read before anything changes all the same.
    Form->CheckValues();
    const double Value = Form->TippingValue();
    const double InitialCosts = Form->InitialCosts();
    const double TransferCosts = Form->TransferCosts();
    const double RecurrentCosts = Form->RecurrentCosts();
    const int32_t LeadTime = Form->LeadTime();
    FWindow.Session()->Change(tr("Edit measure"), [&] {
        if (Element->IsPrimaryElement())
            Element->SetLeadTime(LeadTime);
        Element->SetCaption(Form->MeasureName());
        // A pathway element shows the colour of the action it leads to; its
        // own colour changes only when the user picked another one.
        if (Form->MeasureColor() != Element->MyColor())
            Element->SetMyColor(Form->MeasureColor());
        if (TimeBased) {
            if (Element->TippingTimeValuesLength() > 0)
                Element->SetTippingTimeValue(0, Value);
        } else {
            Element->SetTippingPointValue(Value);
        }
        Element->SetCombinationType(Form->CombinationType());
        if (ShowsInitialCosts)
            Element->SetInitialCosts(InitialCosts);
        else
            Element->SetTransferCosts(TransferCosts);
        Element->SetRecurrentCosts(RecurrentCosts);
        if (Form->PresentActionChecked())
            List.SetCurrentElementID(Element->ID());
        else if (WasCurrent)
            List.SetCurrentElementID(-1);
    });
}

void TElementEdits::EditTimeColumn(int32_t Col) {
    FWindow.FlushGridEdit();
    FWindow.CreateDialogs();
    TActionsStringGrid* Grid = FWindow.ActionsStringGrid();
    if (Col < TActionsGridModel::FirstValueColumn || Col >= Grid->ColCount())
        return;
    TTimeColumnSettingsForm* Form = FWindow.TimeColumnSettingsForm();
    Form->SetColumnName(Grid->Cells(Col, 0));
    Form->SetColumnWidth(Grid->ColumnWidth(Col));
    if (Modal().Exec(Form) != QDialog::Accepted)
        return;
    TElementsList& List = *FWindow.MyElementsList();
    TGraphicsFrame* Map = FWindow.Frame11();
    const int32_t Column = Col - TActionsGridModel::FirstValueColumn;
    // The width is the grid's own; only a new caption is a change of the
    // document.
    Grid->SetColumnWidth(Col, Form->ColumnWidth());
    const QString Caption = Form->ColumnName();
    if (List.PathwayType() == ptTimeBased && Column < List.TippingTimeValuesCount() &&
        List.TippingTimeColumnCaption(Column) != Caption) {
        FWindow.Session()->Change(tr("Rename time column"), [&] {
            List.SetTippingTimeColumnCaption(Column, Caption);
            // The selector shows the first column again; the map follows it.
            Map->UpdateSeriesSelector();
        });
        return;
    }
    Map->UpdateSeriesSelector();
    Map->Draw();
}

void TElementEdits::CellEdited(int32_t Index, int Col, const QString& Text) {
    TElementsList& List = *FWindow.MyElementsList();
    TElement* Element = ElementAt(List, Index);
    if (!Element)
        return;
    if (Col == TActionsGridModel::NameColumn) {
        if (Text == Element->Caption())
            return;
        FWindow.Session()->Change(tr("Rename"), [&] { Element->SetCaption(Text); });
        return;
    }
    if (Col < TActionsGridModel::FirstValueColumn)
        return;
    // A text that is no number in the user's locale raises here; the cell
    // then shows the stored value again, since the grid shows what the model
    // holds.
    const double Value = TypedCellToFloat(Text);
    if (List.PathwayType() == ptConditionBased) {
        FWindow.Session()->Change(tr("Edit tipping value"),
                                  [&] { Element->SetTippingPointValue(Value); });
        return;
    }
    const int32_t Column = Col - TActionsGridModel::FirstValueColumn;
    if (Column >= List.TippingTimeValuesCount())
        return;
    FWindow.Session()->Change(tr("Edit tipping value"),
                              [&] { Element->SetTippingTimeValue(Column, Value); });
}

void TElementEdits::TypeChosen(int32_t Index, int Item) {
    TElement* Element = ElementAt(*FWindow.MyElementsList(), Index);
    if (!Element || Element->CombinationType() == ctNone)
        return;
    const TCombinationType Type = Item == 0 ? ctCombine : ctSequence;
    FWindow.Session()->Change(tr("Change type"), [&] { Element->SetCombinationType(Type); });
}

void TElementEdits::CostEdited(int32_t Index, int Col, const QString& Text) {
    TElement* Element = ElementAt(*FWindow.MyElementsList(), Index);
    const TScorecard* Card = FWindow.ScorecardFrame()->Model()->Scorecard();
    if (!Element || !Card || Col < 0 || Col >= Card->ColumnCount())
        return;
    void (TElement::*Set)(double) = nullptr;
    QString Name;
    switch (Card->Kind(Col)) {
    case TScorecard::ckInitialCosts:
        Set = &TElement::SetInitialCosts;
        Name = tr("Edit initial costs");
        break;
    case TScorecard::ckTransferCosts:
        Set = &TElement::SetTransferCosts;
        Name = tr("Edit transfer costs");
        break;
    case TScorecard::ckRecurrentCosts:
        Set = &TElement::SetRecurrentCosts;
        Name = tr("Edit recurrent costs");
        break;
    case TScorecard::ckLeadTime:
        SetLeadTime(*Element, Text);
        return;
    default:
        return;
    }
    // As in the grid: a text that is no number raises here, and the cell
    // shows the stored value again.
    const double Value = TypedCellToFloat(Text);
    FWindow.Session()->Change(Name, [&] { (Element->*Set)(Value); });
}

void TElementEdits::SetLeadTime(TElement& Element, const QString& Text) {
    // A pathway element takes the lead time of the action it changes to.
    if (!Element.IsPrimaryElement())
        return;
    int32_t Years = 0;
    const QString Trimmed = Text.trimmed();
    bool Ok = !Trimmed.isEmpty();
    for (QChar C : Trimmed)
        Ok = Ok && C >= QLatin1Char('0') && C <= QLatin1Char('9');
    if (Ok)
        Years = Trimmed.toInt(&Ok);
    if (!Ok || Years < MinLeadTime || Years > MaxLeadTime)
        throw ECorvinalError(tr("A lead time is a whole number of years from %1 to %2.")
                                 .arg(MinLeadTime)
                                 .arg(MaxLeadTime));
    FWindow.Session()->Change(tr("Edit lead time"), [&] { Element.SetLeadTime(Years); });
}

void TElementEdits::ChooseElementColor(int32_t Index) {
    TElement* Element = ElementAt(*FWindow.MyElementsList(), Index);
    if (!Element || !Element->IsPrimaryElement())
        return;
    // The colour dialog knows plain colours only: a system colour from a file
    // is offered as it is drawn.
    TColor Color = PlainColor(Element->MyColor());
    if (!Modal().ChooseColor(&FWindow, Color) || Color == Element->OwnColor())
        return;
    FWindow.Session()->Change(tr("Color"), [&] { Element->SetMyColor(Color); });
}

void TElementEdits::TogglePreferred(int32_t Index) {
    FWindow.FlushGridEdit();
    TElement* Element = ElementAt(*FWindow.MyElementsList(), Index);
    if (!Element)
        return;
    FWindow.Session()->Change(Element->Preferred() ? tr("Leave preferred route")
                                                   : tr("Preferred route"),
                              [&] { Element->SetPreferred(!Element->Preferred()); });
    FWindow.UpdateActions();
}
