#include "widgets/ColorBoxUnit.h"

#include "widgets/ModalSeamUnit.h"

#include <QPainter>
#include <QPixmap>

namespace {

const TColor StandardColors[] = {clBlack,  clMaroon,     clGreen,   clOlive,   clNavy,
                                 clPurple, clTeal,       clGray,    clSilver,  clRed,
                                 clLime,   clYellow,     clBlue,    clFuchsia, clAqua,
                                 clWhite,  clMoneyGreen, clSkyBlue, clCream,   clMedGray};

// Marks the item that holds a colour of no list.
constexpr int CustomRole = Qt::UserRole + 1;

} // namespace

TColorBox::TColorBox(QWidget* Parent) : QComboBox(Parent) {
    setIconSize(QSize(24, 12));
    setMaxVisibleItems(16);
    // The longest names would make the box wider than a form has room for;
    // the open list still shows them whole.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(10);
    addItem(tr("Custom..."));
    for (TColor Value : StandardColors)
        addItem(Swatch(Value), DisplayName(Value), int(Value));
    // The system colours are those of base/ColorUnit that carry a name; the
    // unnamed numbers between them are no colours a user would pick.
    for (uint32_t Number = 0; Number <= 0xFF; ++Number) {
        const TColor Value = TColor(0xFF000000u + Number);
        if (!ColorToString(Value).startsWith(QLatin1Char('$')))
            addItem(Swatch(Value), DisplayName(Value), int(Value));
    }
    SetColor(clBlack);

    connect(this, &QComboBox::currentIndexChanged, this, [this](int Index) {
        // "Custom..." is a command, not a colour: while it is current, the
        // colour stays the one it was.
        if (Index > CustomEntryIndex)
            FColor = TColor(itemData(Index).toInt());
    });
    connect(this, &QComboBox::activated, this, [this](int Index) { ItemActivated(Index); });
}

QString TColorBox::DisplayName(TColor Value) {
    const QString Name = ColorToString(Value);
    if (!Name.startsWith(QLatin1String("cl")))
        return Name;
    const QString Bare = Name.mid(2);
    QString Result;
    for (int I = 0; I < Bare.size(); ++I) {
        const QChar C = Bare.at(I);
        const bool AfterLower = I > 0 && Bare.at(I - 1).isLower();
        // "3DDkShadow": a capital that begins a word after capitals.
        const bool StartsWord =
            I > 0 && !Bare.at(I - 1).isLower() && I + 1 < Bare.size() && Bare.at(I + 1).isLower();
        if (C.isUpper() && (AfterLower || StartsWord))
            Result += QLatin1Char(' ');
        Result += C;
    }
    return Result;
}

QIcon TColorBox::Swatch(TColor Value) const {
    QPixmap Pixmap(iconSize());
    const TColor Plain = PlainColor(Value);
    Pixmap.fill(QColor(Plain & 0xFF, (Plain >> 8) & 0xFF, (Plain >> 16) & 0xFF));
    QPainter Painter(&Pixmap);
    Painter.setPen(QColor(64, 64, 64));
    Painter.drawRect(0, 0, Pixmap.width() - 1, Pixmap.height() - 1);
    return QIcon(Pixmap);
}

bool TColorBox::HasCustomItem() const {
    return count() > CustomEntryIndex + 1 && itemData(CustomEntryIndex + 1, CustomRole).toBool();
}

int TColorBox::IndexOfColor(TColor Value) const {
    for (int I = CustomEntryIndex + 1; I < count(); ++I)
        if (TColor(itemData(I).toInt()) == Value)
            return I;
    return -1;
}

void TColorBox::SetColor(TColor Value) {
    int Index = IndexOfColor(Value);
    if (Index < 0) {
        // One custom item at a time: a new custom colour replaces the last.
        Index = CustomEntryIndex + 1;
        if (HasCustomItem()) {
            setItemIcon(Index, Swatch(Value));
            setItemText(Index, DisplayName(Value));
            setItemData(Index, int(Value));
        } else {
            insertItem(Index, Swatch(Value), DisplayName(Value), int(Value));
            setItemData(Index, true, CustomRole);
        }
    }
    FColor = Value;
    setCurrentIndex(Index);
}

void TColorBox::ItemActivated(int Index) {
    if (Index == CustomEntryIndex)
        ChooseCustomColor();
}

void TColorBox::ChooseCustomColor() {
    const TColor Previous = FColor;
    // The colour dialog knows plain RGB only: a system colour (or clNone,
    // clDefault) is offered as it looks.
    TColor Chosen = PlainColor(Previous);
    SetColor(Modal().ChooseColor(this, Chosen) ? Chosen : Previous);
}
