#pragma once

#include "base/ColorUnit.h"

#include <QColor>
#include <QComboBox>

// A drop-down of colours: the 16 standard colours, the four extended ones and
// the named system colours, each with a swatch and its name, led by a
// "Custom..." entry that asks for any colour through Modal().ChooseColor. A
// colour that is in none of these lists (set from outside or chosen through
// "Custom...") gets an item of its own right below "Custom...", so that it
// reads back exactly as it came in.
class TColorBox : public QComboBox {
    Q_OBJECT
public:
    // Swatches show every colour as it is drawn (PlainColor).
    explicit TColorBox(QWidget* Parent = nullptr);

    TColor Color() const { return FColor; }
    // Selects the colour's item, making a custom item for a colour in no list.
    void SetColor(TColor Value);

    // The item that shows the colour, or -1.
    int IndexOfColor(TColor Value) const;
    static constexpr int CustomEntryIndex = 0;

    // The name shown for a colour: its name without "cl", split into words
    // ("Money Green", "Btn Face"), or its text form when it has no name.
    static QString DisplayName(TColor Value);

private:
    void ItemActivated(int Index);
    void ChooseCustomColor();
    QIcon Swatch(TColor Value) const;
    bool HasCustomItem() const;

    TColor FColor = clBlack;
};
