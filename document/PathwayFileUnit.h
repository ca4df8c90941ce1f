#pragma once

#include "map/GraphicsSettingsUnit.h"
#include "model/ElementsUnit.h"
#include "scenarios/ScenarioFrameUnit.h"

#include <QString>

class TReadReport;
class TXmlDoc;

// The .pathway file as a whole: the one place that states the orders of its
// three sections. The main window (with its own holders), the command line,
// the benchmarks, the fuzzer and the tests all read and write through here.

// Writes the sections in file order: elements, scenarios, graph settings.
void WritePathwayDocument(TXmlDoc& XML, const TElementsList& Elements,
                          const TScenarioFrame& Scenarios, const TGraphicsSettings& Settings);
// Reads the sections in load order: elements, graph settings, scenarios.
// Every value that holds no number keeps its default; given a report, each
// is named there.
void ReadPathwayDocument(const TXmlDoc& XML, TElementsList& Elements, TGraphicsSettings& Settings,
                         TScenarioFrame& Scenarios, TReadReport* Report = nullptr);

// Whether XML holds any of the three sections of a .pathway file; a file
// without any is something else, and reading it as an empty pathway would let
// a later save overwrite it.
bool IsPathwayDocument(const TXmlDoc& XML);
// Fails with "<Name> is not a pathway file" unless IsPathwayDocument.
void CheckPathwayDocument(const TXmlDoc& XML, const QString& Name);

void SavePathwayFile(const QString& FileName, const TElementsList& Elements,
                     const TScenarioFrame& Scenarios, const TGraphicsSettings& Settings);
// Reads and checks the whole file before the holders are touched: a file that
// cannot be read or is not a pathway file leaves them as they were.
void LoadPathwayFile(const QString& FileName, TElementsList& Elements, TGraphicsSettings& Settings,
                     TScenarioFrame& Scenarios, TReadReport* Report = nullptr);

// The read buffer every pathway file is loaded with.
constexpr int PathwayReadBufferSize = 4096;

// The three parts of a document held together, set up as the main window sets
// up its own: no current element, scenario years 2010 to 2100 by 10.
struct TPathwayDocument {
    TPathwayDocument();
    void Load(const QString& FileName, TReadReport* Report = nullptr) {
        LoadPathwayFile(FileName, Elements, Settings, Scenarios, Report);
    }
    void Save(const QString& FileName) const {
        SavePathwayFile(FileName, Elements, Scenarios, Settings);
    }

    TElementsList Elements;
    TGraphicsSettings Settings;
    TScenarioFrame Scenarios;
};
