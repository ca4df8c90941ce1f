#include "document/DocumentSessionUnit.h"
#include "base/ErrorUnit.h"
#include "base/ReadReportUnit.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUndoStack>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

const QString Example = QStringLiteral(CORVINAL_TEST_DATA "/dike.pathway");

class Session : public ::testing::Test {
protected:
    TSeparatorGuard Guard{QLatin1Char('.')};
    TDocumentSession S;
    QSignalSpy Changed{&S, &TDocumentSession::Changed};
    QSignalSpy Replaced{&S, &TDocumentSession::Replaced};
    QTemporaryDir Dir;
};

TEST_F(Session, NewGivesTheNewPathwayWithoutAFile) {
    S.New(ptTimeBased);
    EXPECT_EQ(Replaced.size(), 1);
    ASSERT_EQ(S.Elements().Count(), 1);
    EXPECT_EQ(S.Elements().Elements(0)->Caption(), "Current Situation");
    EXPECT_EQ(S.Elements().CurrentElementID(), S.Elements().Elements(0)->ID());
    EXPECT_EQ(S.Elements().PathwayType(), ptTimeBased);
    EXPECT_EQ(S.Elements().TippingTimeColumnCaption(0), "Time0");
    EXPECT_EQ(S.Settings().MaxTippingPointValue(), 100);
    EXPECT_EQ(S.Scenarios().ScenariosStringGrid().RowCount(), 11);
    EXPECT_TRUE(S.FileName().isEmpty());
    EXPECT_FALSE(S.IsDirty());
    EXPECT_THROW(S.Save(), ECorvinalError); // nowhere to write
}

TEST_F(Session, OpenSaveAndSaveAsKeepTheFileAndTheHistoryApart) {
    QSignalSpy Named(&S, &TDocumentSession::FileNameChanged);
    S.Open(Example);
    EXPECT_EQ(S.FileName(), QDir::toNativeSeparators(Example));
    EXPECT_EQ(Named.size(), 1);
    EXPECT_EQ(Replaced.size(), 1);
    EXPECT_FALSE(S.IsDirty());
    ASSERT_EQ(S.Elements().Count(), 3);

    S.Change("Rename", [this] { S.Elements().Elements(1)->SetCaption("Wall"); });
    EXPECT_TRUE(S.IsDirty());
    EXPECT_TRUE(S.ElementsListIsDirty());
    EXPECT_EQ(S.UndoStack()->undoText(), "Rename");

    const QString Copy = Dir.filePath("copy.pathway");
    S.SaveAs(Copy);
    EXPECT_EQ(S.FileName(), QDir::toNativeSeparators(Copy));
    EXPECT_FALSE(S.IsDirty());
    EXPECT_FALSE(S.ElementsListIsDirty());
    EXPECT_TRUE(ReadAll(Copy).contains("<caption>Wall</caption>"));
    // The history goes on over a save: undo makes the document differ from
    // the file again.
    S.UndoStack()->undo();
    EXPECT_EQ(S.Elements().Elements(1)->Caption(), "Dike");
    EXPECT_TRUE(S.IsDirty());
    S.Save();
    EXPECT_EQ(ReadAll(Copy), ReadAll(Example));
    EXPECT_FALSE(S.IsDirty());

    // A file that cannot be read changes nothing.
    EXPECT_THROW(S.Open(Dir.filePath("missing.pathway")), ECorvinalError);
    EXPECT_EQ(S.FileName(), QDir::toNativeSeparators(Copy));
    EXPECT_EQ(S.UndoStack()->count(), 1);
    EXPECT_EQ(Replaced.size(), 1);
    // A save that fails keeps the document unsaved.
    S.Change("Rename", [this] { S.Elements().Elements(1)->SetCaption("Wall"); });
    EXPECT_THROW(S.SaveAs(Dir.filePath("no/such/folder/x.pathway")), ECorvinalError);
    EXPECT_TRUE(S.IsDirty());
    EXPECT_EQ(S.FileName(), QDir::toNativeSeparators(Copy));
}

