#pragma once

#include "document/ScorecardUnit.h"
#include "widgets/EditingTableUnit.h"
#include "widgets/LiveTableModelUnit.h"

#include <QStyledItemDelegate>
#include <QTableView>
#include <QWidget>
#include <memory>

// The scorecard's cells: one row per element (row r is list index r), read
// from a scorecard made anew at every refresh, so that the tipping years are
// computed once per change and the cells cost what the visible rows cost.
class TScorecardModel : public TLiveTableModel {
    Q_OBJECT
public:
    explicit TScorecardModel(QObject* Parent = nullptr);

    // Not owned; the main window owns them.
    void SetDocument(const TElementsList* Elements, const TScenarioFrame* Scenarios);
    // The document changed: the scorecard anew, every cell repainted.
    void Refresh();

    const TScorecard* Scorecard() const { return FScorecard.get(); }
    // None for rows out of range.
    TElement* ElementOfRow(int32_t Row) const;
    bool IsCostColumn(int32_t Col) const;
    // Whether the cell takes a typed value: a cost, or an action's lead time.
    bool IsTypedCell(const QModelIndex& Index) const;

    QVariant data(const QModelIndex& Index, int Role = Qt::DisplayRole) const override;
    QVariant headerData(int Section, Qt::Orientation Orientation,
                        int Role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& Index) const override;
    // A click on the preferred route's check box asks for the change; the
    // document changes through the window, as one step, or not at all.
    bool setData(const QModelIndex& Index, const QVariant& Value, int Role = Qt::EditRole) override;

Q_SIGNALS:
    // The element at list index Row is to join or leave the preferred route.
    void PreferredToggled(int Row);

private:
    const TElementsList* FElements = nullptr;
    const TScenarioFrame* FScenarios = nullptr;
    std::unique_ptr<TScorecard> FScorecard;
};

class TScorecardFrame;

// Paints the colour column (an action's colour, a pathway's colour bar) and
// edits the costs in a number field. An edit is handed on only when its text
// changed.
class TScorecardDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TScorecardDelegate(TScorecardFrame* Frame);

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option,
               const QModelIndex& Index) const override;
    QWidget* createEditor(QWidget* Parent, const QStyleOptionViewItem& Option,
                          const QModelIndex& Index) const override;
    void setEditorData(QWidget* Editor, const QModelIndex& Index) const override;
    void setModelData(QWidget* Editor, QAbstractItemModel* Model,
                      const QModelIndex& Index) const override;

protected:
    bool eventFilter(QObject* Object, QEvent* Event) override;

private:
    TScorecardFrame* FFrame;
};

// The scorecard's table, edited as every table of the application (typing
// starts an edit of a cost too); Ctrl+C copies the selected cells as
// tab-separated text, rows on lines.
class TScorecardView : public TEditingTableView {
    Q_OBJECT
public:
    explicit TScorecardView(TScorecardFrame* Frame);
};

// The "Scorecard" tab: the numbers behind the map, for every element.
class TScorecardFrame : public QWidget {
    Q_OBJECT
public:
    explicit TScorecardFrame(QWidget* Parent = nullptr);

    void SetDocument(const TElementsList* Elements, const TScenarioFrame* Scenarios);
    void Refresh();

    TScorecardModel* Model() const { return FModel; }
    TScorecardView* View() const { return FView; }

    // The row of the element at list index Row becomes the selected one,
    // without a RowSelected report.
    void SelectRow(int32_t Row);
    // The list index of the current row; -1 when there is none.
    int32_t CurrentRow() const;

Q_SIGNALS:
    // A cost or a lead time of the element at list index Index was typed:
    // Col is the scorecard column.
    void CostEdited(int Index, int Col, const QString& Text);
    // The user made another row current.
    void RowSelected(int Row);

private:
    TScorecardModel* FModel;
    TScorecardView* FView;
};
