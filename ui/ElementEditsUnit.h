#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

class TElement;
class TForm2;

// The edits of single elements, each one step of the window's document
// session: through "Edit measure", in the grid's cells, in the scorecard's
// cells, by the colour dialog, on and off the preferred route, and the time
// column settings. Elements are named by their list index: an edit that
// arrives for an index the list no longer has does nothing.
class TElementEdits : public QObject {
    Q_OBJECT
public:
    explicit TElementEdits(TForm2& Window);

    // The element at Index through the "Edit measure" dialog.
    void EditElement(int32_t Index);
    // The time column settings dialog for grid column Col (4 and up).
    void EditTimeColumn(int32_t Col);
    // A name or value cell of the grid ended with a text other than the
    // one it started with. A value that is no number raises "Cell does not
    // contain a float value" and changes nothing.
    void CellEdited(int32_t Index, int Col, const QString& Text);
    // A type chosen in the grid's drop-down: 0 for "Combine", 1 for
    // "Sequence".
    void TypeChosen(int32_t Index, int Item);
    // A cost typed into the scorecard's column Col.
    void CostEdited(int32_t Index, int Col, const QString& Text);
    // The colour dialog of the action at Index.
    void ChooseElementColor(int32_t Index);
    // The element at Index joins or leaves the preferred route.
    void TogglePreferred(int32_t Index);

private:
    // A lead time typed into the scorecard: whole years from 0 to 100, or an
    // error that changes nothing.
    void SetLeadTime(TElement& Element, const QString& Text);

    TForm2& FWindow;
};
