#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <cstdint>

class TPathwayMap;

// The file formats the map is exported to, by file extension: "png", "svg"
// and "pdf".
QStringList MapExportFormats();

// Draws the map for a series and writes it to AFileName in the format its
// extension names (letter case does not matter). AScale multiplies the pixel
// size: 2 gives a 2000 x 800 PNG of the default 1000 x 400 map, drawn with the
// painter scaled; SVG and PDF get the scaled page size. The output goes to a
// temporary file that replaces AFileName only when everything has been
// written: no error leaves a partial file behind, nor touches an old one. Errors
// (unknown format, a scale that is not a positive number, a drawing area that
// is empty or too large, a drawing that fails, a file that cannot be written)
// are ECorvinalError with a message for the user.
void ExportMap(TPathwayMap& AMap, const QString& AFileName, int32_t ASeriesIndex,
               double AScale = 1.0);

// Writes an already drawn map (the picture the map view shows) as PNG,
// replacing an existing file; on failure the message names the file and the
// file system's reason, and no partial file is left.
void SaveImageAsPng(const QImage& AImage, const QString& AFileName);
