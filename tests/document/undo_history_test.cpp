#include "document/edited_document.h"

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
    void SetUp() override {
        ASSERT_TRUE(doc.AllocateNodeTables());
        QObject::connect(&edited, &EditedDocument::documentChanged, [this] { ++changed; });
    }

    // A command: snapshot, then change the document.
    void MoveFirstNodeTo(int x) {
        EditScope edit(edited, SnapshotRule::Always);
        doc.Node(0).centerX = x;
        edit.Commit();
    }

    test::ScopedTempDir temp;
    test::MessageRecorder messages;
    EditedDocument edited;
    Document& doc = edited.Doc();
    const UndoHistory& history = edited.History();
    int changed = 0;  // documentChanged notices
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
    while (edited.Undo()) ++undone;
    EXPECT_EQ(undone, 9);
    EXPECT_EQ(doc.Node(0).centerX, 30);  // the state before the fourth command
    EXPECT_EQ(std::pair(history.UndoCount(), history.RedoCount()), std::pair(0, 9));
}

TEST_F(UndoHistoryTest, UndoAndRedoRestoreTheDocumentButNeverTheStatusText) {
    test::StatusRecorder status;
    status.SetInfoText(u"guide"_qs);
    test::FillDocument(doc, 3);
    doc.State().zoom = 1.5f;
    doc.Mark(1).selected = 1;  // in the snapshot too
    doc.State().mainSelection = 1;
    {
        EditScope edit(edited, SnapshotRule::Always);
        doc.State().zoom = 3.0f;
        doc.Node(1).centerY = 999;
        edit.Commit();
    }
    doc.SetModified(false);

    ASSERT_TRUE(edited.Undo());
    EXPECT_FLOAT_EQ(doc.State().zoom, 1.5f);
    EXPECT_NE(doc.Node(1).centerY, 999);
    EXPECT_EQ(doc.Mark(1).selected, 0);
    EXPECT_EQ(doc.State().mainSelection, -1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.Pictures().Size(), 4u);

    ASSERT_TRUE(edited.Redo());
    EXPECT_FLOAT_EQ(doc.State().zoom, 3.0f);
    EXPECT_EQ(doc.Node(1).centerY, 999);
    EXPECT_EQ(history.UndoCount(), 1);
    EXPECT_EQ(history.RedoCount(), 0);
    EXPECT_FALSE(edited.Redo());
    EXPECT_EQ(status.InfoTexts(), std::vector<QString>{u"guide"_qs});
}

TEST_F(UndoHistoryTest, RecordingAfterUndoEmptiesRedoAndDeletesItsFiles) {
    test::FillDocument(doc, 1);
    MoveFirstNodeTo(10);
    ASSERT_TRUE(edited.Undo());
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
    EXPECT_FALSE(edited.Undo());
    EXPECT_EQ(messages.Texts(), std::vector<QString>{LoadString(kMsgWrongFileFormat)});
    EXPECT_EQ(test::InnerFileOf(doc), before);
    EXPECT_EQ(history.UndoCount(), 2);
    EXPECT_EQ(history.RedoCount(), 0);
}

TEST_F(UndoHistoryTest, WithoutAWorkingFolderNothingIsRecorded) {
    QDir(temp.WorkingFolderPath()).removeRecursively();
    test::WriteFile(temp.Path(), u"Tessaly"_qs, "a file where the folder goes");
    MoveFirstNodeTo(5);
    EXPECT_EQ(history.UndoCount(), 0);
    EXPECT_EQ(doc.Node(0).centerX, 5);  // the change goes ahead without one
    EXPECT_EQ(messages.Texts(), std::vector<QString>{LoadString(kMsgWorkFolderFailed)});
}

TEST_F(UndoHistoryTest, ResetForgetsTheListsButKeepsTheFiles) {
    test::FillDocument(doc, 1);
    MoveFirstNodeTo(5);
    const QString file = history.UndoFiles().front();
    edited.ResetHistory();
    EXPECT_EQ(history.UndoCount(), 0);
    EXPECT_FALSE(edited.Undo());
    EXPECT_TRUE(QFile::exists(file));
}

// Each row: the rule, the node count, whether a committed edit is undoable.
TEST_F(UndoHistoryTest, SnapshotRules) {
    struct Row {
        SnapshotRule rule;
        int nodes;
        bool undoable;
    };
    for (const Row& row : {Row{SnapshotRule::None, 1, false}, Row{SnapshotRule::Always, 1, true},
                           Row{SnapshotRule::Always, kSnapshotNodeLimit, true},
                           Row{SnapshotRule::BelowNodeLimit, kSnapshotNodeLimit - 1, true},
                           Row{SnapshotRule::BelowNodeLimit, kSnapshotNodeLimit, false}}) {
        doc.State().nodeCount = row.nodes;  // records without pictures
        edited.ResetHistory();
        {
            EditScope edit(edited, row.rule);
            edit.Commit();
        }
        EXPECT_EQ(history.UndoCount(), row.undoable ? 1 : 0) << row.nodes;
    }
}

TEST_F(UndoHistoryTest, AnEditSendsOneNotificationAndMarksModified) {
    test::FillDocument(doc, 2);
    MoveFirstNodeTo(10);
    doc.SetModified(false);
    changed = 0;
    {
        EditScope outer(edited, SnapshotRule::Always);
        outer.Publish();      // nothing committed yet: no notice
        MoveFirstNodeTo(20);  // a command inside a command: one step, one notice
        outer.Commit(false);
    }
    EXPECT_EQ(changed, 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(history.UndoCount(), 2);
    ASSERT_TRUE(edited.Undo());
    EXPECT_EQ(doc.Node(0).centerX, 10);
}

TEST_F(UndoHistoryTest, AnEditThatChangesNothingLeavesNoTrace) {
    test::FillDocument(doc, 2);
    MoveFirstNodeTo(10);
    ASSERT_TRUE(edited.Undo());
    doc.SetModified(false);
    const QStringList filesBefore = QDir(WorkingFolder()).entryList(QDir::Files);
    changed = 0;
    {
        EditScope edit(edited, SnapshotRule::Always);
        edit.Commit(false);
    }
    EXPECT_EQ(changed, 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(history.UndoCount(), 0);
    EXPECT_EQ(history.RedoCount(), 1);
    EXPECT_EQ(QDir(WorkingFolder()).entryList(QDir::Files), filesBefore);
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
