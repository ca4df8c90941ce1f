#pragma once

#include "scenarios/ScenarioFrameUnit.h"
#include "widgets/EditingTableUnit.h"
#include "widgets/LiveTableModelUnit.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QStyledItemDelegate>
#include <QTableView>
#include <vector>

class QAction;
class QLineEdit;
class QPushButton;
class TAddScenarioForm;

// Grid numbering is used throughout this unit, as in the scenario table:
// column 0 holds the years, row 0 the captions, column k + 1 scenario k. The
// view shows the years and the captions as its headers, so its model index
// (r, c) is grid cell (c + 1, r + 1).

// The matrix's value cells, read live from the dialog's grid.
class TScenarioMatrixModel : public TLiveTableModel {
    Q_OBJECT
public:
    explicit TScenarioMatrixModel(TCellGrid& Grid, QObject* Parent = nullptr);

    // Brings the row and column counts in line with the grid and repaints
    // every cell and header. Rows and columns come and go at the end, so the
    // view's current cell keeps its place unless its column went away.
    void Rebuild();
    QModelIndex CellIndex(int Col, int Row) const { return index(Row - 1, Col - 1); }

    QVariant data(const QModelIndex& Index, int Role = Qt::DisplayRole) const override;
    // Stores the text as typed; it is read as a number only when used.
    bool setData(const QModelIndex& Index, const QVariant& Value, int Role = Qt::EditRole) override;
    QVariant headerData(int Section, Qt::Orientation Orientation,
                        int Role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& Index) const override;

private:
    TCellGrid& FGrid;
};

class TScenarioMatrixView;

// Edits a value cell in a number field (digits, one decimal separator of the
// user's locale, a leading minus).
class TScenarioCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TScenarioCellDelegate(TScenarioMatrixView* View);

    QWidget* createEditor(QWidget* Parent, const QStyleOptionViewItem& Option,
                          const QModelIndex& Index) const override;
    void setEditorData(QWidget* Editor, const QModelIndex& Index) const override;
    void setModelData(QWidget* Editor, QAbstractItemModel* Model,
                      const QModelIndex& Index) const override;

protected:
    bool eventFilter(QObject* Object, QEvent* Event) override;

private:
    TScenarioMatrixView* FView;
};

// The matrix: years down, scenarios across, the years and captions as fixed
// headers that cannot be selected or edited. Enter or F2 (or typing a
// number) edits the current cell, Enter ends the edit, Escape drops it, Tab
// moves on within the matrix and Ctrl+Tab or Ctrl+Shift+Tab leave it.
class TScenarioMatrixView : public TEditingTableView {
    Q_OBJECT
public:
    static constexpr int YearColumnWidth = 64;
    static constexpr int ScenarioColumnWidth = 96;
    static constexpr int HeaderHeight = 22;
    // Low enough for all ten years to show below the captions, even with
    // the horizontal scroll bar.
    static constexpr int DataRowHeight = 21;

    explicit TScenarioMatrixView(QWidget* Parent = nullptr);

    // The grid column and row of the current cell; 0 when there is none.
    int Col() const;
    int Row() const;
    // Makes the nearest value cell current and the only selected one.
    void SetCurrentCell(int Col, int Row);
    // Where a value cell lies in the viewport.
    QRect CellRect(int Col, int Row) const;

    // The open cell editor, if any.
    QLineEdit* CellEditor() const;
    // Columns are at least ScenarioColumnWidth wide, wider where their
    // caption needs it; a column whose width the user set keeps it.
    void FitColumnsToCaptions();

    using QTableView::edit;

protected:
    void keyPressEvent(QKeyEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    bool edit(const QModelIndex& Index, EditTrigger Trigger, QEvent* Event) override;
    void keyboardSearch(const QString& Search) override;

private:
    // The width each column was last given to fit its caption.
    std::vector<int> FFittedWidths;
};

// The scenario definition dialog: all scenarios as one matrix, with
// commands to add, rename, interpolate and delete scenarios. It works on its
// own copy; the opener loads the matrix, shows the dialog and, on OK, copies
// the matrix back. Cancel discards every change.
class TScenarioDefinitionForm : public QDialog {
    Q_OBJECT
public:
    explicit TScenarioDefinitionForm(QWidget* Parent = nullptr);
    ~TScenarioDefinitionForm() override;

    // Copies Source into the matrix (TScenarioFrame::CopyScenarioValues) and shows it.
    void LoadMatrix(const TCellGrid& Source);
    const TCellGrid& ScenarioMatrixGrid() const { return FScenarioMatrixGrid; }
    // The pathway's largest tipping value; the first scenario proposes it as
    // its last value.
    double MaxTippingPointValue() const { return FMaxTippingPointValue; }
    void SetMaxTippingPointValue(double Value) { FMaxTippingPointValue = Value; }
    // Created once by the form and reused for every new scenario.
    TAddScenarioForm* AddScenarioForm() const { return FAddScenarioForm; }

    QAction* AddScenarioAction() const { return FAddScenarioAction; }
    QAction* RenameScenarioAction() const { return FRenameScenarioAction; }
    QAction* InterpolateEmptyCellsAction() const { return FInterpolateEmptyCellsAction; }
    QAction* DeleteScenarioAction() const { return FDeleteScenarioAction; }
    // Re-evaluates the commands' enabling rules; done whenever the
    // application is idle while the dialog shows.
    void UpdateActions();

    TScenarioMatrixView* MatrixView() const { return FMatrixView; }
    QWidget* CommandPanel() const { return FCommandPanel; }
    QWidget* ButtonBar() const { return FButtonBar; }
    QPushButton* AddScenarioButton() const { return FAddScenarioButton; }
    QPushButton* RenameScenarioButton() const { return FRenameScenarioButton; }
    QPushButton* InterpolateEmptyCellsButton() const { return FInterpolateEmptyCellsButton; }
    QPushButton* DeleteScenarioButton() const { return FDeleteScenarioButton; }
    QPushButton* CancelButton() const { return FCancelButton; }
    QPushButton* OKButton() const { return FOKButton; }

    // An open cell editor keeps its text on OK and drops it otherwise.
    void done(int Result) override;

protected:
    void showEvent(QShowEvent* Event) override;

private:
    void FitCommandButtons();
    QAction* MakeCommand(const QString& Caption, int Top, QPushButton*& Button,
                         void (TScenarioDefinitionForm::*Execute)());
    void AddScenarioActionExecute();
    void RenameScenarioActionExecute();
    void InterpolateEmptyCellsActionExecute();
    void DeleteScenarioActionExecute();
    // The scenario column of the current cell; 0 when there is none.
    int CurrentColumn() const;
    // Shows the grid's new shape and makes the nearest cell to (Col, Row) current.
    void ShowMatrix(int Col, int Row);

    TCellGrid FScenarioMatrixGrid;
    double FMaxTippingPointValue = 0;
    TScenarioMatrixModel* FMatrixModel;
    TScenarioMatrixView* FMatrixView;
    QWidget* FCommandPanel;
    QWidget* FButtonBar;
    QPushButton* FAddScenarioButton = nullptr;
    QPushButton* FRenameScenarioButton = nullptr;
    QPushButton* FInterpolateEmptyCellsButton = nullptr;
    QPushButton* FDeleteScenarioButton = nullptr;
    QPushButton* FCancelButton;
    QPushButton* FOKButton;
    QAction* FAddScenarioAction;
    QAction* FRenameScenarioAction;
    QAction* FInterpolateEmptyCellsAction;
    QAction* FDeleteScenarioAction;
    TAddScenarioForm* FAddScenarioForm;
};
