#include "map/MapExportUnit.h"

#include "base/ErrorUnit.h"
#include "map/CanvasUnit.h"
#include "map/PathwayMapUnit.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace {

[[noreturn]] void RaiseWriteError(const QString& FileName, const QString& Reason) {
    throw ECorvinalError(
        QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(FileName), Reason));
}

void OpenForWriting(QSaveFile& File) {
    if (!File.open(QIODevice::WriteOnly))
        RaiseWriteError(File.fileName(), File.errorString());
}

void Commit(QSaveFile& File) {
    if (!File.commit())
        RaiseWriteError(File.fileName(), File.errorString());
}

// Draws the map on a vector device whose page is Size pixels at 96 dpi; the
// painter's scale turns the map's own pixels into page pixels.
void DrawOnDevice(TPathwayMap& AMap, QPaintDevice& Device, const QSize& Size, double AScale,
                  int32_t ASeriesIndex, QSaveFile& File) {
    QPainter Painter;
    if (!Painter.begin(&Device))
        RaiseWriteError(File.fileName(), File.errorString());
    Painter.fillRect(QRect(QPoint(0, 0), Size), Qt::white);
    Painter.scale(AScale, AScale);
    {
        const TGraphicsSettings& Settings = AMap.Settings();
        TPainterCanvas Canvas(Painter, Settings.DrawingAreaWidth(), Settings.DrawingAreaHeight());
        AMap.DrawPathwayOnCanvas(Canvas, ASeriesIndex);
    }
    if (!Painter.end())
        RaiseWriteError(File.fileName(), File.errorString());
}

} // namespace

QStringList MapExportFormats() {
    return {QStringLiteral("png"), QStringLiteral("svg"), QStringLiteral("pdf")};
}

void ExportMap(TPathwayMap& AMap, const QString& AFileName, int32_t ASeriesIndex, double AScale) {
    const QString Format = QFileInfo(AFileName).suffix().toLower();
    if (!MapExportFormats().contains(Format))
        throw ECorvinalError(QStringLiteral("Cannot export the map to %1: the file name must end "
                                            "in .png, .svg or .pdf.")
                                 .arg(QDir::toNativeSeparators(AFileName)));
    if (Format == QLatin1String("png")) {
        QImage Image;
        AMap.DrawPathwayOnBitmap(Image, ASeriesIndex, AScale);
        SaveImageAsPng(Image, AFileName);
        return;
    }
    const QSize Size = AMap.ImageSize(AScale);
    QSaveFile File(AFileName);
    OpenForWriting(File);
    if (Format == QLatin1String("svg")) {
        QBuffer Buffer;
        Buffer.open(QIODevice::WriteOnly);
        {
            QSvgGenerator Generator;
            Generator.setOutputDevice(&Buffer);
            Generator.setSize(Size);
            Generator.setViewBox(QRect(QPoint(0, 0), Size));
            Generator.setResolution(96);
            Generator.setTitle(QStringLiteral("Pathways map"));
            Generator.setDescription(MapCreditLine());
            DrawOnDevice(AMap, Generator, Size, AScale, ASeriesIndex, File);
        }
        // The generator states the size in millimetres, rounded, which readers
        // turn back into a pixel more or less; state it in pixels instead.
        QByteArray Svg = Buffer.data();
        const int Start = Svg.indexOf("<svg width=\"");
        const int End = Start < 0 ? -1 : Svg.indexOf('\n', Start);
        if (Start >= 0 && End > Start)
            Svg.replace(Start, End - Start,
                        QStringLiteral("<svg width=\"%1\" height=\"%2\"")
                            .arg(Size.width())
                            .arg(Size.height())
                            .toUtf8());
        if (File.write(Svg) != Svg.size())
            RaiseWriteError(File.fileName(), File.errorString());
    } else {
        QPdfWriter Writer(&File);
        Writer.setResolution(96);
        Writer.setCreator(MapCreditLine());
        Writer.setTitle(QStringLiteral("Pathways map"));
        Writer.setPageSize(QPageSize(QSizeF(Size.width() / 96.0, Size.height() / 96.0),
                                     QPageSize::Inch, QString(), QPageSize::ExactMatch));
        Writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        DrawOnDevice(AMap, Writer, Size, AScale, ASeriesIndex, File);
    }
    Commit(File);
}

void SaveImageAsPng(const QImage& AImage, const QString& AFileName) {
    if (AImage.isNull())
        throw ECorvinalError(QStringLiteral("Cannot write %1: there is no map to save.")
                                 .arg(QDir::toNativeSeparators(AFileName)));
    QSaveFile File(AFileName);
    OpenForWriting(File);
    if (!AImage.save(&File, "PNG"))
        RaiseWriteError(AFileName, File.error() == QFileDevice::NoError
                                       ? QStringLiteral("the image could not be encoded")
                                       : File.errorString());
    Commit(File);
}
