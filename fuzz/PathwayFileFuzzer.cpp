// Feeds arbitrary bytes to the whole .pathway load, as "Open" does it, then
// draws the map of whatever was read, points at it, writes its scorecard and
// saves it again.
//
// Besides crashes, hangs, leaks and undefined behaviour it checks that a
// document that loads is written the same way after a second load: what
// Corvinal saves, it reads back unchanged.

#include "base/ErrorUnit.h"
#include "base/NumberFormatUnit.h"
#include "document/PathwayFileUnit.h"
#include "document/ScorecardUnit.h"
#include "file/XmlUnit.h"
#include "map/MapHitTestUnit.h"
#include "map/PathwayMapUnit.h"

#include <QGuiApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using TDocument = TPathwayDocument;

QByteArray Save(const TDocument& Doc) {
    TXmlDoc XML;
    WritePathwayDocument(XML, Doc.Elements, Doc.Scenarios, Doc.Settings);
    return XML.SaveToBytes();
}

bool Load(TDocument& Doc, const QByteArray& Bytes) {
    TXmlDoc XML;
    XML.LoadFromBytes(Bytes, PathwayReadBufferSize);
    try {
        CheckPathwayDocument(XML, QStringLiteral("The input"));
        ReadPathwayDocument(XML, Doc.Elements, Doc.Settings, Doc.Scenarios);
    } catch (const ECorvinalError&) {
        return false; // no pathway file, a colour that is no colour, absurd time columns
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* Argc, char*** Argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication App(*Argc, *Argv);
    SetDecimalSeparator(QLatin1Char('.'));
    SetThousandSeparator(QLatin1Char(','));
    // The font database fills its caches on first use; do that here, so
    // that it is not taken for a leak of the first input that draws text.
    TDocument Doc;
    QImage Warm;
    TPathwayMap(Doc.Settings, Doc.Elements, Doc.Scenarios).DrawPathwayOnBitmap(Warm, -1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const QByteArray Bytes(reinterpret_cast<const char*>(Data), qsizetype(Size));
    TDocument Doc;
    if (!Load(Doc, Bytes))
        return 0;

    // Draw what the map view would show: hostile settings and references
    // must end with a message, never a crash or a hang. Keep the bitmap
    // small so that the fuzzer stays fast.
    Doc.Settings.SetDrawingAreaWidth(qBound(-10, Doc.Settings.DrawingAreaWidth(), 400));
    Doc.Settings.SetDrawingAreaHeight(qBound(-10, Doc.Settings.DrawingAreaHeight(), 300));
    TPathwayMap Map(Doc.Settings, Doc.Elements, Doc.Scenarios);
    QImage Bitmap;
    const int32_t Series = Doc.Elements.PathwayType() == ptTimeBased ? 0 : -1;
    bool Drawn = false;
    try {
        Map.DrawPathwayOnBitmap(Bitmap, Series);
        Drawn = true;
    } catch (const ECorvinalError&) {
    }
    // The pointer over a map that was drawn (a failed drawing may leave a
    // bitmap behind): corners, middle, and where the first element's station
    // stands.
    if (Drawn) {
        const TMapGeometry Geometry(Doc.Settings, Doc.Elements, Doc.Scenarios, Series);
        std::vector<QPoint> Points{QPoint(0, 0), QPoint(Bitmap.width() / 2, Bitmap.height() / 2),
                                   QPoint(Bitmap.width() - 1, Bitmap.height() - 1)};
        if (Geometry.Count() > 0)
            Points.emplace_back(Geometry.ValueToX(Geometry.StartValueAt(0)), Geometry.YAt(0));
        for (const QPoint& P : Points)
            ElementsAt(Geometry, P);
    }
    // The scorecard takes the same hostile values; a scenario value that is
    // no number ends with a message.
    try {
        const QByteArray Csv = ScorecardCsv(Doc.Elements, Doc.Scenarios);
        if (!Csv.startsWith("\xEF\xBB\xBF")) {
            std::fprintf(stderr, "a scorecard without its byte-order mark\n");
            std::abort();
        }
    } catch (const ECorvinalError&) {
    }

    const QByteArray First = Save(Doc);
    TDocument Again;
    if (!Load(Again, First)) {
        std::fprintf(stderr, "a saved document does not load again\n");
        std::abort();
    }
    if (Save(Again) != First) {
        std::fprintf(stderr, "a saved document is written differently after loading\n");
        std::abort();
    }
    return 0;
}
