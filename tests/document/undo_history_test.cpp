#include "document/undo_history.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QDirIterator>

#include "image/working_folder.h"
#include "resources/string_table.h"
#include "support/document_builder.h"
#include "support/message_recorder.h"
#include "support/status_recorder.h"
#include "support/temp_env.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

class UndoHistoryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(doc.AllocateNodeTables()); }

    // A command: snapshot, then change the document.
    void MoveFirstNodeTo(int x) {
        history.RecordSnapshot(doc);
        doc.Node(0).centerX = x;
    }

    test::ScopedTempDir temp;
    test::MessageRecorder messages;
    Document doc;
    UndoHistory history;
};

TEST_F(UndoHistoryTest, NineStepsAreKeptAndOlderSnapshotsDeleted) {
    test::FillDocument(doc, 2);
    QStringList recorded;
    for (int i = 1; i <= 12; ++i) {
        MoveFirstNodeTo(i * 10);
        recorded.append(history.UndoFiles().last());
    }
    EXPECT_EQ(history.UndoCount(), 9);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(QFile::exists(recorded[i])) << i;
    for (int i = 3; i < 12; ++i) EXPECT_TRUE(QFile::exists(recorded[i])) << i;

    int undone = 0;
    while (history.Undo(doc)) ++undone;
    EXPECT_EQ(undone, 9);
    EXPECT_EQ(doc.Node(0).centerX, 30);  // the state before the fourth command
    EXPECT_EQ(history.RedoCount(), 9);
    EXPECT_EQ(history.UndoCount() + history.RedoCount(), 9);
}

TEST_F(UndoHistoryTest, UndoAndRedoRestoreTheDocument) {
    test::FillDocument(doc, 3);
    doc.State().zoom = 1.5f;
    history.RecordSnapshot(doc);
    doc.State().zoom = 3.0f;
    doc.Node(1).centerY = 999;
    doc.Mark(1).selected = 1;
    doc.State().mainSelection = 1;
    doc.SetModified(false);

    ASSERT_TRUE(history.Undo(doc));
    EXPECT_FLOAT_EQ(doc.State().zoom, 1.5f);
    EXPECT_NE(doc.Node(1).centerY, 999);
    EXPECT_EQ(doc.Mark(1).selected, 0);
    EXPECT_EQ(doc.State().mainSelection, -1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.Pictures().Size(), 4u);

    ASSERT_TRUE(history.Redo(doc));
    EXPECT_FLOAT_EQ(doc.State().zoom, 3.0f);
    EXPECT_EQ(doc.Node(1).centerY, 999);
    EXPECT_EQ(history.UndoCount(), 1);
    EXPECT_EQ(history.RedoCount(), 0);
    EXPECT_FALSE(history.Redo(doc));
}

TEST_F(UndoHistoryTest, RecordingAfterUndoEmptiesRedoAndDeletesItsFiles) {
    test::FillDocument(doc, 1);
    MoveFirstNodeTo(10);
    ASSERT_TRUE(history.Undo(doc));
    ASSERT_EQ(history.RedoCount(), 1);
    const QString redoFile = history.RedoFiles().front();
    MoveFirstNodeTo(20);
    EXPECT_EQ(history.RedoCount(), 0);
    EXPECT_FALSE(QFile::exists(redoFile));
}

TEST_F(UndoHistoryTest, UnreadableSnapshotLeavesDocumentAndCountsAlone) {
    test::FillDocument(doc, 2);
    MoveFirstNodeTo(10);
    MoveFirstNodeTo(20);
    const QByteArray before = test::InnerFileOf(doc);
    test::WriteFile(QFileInfo(history.UndoFiles().last()).absolutePath(),
                    QFileInfo(history.UndoFiles().last()).fileName(), "garbage");
    EXPECT_FALSE(history.Undo(doc));
    EXPECT_EQ(messages.Texts(), std::vector<QString>{LoadString(kMsgWrongFileFormat)});
    EXPECT_EQ(test::InnerFileOf(doc), before);
    EXPECT_EQ(history.UndoCount(), 2);
    EXPECT_EQ(history.RedoCount(), 0);
}

TEST_F(UndoHistoryTest, SnapshotsNeverTouchTheStatusText) {
    test::StatusRecorder status;
    status.SetInfoText(u"guide"_qs);
    test::FillDocument(doc, 3);
    MoveFirstNodeTo(1);
    history.Undo(doc);
    history.Redo(doc);
    EXPECT_EQ(status.Info(), u"guide");
}

TEST_F(UndoHistoryTest, WithoutAWorkingFolderNothingIsRecorded) {
    QDir(temp.WorkingFolderPath()).removeRecursively();
    test::WriteFile(temp.Path(), u"Tessaly"_qs, "a file where the folder goes");
    history.RecordSnapshot(doc);
    EXPECT_EQ(history.UndoCount(), 0);
    EXPECT_EQ(messages.Texts(), std::vector<QString>{LoadString(kMsgWorkFolderFailed)});
}

TEST_F(UndoHistoryTest, ResetForgetsTheListsButKeepsTheFiles) {
    test::FillDocument(doc, 1);
    MoveFirstNodeTo(5);
    const QString file = history.UndoFiles().front();
    history.ResetHistory();
    EXPECT_EQ(history.UndoCount(), 0);
    EXPECT_FALSE(history.Undo(doc));
    EXPECT_TRUE(QFile::exists(file));
}

TEST(CleanWorkingFolder, RemovesGeneratedFilesAmongTheFirstHundredEntries) {
    test::ScopedTempDir temp;
    const QString folder = WorkingFolder();
    for (int i = 0; i < 50; ++i) test::WriteFile(folder, u"TSD%1.tmp"_qs.arg(i), "x");
    for (int i = 0; i < 10; ++i) test::WriteFile(folder, u"tsd-lower%1"_qs.arg(i), "x");
    for (int i = 0; i < 90; ++i) test::WriteFile(folder, u"keep%1.jpeg"_qs.arg(i), "x");

    // Which generated files come first is up to the folder listing.
    QStringList expectedLeft;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (int seen = 0; it.hasNext(); ++seen) {
        const QString name = it.nextFileInfo().fileName();
        if (seen >= 100 || !IsGeneratedTempName(name)) expectedLeft.append(name);
    }
    CleanWorkingFolder();
    QStringList left = QDir(folder).entryList(QDir::Files);
    left.sort();
    expectedLeft.sort();
    EXPECT_EQ(left, expectedLeft);
    EXPECT_GE(left.size(), 90);
}

}  // namespace
}  // namespace tessaly
