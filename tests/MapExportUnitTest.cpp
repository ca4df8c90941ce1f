#include "map/MapExportUnit.h"
#include "base/ErrorUnit.h"
#include "map/PathwayMapUnit.h"
#include "scenarios/ScenarioFrameUnit.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <tuple>

namespace {

// A realistic map: four actions, sequences and a combination, three
// scenarios.
class MapExport : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        List.SetCurrentElementID(-1);
        List.SetTippingTimeValuesCount(1);
        TElement* Current =
            List.AddSimpleElement("Current Situation", RGBToColor(128, 128, 128), 20, 0, 0);
        List.SetCurrentElementID(Current->ID());
        TElement* Dike = List.AddSimpleElement("Dike raising", clBlue, 45, 0, 0);
        TElement* Pump = List.AddSimpleElement("Pumping station", clRed, 35, 0, 0);
        TElement* Room = List.AddSimpleElement("Room for the river", clGreen, 80, 0, 0);
        List.AddCombinationElement("Pump, then dike", 60, Pump->ID(), Dike->ID())
            ->SetCombinationType(ctSequence);
        List.AddCombinationElement("Pump and room", 95, Pump->ID(), Room->ID())
            ->SetCombinationType(ctCombine);
        List.AddCombinationElement("Dike, then room", 90, Dike->ID(), Room->ID())
            ->SetCombinationType(ctSequence);
        SetUpScenarioYears(Scenarios);
        AddScenario("Low", {20, 22, 24, 26, 28, 30, 32, 34, 36, 38});
        AddScenario("Medium", {20, 25, 30, 36, 42, 48, 55, 62, 70, 78});
        AddScenario("High", {20, 28, 38, 50, 64, 80, 98, 118, 140, 165});
        Settings.SetMinTippingPointValue(0);
        Settings.SetMaxTippingPointValue(120);
        Settings.SetDrawingAreaHeight(600);
        Settings.SetXAxisTitle("Sea level rise [cm]");
    }
    void AddScenario(const QString& Caption, const std::vector<int>& Values) {
        TCellGrid& Grid = Scenarios.ScenariosStringGrid();
        const int Col = Grid.ColCount();
        Grid.SetColCount(Col + 1);
        Grid.SetCells(Col, 0, Caption);
        for (size_t R = 0; R < Values.size(); ++R)
            Grid.SetCells(Col, int(R) + 1, QString::number(Values[R]));
    }
    QString Path(const QString& Name) const { return Dir.filePath(Name); }
    QStringList Files() const { return QDir(Dir.path()).entryList(QDir::Files); }
    static QString Message(const std::function<void()>& Call) {
        try {
            Call();
        } catch (const ECorvinalError& E) {
            return E.Message();
        }
        return QString();
    }
    static void WriteText(const QString& FileName, const QByteArray& Text) {
        QFile File(FileName);
        ASSERT_TRUE(File.open(QIODevice::WriteOnly));
        File.write(Text);
    }
    static QByteArray ReadAll(const QString& FileName) {
        QFile File(FileName);
        return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
    }
    // Renders a vector file back to PNG with a real reader; empty when the
    // reader is not installed.
    QImage RenderBack(const QString& Tool, const QStringList& Arguments, const QString& Output) {
        if (QStandardPaths::findExecutable(Tool).isEmpty())
            return QImage();
        QProcess Process;
        Process.start(Tool, Arguments);
        EXPECT_TRUE(Process.waitForFinished(60000));
        EXPECT_EQ(Process.exitCode(), 0) << Process.readAllStandardError().toStdString();
        return QImage(Output).convertToFormat(QImage::Format_RGB32);
    }
    // Compares a rendering with the raster map where the raster map is flat
    // (the pixel and its eight neighbours alike): inside lines, stations and
    // the white ground, away from edges that readers smooth. Gives the share
    // of such pixels that differ.
    static double FlatMismatch(const QImage& Raster, const QImage& Other, int* InkPixels) {
        int Flat = 0, Mismatch = 0, Ink = 0;
        for (int Y = 1; Y + 1 < Raster.height(); ++Y)
            for (int X = 1; X + 1 < Raster.width(); ++X) {
                const QRgb P = Raster.pixel(X, Y);
                bool Uniform = true;
                for (int DY = -1; DY <= 1 && Uniform; ++DY)
                    for (int DX = -1; DX <= 1 && Uniform; ++DX)
                        Uniform = Raster.pixel(X + DX, Y + DY) == P;
                if (!Uniform)
                    continue;
                ++Flat;
                if (P != qRgb(255, 255, 255))
                    ++Ink;
                const QRgb Q = Other.pixel(X, Y);
                if (std::abs(qRed(P) - qRed(Q)) > 60 || std::abs(qGreen(P) - qGreen(Q)) > 60 ||
                    std::abs(qBlue(P) - qBlue(Q)) > 60)
                    ++Mismatch;
            }
        *InkPixels = Ink;
        return Flat ? double(Mismatch) / Flat : 1.0;
    }

    QTemporaryDir Dir;
    TGraphicsSettings Settings;
    TElementsList List;
    TScenarioFrame Scenarios;
    TPathwayMap Map{Settings, List, Scenarios};
};