TEST_F(Session, AChangeIsOneStepAndUndoRedoPutTheWholeDocumentBack) {
    S.Open(Example);
    S.SetSelectionProvider([] { return TStepSelection{3, 4}; });
    QSignalSpy Restored(&S, &TDocumentSession::SelectionRestored);
    const QByteArray Opened = ReadAll(Example);
    const QString Saved = Dir.filePath("saved.pathway");
    S.Change("Edit", [this] {
        S.Elements().Elements(1)->SetTippingPointValue(3);
        S.Scenarios().ScenariosStringGrid().SetCells(1, 2, "0.75");
        S.Settings().SetTitle("Plan");
    });
    EXPECT_EQ(S.UndoStack()->count(), 1);
    EXPECT_EQ(Changed.size(), 1);
    EXPECT_TRUE(S.Scenarios().ScenarioIsDirty());
    EXPECT_TRUE(S.Settings().GraphicsSettingIsDirty());
    S.UndoStack()->undo();
    S.WriteTo(Saved);
    EXPECT_EQ(ReadAll(Saved), Opened);
    EXPECT_EQ(Changed.size(), 2);
    ASSERT_EQ(Restored.size(), 1);
    EXPECT_EQ(Restored.first().at(0).value<TStepSelection>().Row, 3);
    S.UndoStack()->redo();
    EXPECT_EQ(S.Settings().Title(), "Plan");
    EXPECT_EQ(S.Elements().Elements(1)->TippingPointValue(), 3);
    // A change that changes nothing is no step and tells nobody.
    S.Change("Nothing", [this] { S.Elements().Elements(1)->SetTippingPointValue(3); });
    EXPECT_EQ(S.UndoStack()->count(), 1);
    EXPECT_EQ(Changed.size(), 3);
    // A change within a change is part of it.
    S.Change("Outer", [this] {
        S.Change("Inner", [this] { S.Elements().Elements(0)->SetCaption("Now"); });
        S.Elements().Elements(2)->SetCaption("Later");
    });
    EXPECT_EQ(S.UndoStack()->count(), 2);
    EXPECT_EQ(S.UndoStack()->undoText(), "Outer");
}

// A change that breaks off leaves no half-made change behind: the document
// is put back, no step is made, and the error goes on to its report.
TEST_F(Session, AChangeThatFailsPutsTheDocumentBack) {
    S.Open(Example);
    const QString Saved = Dir.filePath("saved.pathway");
    EXPECT_THROW(S.Change("Broken",
                          [this] {
                              S.Elements().Elements(1)->SetCaption("Half");
                              S.Elements().Delete(2);
                              throw ECorvinalError("List index out of bounds (7)");
                          }),
                 ECorvinalError);
    EXPECT_EQ(S.UndoStack()->count(), 0);
    EXPECT_FALSE(S.IsDirty());
    ASSERT_EQ(S.Elements().Count(), 3);
    EXPECT_EQ(S.Elements().Elements(1)->Caption(), "Dike");
    EXPECT_EQ(Changed.size(), 1); // the views follow the document put back
    S.WriteTo(Saved);
    EXPECT_EQ(ReadAll(Saved), ReadAll(Example));
}

TEST_F(Session, OpenReportsWhatCouldNotBeRead) {
    QByteArray Bytes = ReadAll(Example);
    Bytes.replace("<recurrentcosts>1<", "<recurrentcosts>one<");
    const QString Name = Dir.filePath("odd.pathway");
    QFile File(Name);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write(Bytes);
    File.close();
    TReadReport Report;
    S.Open(Name, &Report);
    EXPECT_EQ(Report.Lines(), QStringList{"Element 1 \"Current Situation\", recurrentcosts: "
                                          "\"one\" is not a number; 0 is used."});
    EXPECT_EQ(S.Elements().Elements(0)->RecurrentCosts(), 0);
}

} // namespace
