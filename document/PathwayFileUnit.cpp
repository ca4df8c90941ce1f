#include "document/PathwayFileUnit.h"

#include "file/XmlUnit.h"

void WritePathwayDocument(TXmlDoc& XML, const TElementsList& Elements,
                          const TScenarioFrame& Scenarios, const TGraphicsSettings& Settings) {
    Elements.WriteToXML(XML);
    Scenarios.WriteToXML(XML);
    Settings.WriteToXML(XML);
}

void ReadPathwayDocument(const TXmlDoc& XML, TElementsList& Elements, TGraphicsSettings& Settings,
                         TScenarioFrame& Scenarios) {
    Elements.ReadFromXML(XML);
    Settings.ReadFromXML(XML);
    Scenarios.ReadFromXML(XML);
}

void SavePathwayFile(const QString& FileName, const TElementsList& Elements,
                     const TScenarioFrame& Scenarios, const TGraphicsSettings& Settings) {
    TXmlDoc XML;
    WritePathwayDocument(XML, Elements, Scenarios, Settings);
    XML.SaveToFile(FileName);
}

void LoadPathwayFile(const QString& FileName, TElementsList& Elements, TGraphicsSettings& Settings,
                     TScenarioFrame& Scenarios) {
    TXmlDoc XML;
    XML.LoadFromFile(FileName, PathwayReadBufferSize);
    ReadPathwayDocument(XML, Elements, Settings, Scenarios);
}

TPathwayDocument::TPathwayDocument() {
    Elements.SetCurrentElementID(-1);
    Scenarios.SetBeginYear(2010);
    Scenarios.SetEndYear(2100);
    Scenarios.SetTimeStep(10);
    Scenarios.SetupScenariosGrid();
}
