#include "ui/AddCombinationFormUnit.h"

#include "map/CanvasUnit.h"
#include "map/PathwayMapUnit.h"
#include "widgets/KeyboardUnit.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// A list of elements where exactly one item stays selected once one is: the
// choice the dialog checks is always the item the user sees highlighted.
class TElementListBox : public QListWidget {
public:
    explicit TElementListBox(QWidget* Parent) : QListWidget(Parent) {
        setSelectionMode(QAbstractItemView::SingleSelection);
    }

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& Index,
                                                         const QEvent* Event) const override {
        const QItemSelectionModel::SelectionFlags Flags =
            QListWidget::selectionCommand(Index, Event);
        // Ctrl+click would empty the selection.
        if (Flags & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
            return QItemSelectionModel::NoUpdate;
        return Flags;
    }
};

// Draws an item as its element's pathway bar followed by its name. The item
// at row r shows element r of the dialog's list, read when it is drawn.
class TElementItemDelegate : public QStyledItemDelegate {
public:
    TElementItemDelegate(const TAddCombinationForm& Form, QObject* Parent)
        : QStyledItemDelegate(Parent), FForm(Form) {}

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option,
               const QModelIndex& Index) const override;
    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;

private:
    const TElement* ElementOf(const QModelIndex& Index) const {
        const TElementsList* List = FForm.MyElementsList();
        if (!List || Index.row() < 0 || Index.row() >= List->Count())
            return nullptr;
        return List->Elements(Index.row());
    }

    const TAddCombinationForm& FForm;
};

const int BarLeft = 2;
const int BarRight = 64; // excluded
const int NameLeft = 70;

void TElementItemDelegate::paint(QPainter* Painter, const QStyleOptionViewItem& Option,
                                 const QModelIndex& Index) const {
    const QRect Item = Option.rect;
    const bool Selected = Option.state & QStyle::State_Selected;
    const QPalette& Palette = Option.palette;
    Painter->save();
    Painter->fillRect(Item, Selected ? Palette.highlight() : Palette.base());
    if (const TElement* Element = ElementOf(Index)) {
        const TElementsList& List = *FForm.MyElementsList();
        const double High = List.PathwayType() == ptConditionBased ? Element->TippingPointValue()
                                                                   : Element->TippingTimeValue(0);
        const QRect Bar(QPoint(Item.left() + BarLeft, Item.top() + 2),
                        QPoint(Item.left() + BarRight - 1, Item.top() + Item.height() - 3));
        Painter->save();
        // Predecessors that tip beyond the element would run over the name.
        Painter->setClipRect(Bar, Qt::IntersectClip);
        {
            // The canvas clips to its own area, which starts at the origin:
            // let it end at the bar's far edges.
            TPainterCanvas Canvas(*Painter, std::max(0, Bar.x() + Bar.width()),
                                  std::max(0, Bar.y() + Bar.height()));
            DrawPathwayBar(*Element, 0, Canvas, Bar, 0, High);
        }
        Painter->restore();
        Painter->setFont(Option.font);
        Painter->setPen(Selected ? Palette.highlightedText().color() : Palette.text().color());
        // A name too long for the list ends in "..."; the item's tool tip
        // holds it whole.
        const QRect Name(Item.left() + NameLeft, Item.top() + 1, Item.width() - NameLeft - 2,
                         Item.height() - 1);
        Painter->drawText(
            Name, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
            Option.fontMetrics.elidedText(Element->Caption(), Qt::ElideRight, Name.width()));
    }
    if (Option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect Focus;
        Focus.QStyleOption::operator=(Option);
        Focus.backgroundColor = Selected ? Palette.highlight().color() : Palette.base().color();
        const QWidget* Widget = Option.widget;
        QStyle* Style = Widget ? Widget->style() : QApplication::style();
        Style->drawPrimitive(QStyle::PE_FrameFocusRect, &Focus, Painter, Widget);
    }
    Painter->restore();
}

QSize TElementItemDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    // As wide as the list, whatever the name: the lists are narrow, and a
    // name cut short reads better than one to scroll to.
    return QSize(NameLeft, TAddCombinationForm::ItemHeight);
}

QListWidget* MakeListBox(TAddCombinationForm& Form) {
    auto* ListBox = new TElementListBox(&Form);
    ListBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox->setItemDelegate(new TElementItemDelegate(Form, ListBox));
    return ListBox;
}

} // namespace

