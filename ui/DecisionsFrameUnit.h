#pragma once

#include "document/DecisionsUnit.h"
#include "widgets/EditingTableUnit.h"
#include "widgets/LiveTableModelUnit.h"

#include <QWidget>
#include <memory>
#include <vector>

// The decisions' cells: one row per pathway element, read from a table of
// decisions made anew at every refresh, in list order or, on request, by the
// earliest year by which they must be decided on.
class TDecisionsModel : public TLiveTableModel {
    Q_OBJECT
public:
    // ID, From, To, Type, Lead Time, then one year column per scenario or
    // time column.
    static constexpr int FirstYearColumn = 5;

    explicit TDecisionsModel(QObject* Parent = nullptr);

    // Not owned; the main window owns them.
    void SetDocument(const TElementsList* Elements, const TScenarioFrame* Scenarios);
    // The document changed: the decisions anew, every cell repainted.
    void Refresh();

    const TDecisions* Decisions() const { return FDecisions.get(); }
    // Whether the rows stand by their earliest year instead of in list order.
    bool SortedByEarliest() const { return FSortedByEarliest; }
    void SetSortedByEarliest(bool Value);

    // The list index of a row's pathway element; -1 for rows out of range.
    int32_t ListIndexOfRow(int32_t Row) const;
    // The row of the pathway element at list index Index; -1 when it has
    // none.
    int32_t RowOfListIndex(int32_t Index) const;
    // The earliest decision of a row, as the order by earliest reads it.
    TDecisionYear EarliestOfRow(int32_t Row) const;
    // A cell as the tab shows it, and as it is copied.
    QString Text(int32_t Row, int32_t Col) const;
    QString Caption(int32_t Col) const;

    QVariant data(const QModelIndex& Index, int Role = Qt::DisplayRole) const override;
    QVariant headerData(int Section, Qt::Orientation Orientation,
                        int Role = Qt::DisplayRole) const override;

private:
    void Order();

    const TElementsList* FElements = nullptr;
    const TScenarioFrame* FScenarios = nullptr;
    std::unique_ptr<TDecisions> FDecisions;
    bool FSortedByEarliest = false;
    // The decisions' rows in the order shown.
    std::vector<int32_t> FOrder;
};

class TDecisionsFrame;

// The decisions' table: read only, Ctrl+C copies the selected cells as
// tab-separated text, rows on lines.
class TDecisionsView : public TEditingTableView {
    Q_OBJECT
public:
    explicit TDecisionsView(TDecisionsFrame* Frame);
};

// The "Decisions" tab: for every pathway, by when it must be decided on under
// each scenario. A click on a column's header puts the rows in order of
// their earliest such year, another one back in list order.
class TDecisionsFrame : public QWidget {
    Q_OBJECT
public:
    explicit TDecisionsFrame(QWidget* Parent = nullptr);

    void SetDocument(const TElementsList* Elements, const TScenarioFrame* Scenarios);
    void Refresh();

    TDecisionsModel* Model() const { return FModel; }
    TDecisionsView* View() const { return FView; }

    // The row of the pathway element at list index Index becomes the
    // selected one, without a RowSelected report; nothing for an action.
    void SelectRow(int32_t Index);

Q_SIGNALS:
    // The user made the row of the pathway element at list index Index
    // current.
    void RowSelected(int Index);

private:
    TDecisionsModel* FModel;
    TDecisionsView* FView;
};
