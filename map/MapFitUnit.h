#pragma once

#include "map/GraphicsSettingsUnit.h"

#include <cstdint>

class TCanvas;
class TElementsList;
class TMapGeometry;
class TScenarioFrame;

// "Fit to content": the settings of a map made to hold what it shows. The
// caption band becomes the widest caption (an action's name, a scenario's
// name, the axis title as the map writes it for ASeriesIndex) at the map's
// font size, as ACanvas measures it, plus a gap of one text line, and the
// picture is widened (or narrowed) by as much, so that the plot keeps its
// width. The rows and sub-rows are set at least one and a half text lines
// apart (RowSpacing), and the drawing height becomes what that takes: the
// lowest height, found from the layout itself, at which every row of the map
// lies that far from the next, with the title's, the axes' and the legend's
// bands and the margins around it. Everything else stays as it was.
TGraphicsSettings FittedSettings(const TGraphicsSettings& ASettings,
                                 const TElementsList& AElementsList,
                                 const TScenarioFrame& AScenarioFrame, int32_t ASeriesIndex,
                                 TCanvas& ACanvas);

// The distance between rows that fitting asks for: one and a half lines of
// text of the map's font (TextHeight), rounded up.
int32_t FittedRowSpacing(int32_t TextHeight);

// The smallest distance between two different rows of a layout; INT32_MAX
// when it has fewer than two.
int32_t SmallestRowDistance(const TMapGeometry& AGeometry);