TAddCombinationForm::TAddCombinationForm(QWidget* Parent) : QDialog(Parent) {
    setWindowTitle(tr("Define pathway"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);

    FFirstListBox = MakeListBox(*this);
    FSecondListBox = MakeListBox(*this);
    FMethodComboBox = new QComboBox(this);
    FMethodComboBox->addItems({QStringLiteral("Combine"), QStringLiteral("Sequence")});
    FMethodComboBox->setCurrentIndex(0);
    FOKButton = new QPushButton(tr("OK"), this);
    FCancelButton = new QPushButton(tr("Cancel"), this);
    FOKButton->setDefault(true);
    connect(FOKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(FCancelButton, &QPushButton::clicked, this, &QDialog::reject);

    FNotAllowedLabel = new QLabel(tr("This Pathway is not allowed"), this);
    FReasonLabel = new QLabel(QStringLiteral("You can not make combinations with Current "
                                             "Situation, or make combinations with same action"),
                              this);
    FReasonLabel->setWordWrap(true);
    for (QLabel* Error : {FNotAllowedLabel, FReasonLabel}) {
        QPalette Palette = Error->palette();
        Palette.setColor(QPalette::WindowText, ColorToQColor(clRed));
        Error->setPalette(Palette);
        // Shown and hidden with every choice: the form must not jump.
        QSizePolicy Policy = Error->sizePolicy();
        Policy.setRetainSizeWhenHidden(true);
        Error->setSizePolicy(Policy);
    }

    auto* Lists = new QGridLayout;
    Lists->addWidget(new QLabel(tr("First Action(s)"), this), 0, 0);
    Lists->addWidget(new QLabel(tr("Then followed by"), this), 0, 1);
    Lists->addWidget(FFirstListBox, 1, 0);
    Lists->addWidget(FSecondListBox, 1, 1);

    auto* Method = new QHBoxLayout;
    Method->addWidget(new QLabel(tr("Method"), this));
    Method->addWidget(FMethodComboBox);
    Method->addSpacing(16);
    Method->addWidget(FNotAllowedLabel, 1);

    auto* Bottom = new QHBoxLayout;
    Bottom->addWidget(FReasonLabel, 1);
    Bottom->addWidget(FOKButton, 0, Qt::AlignBottom);
    Bottom->addWidget(FCancelButton, 0, Qt::AlignBottom);

    auto* Layout = new QVBoxLayout(this);
    Layout->addLayout(Lists, 1);
    Layout->addLayout(Method);
    Layout->addLayout(Bottom);
    setFixedSize(479, 222);

    for (QListWidget* ListBox : {FFirstListBox, FSecondListBox})
        connect(ListBox, &QListWidget::itemSelectionChanged, this, [this] { CheckChoice(); });
    // Both lists keep their choice; the one the arrow keys move shows it.
    ShowWhichSelectionHasTheFocus({FFirstListBox, FSecondListBox});
    SetMyElementsList(nullptr);
}

void TAddCombinationForm::SetMyElementsList(TElementsList* Value) {
    FFirstListBox->clear();
    FSecondListBox->clear();
    FMyElementsList = Value;
    if (Value && Value->Count() > 0) {
        for (QListWidget* ListBox : {FFirstListBox, FSecondListBox}) {
            for (int32_t I = 0; I < Value->Count(); ++I) {
                auto* Item = new QListWidgetItem(Value->Elements(I)->Caption(), ListBox);
                Item->setToolTip(Item->text());
            }
            ListBox->setCurrentRow(0);
        }
    }
    CheckChoice();
}

TElement* TAddCombinationForm::ElementAt(const QListWidget* ListBox) const {
    const QList<QListWidgetItem*> Selected = ListBox->selectedItems();
    if (!FMyElementsList || Selected.isEmpty())
        return nullptr;
    const int Row = ListBox->row(Selected.first());
    return Row >= 0 && Row < FMyElementsList->Count() ? FMyElementsList->Elements(Row) : nullptr;
}

TElement* TAddCombinationForm::FirstElement() const {
    return ElementAt(FFirstListBox);
}

TElement* TAddCombinationForm::SecondElement() const {
    return ElementAt(FSecondListBox);
}

TCombinationType TAddCombinationForm::Combination() const {
    return FMethodComboBox->currentIndex() == 0 ? ctCombine : ctSequence;
}

void TAddCombinationForm::CheckChoice() {
    const TElement* First = FirstElement();
    const TElement* Second = SecondElement();
    const int32_t CurrentID = FMyElementsList ? FMyElementsList->CurrentElementID() : -1;
    // Nothing to choose from is no pathway either.
    const bool Allowed =
        First && Second && First != Second && First->ID() != CurrentID && Second->ID() != CurrentID;
    FNotAllowedLabel->setVisible(!Allowed);
    FReasonLabel->setVisible(!Allowed);
    FOKButton->setEnabled(Allowed);
}

void TAddCombinationForm::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    FocusFirstField(FFirstListBox);
}
