#include "document/PathwayFileUnit.h"

#include "base/ErrorUnit.h"
#include "file/XmlUnit.h"

void WritePathwayDocument(TXmlDoc& XML, const TElementsList& Elements,
                          const TScenarioFrame& Scenarios, const TGraphicsSettings& Settings) {
    Elements.WriteToXML(XML);
    Scenarios.WriteToXML(XML);
    Settings.WriteToXML(XML);
}

void ReadPathwayDocument(const TXmlDoc& XML, TElementsList& Elements, TGraphicsSettings& Settings,
                         TScenarioFrame& Scenarios, TReadReport* Report) {
    Elements.ReadFromXML(XML, Report);
    Settings.ReadFromXML(XML, Report);
    Scenarios.ReadFromXML(XML, Report);
}

bool IsPathwayDocument(const TXmlDoc& XML) {
    const TXmlNodeTypes ElementsOnly{ntElement};
    for (const char* Section : {"pathways", "scenarios", "graphsettings"})
        if (XML.ChildNodes().Find(QString::fromLatin1(Section), ElementsOnly))
            return true;
    return false;
}

void CheckPathwayDocument(const TXmlDoc& XML, const QString& Name) {
    if (!IsPathwayDocument(XML))
        throw ECorvinalError(Name + QStringLiteral(" is not a pathway file"));
}

void SavePathwayFile(const QString& FileName, const TElementsList& Elements,
                     const TScenarioFrame& Scenarios, const TGraphicsSettings& Settings) {
    TXmlDoc XML;
    WritePathwayDocument(XML, Elements, Scenarios, Settings);
    XML.SaveToFile(FileName);
}

void LoadPathwayFile(const QString& FileName, TElementsList& Elements, TGraphicsSettings& Settings,
                     TScenarioFrame& Scenarios, TReadReport* Report) {
    TXmlDoc XML;
    XML.LoadFromFile(FileName, PathwayReadBufferSize);
    CheckPathwayDocument(XML, FileName);
    ReadPathwayDocument(XML, Elements, Settings, Scenarios, Report);
}

TPathwayDocument::TPathwayDocument() {
    Elements.SetCurrentElementID(-1);
    Scenarios.SetBeginYear(2010);
    Scenarios.SetEndYear(2100);
    Scenarios.SetTimeStep(10);
    Scenarios.SetupScenariosGrid();
}