TEST_F(MapExport, PngIsTheDrawnMap) {
    ExportMap(Map, Path("map.png"), -1);
    QImage Drawn;
    Map.DrawPathwayOnBitmap(Drawn, -1);
    const QImage Written = QImage(Path("map.png")).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(Written, Drawn);
    EXPECT_EQ(Files(), QStringList{"map.png"});
}

TEST_F(MapExport, ScaleMultipliesThePixelSize) {
    ExportMap(Map, Path("big.PNG"), -1, 2);
    const QImage Written(Path("big.PNG"));
    EXPECT_EQ(Written.size(), QSize(2000, 1200));
    QImage Small;
    Map.DrawPathwayOnBitmap(Small, -1);
    int Ink = 0;
    const QImage Shrunk = Written.convertToFormat(QImage::Format_RGB32)
                              .scaled(Small.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    EXPECT_LT(FlatMismatch(Small, Shrunk, &Ink), 0.0005);
    EXPECT_GT(Ink, 2000);
}

TEST_F(MapExport, SvgOpensInARealReaderAndLooksTheSame) {
    ExportMap(Map, Path("map.svg"), -1);
    const QImage Back =
        RenderBack("rsvg-convert", {Path("map.svg"), "-o", Path("svg.png")}, Path("svg.png"));
    if (Back.isNull())
        GTEST_SKIP() << "rsvg-convert is not installed";
    ASSERT_EQ(Back.size(), QSize(1000, 600));
    QImage Raster;
    Map.DrawPathwayOnBitmap(Raster, -1);
    int Ink = 0;
    EXPECT_LT(FlatMismatch(Raster, Back, &Ink), 0.0005);
    EXPECT_GT(Ink, 2000);
    EXPECT_TRUE(ReadAll(Path("map.svg")).contains("Drawn with Corvinal"));
}

TEST_F(MapExport, PdfOpensInARealReaderAndLooksTheSame) {
    ExportMap(Map, Path("map.pdf"), -1);
    EXPECT_TRUE(ReadAll(Path("map.pdf")).startsWith("%PDF"));
    const QImage Back =
        RenderBack("pdftoppm", {"-png", "-r", "96", "-singlefile", Path("map.pdf"), Path("pdf")},
                   Path("pdf.png"));
    if (Back.isNull())
        GTEST_SKIP() << "pdftoppm is not installed";
    ASSERT_EQ(Back.size(), QSize(1000, 600));
    QImage Raster;
    Map.DrawPathwayOnBitmap(Raster, -1);
    int Ink = 0;
    EXPECT_LT(FlatMismatch(Raster, Back, &Ink), 0.0005);
    EXPECT_GT(Ink, 2000);
}

TEST_F(MapExport, VectorPagesTakeTheScaledSize) {
    ExportMap(Map, Path("map.svg"), -1, 2);
    ExportMap(Map, Path("map.pdf"), -1, 2);
    const QImage Svg =
        RenderBack("rsvg-convert", {Path("map.svg"), "-o", Path("svg.png")}, Path("svg.png"));
    const QImage Pdf =
        RenderBack("pdftoppm", {"-png", "-r", "96", "-singlefile", Path("map.pdf"), Path("pdf")},
                   Path("pdf.png"));
    if (Svg.isNull() || Pdf.isNull())
        GTEST_SKIP() << "rsvg-convert or pdftoppm is not installed";
    EXPECT_EQ(Svg.size(), QSize(2000, 1200));
    EXPECT_EQ(Pdf.size(), QSize(2000, 1200));
    QImage Large;
    Map.DrawPathwayOnBitmap(Large, -1, 2);
    int Ink = 0;
    EXPECT_LT(FlatMismatch(Large, Svg, &Ink), 0.0005);
    EXPECT_LT(FlatMismatch(Large, Pdf, &Ink), 0.0005);
}

// Two exports of two time columns can be told apart in every format: the
// axis title names the column shown, the labels are whole years, and the
// scenario axes (below the picture before) are gone.
TEST_F(MapExport, TimeBasedMapsNameTheirColumnInEveryFormat) {
    List.ClearElements();
    List.SetPathwayType(ptTimeBased);
    List.SetTippingTimeValuesCount(2);
    List.SetTippingTimeColumnCaption(0, "Moderate");
    List.SetTippingTimeColumnCaption(1, "Dry");
    TElement* Current =
        List.AddSimpleElement("Current Situation", RGBToColor(128, 128, 128), 0, 0, 0);
    List.SetCurrentElementID(Current->ID());
    TElement* Reservoir = List.AddSimpleElement("New reservoir", clBlue, 0, 0, 0);
    for (const auto& [E, Moderate, Dry] :
         {std::tuple{Current, 2030, 2025}, std::tuple{Reservoir, 2075, 2060}}) {
        E->SetTippingTimeValue(0, Moderate);
        E->SetTippingTimeValue(1, Dry);
    }
    Settings.SetMinTippingPointValue(2020);
    Settings.SetMaxTippingPointValue(2090);
    Settings.SetTicksXAxis(8);
    Settings.SetXAxisTitle("Year");
    const QStringList Years = {"2020", "2030", "2040", "2050", "2060", "2070", "2080", "2090"};
    QImage Pictures[2];
    for (const int32_t Series : {0, 1}) {
        const QString Title = Series == 0 ? QStringLiteral("Year \u2013 Moderate")
                                          : QStringLiteral("Year \u2013 Dry");
        SCOPED_TRACE(Title.toStdString());
        ExportMap(Map, Path("map.png"), Series);
        ExportMap(Map, Path("map.svg"), Series);
        ExportMap(Map, Path("map.pdf"), Series);
        // PNG: the title stands in its place, as the canvas writes it alone.
        Pictures[Series] = QImage(Path("map.png")).convertToFormat(QImage::Format_RGB32);
        QImage Alone(Pictures[Series].size(), QImage::Format_RGB32);
        Alone.fill(Qt::white);
        QRect Box;
        {
            QPainter Painter(&Alone);
            TPainterCanvas Canvas(Painter, Alone.width(), Alone.height());
            Canvas.SetFontSize(Settings.FontSize());
            const int32_t A = Map.Geometry(Series).AxisTop();
            Canvas.TextOut(10, A + 20, Title);
            Box = QRect(10, A + 20, Canvas.TextWidth(Title), Canvas.TextHeight(Title));
        }
        EXPECT_EQ(Pictures[Series].copy(Box), Alone.copy(Box));
        // SVG and PDF carry the texts themselves.
        const QString Svg = QString::fromUtf8(ReadAll(Path("map.svg")));
        EXPECT_TRUE(Svg.contains(">" + Title + "</text>"));
        for (const QString& Year : Years)
            EXPECT_TRUE(Svg.contains(">" + Year + "</text>")) << Year.toStdString();
        EXPECT_FALSE(Svg.contains(".0</text>"));
        EXPECT_FALSE(Svg.contains(">Low</text>")) << "no scenario axes";
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            continue;
        QProcess Text;
        Text.start("pdftotext", {Path("map.pdf"), "-"});
        ASSERT_TRUE(Text.waitForFinished(60000));
        const QString Pdf = QString::fromUtf8(Text.readAllStandardOutput());
        EXPECT_TRUE(Pdf.contains(Title)) << Pdf.toStdString();
        for (const QString& Year : Years)
            EXPECT_TRUE(Pdf.contains(Year)) << Year.toStdString();
        EXPECT_FALSE(Pdf.contains("Low"));
    }
    EXPECT_NE(Pictures[0], Pictures[1]);
}

TEST_F(MapExport, UnknownFormatsAreRefusedByName) {
    for (const QString Name : {"map.bmp", "map", "map.png.txt"}) {
        const QString Text = Message([&] { ExportMap(Map, Path(Name), -1); });
        EXPECT_TRUE(Text.startsWith("Cannot export the map to ")) << Text.toStdString();
        EXPECT_TRUE(Text.contains(".png, .svg or .pdf")) << Text.toStdString();
        EXPECT_TRUE(Text.contains(Name)) << Text.toStdString();
    }
    EXPECT_TRUE(Files().isEmpty());
    EXPECT_EQ(MapExportFormats(), (QStringList{"png", "svg", "pdf"}));
}

TEST_F(MapExport, FailuresLeaveNoFileAndKeepTheOldOne) {
    for (const QString Name : {"map.png", "map.svg", "map.pdf"}) {
        WriteText(Path(Name), "old");
        Settings.SetMaxTippingPointValue(Settings.MinTippingPointValue());
        EXPECT_EQ(Message([&] { ExportMap(Map, Path(Name), -1); }),
                  "Floating point division by zero");
        Settings.SetMaxTippingPointValue(120);
        EXPECT_TRUE(Message([&] {
                        ExportMap(Map, Path(Name), -1, 50);
                    }).contains("is too large (at most 100 million pixels)"));
        EXPECT_TRUE(Message([&] { ExportMap(Map, Path(Name), -1, 0); }).contains("scale"));
        // A scenario cell that is not a number stops the drawing half-way.
        Scenarios.ScenariosStringGrid().SetCells(2, 5, "1e5e5");
        EXPECT_EQ(Message([&] { ExportMap(Map, Path(Name), -1); }),
                  "Cell does not contain a float value");
        Scenarios.ScenariosStringGrid().SetCells(2, 5, "42");
        EXPECT_EQ(ReadAll(Path(Name)), QByteArray("old")) << Name.toStdString();
    }
    EXPECT_EQ(Files(), (QStringList{"map.pdf", "map.png", "map.svg"}));
}

TEST_F(MapExport, UnwritablePlacesAreReportedWithTheFileName) {
    for (const QString Name : {"map.png", "map.svg", "map.pdf"}) {
        const QString Target = Path("missing/" + Name);
        const QString Text = Message([&] { ExportMap(Map, Target, -1); });
        EXPECT_TRUE(Text.startsWith("Cannot write " + QDir::toNativeSeparators(Target) + ": "))
            << Text.toStdString();
    }
    EXPECT_TRUE(Files().isEmpty());
}

TEST_F(MapExport, SavedImageIsTheShownPicture) {
    QImage Shown(40, 30, QImage::Format_RGB32);
    Shown.fill(qRgb(10, 200, 30));
    Shown.setPixel(3, 4, qRgb(255, 0, 0));
    WriteText(Path("shown.png"), "old");
    SaveImageAsPng(Shown, Path("shown.png"));
    EXPECT_EQ(QImage(Path("shown.png")).convertToFormat(QImage::Format_RGB32), Shown);
    EXPECT_TRUE(Message([&] {
                    SaveImageAsPng(Shown, Path("missing/shown.png"));
                }).startsWith("Cannot write"));
    EXPECT_TRUE(Message([&] {
                    SaveImageAsPng(QImage(), Path("empty.png"));
                }).contains("there is no map to save"));
    EXPECT_EQ(Files(), QStringList{"shown.png"});
}

} // namespace
