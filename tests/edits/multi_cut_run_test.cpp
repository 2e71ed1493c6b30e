#include "edits/multi_cut_run.h"

#include <QDir>
#include <QFile>
#include <vector>

#include "canvas/multi_cut_session.h"
#include "edits/delete_nodes.h"
#include "edits/node_order.h"
#include "edits/selection_edit_test.h"
#include "resources/string_table.h"
#include "services/app_settings.h"
#include "services/settings.h"
#include "services/status_service.h"
#include "support/file_limit.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

// A node shown at 80 x 40 whose picture is 40 x 20 (twice its own size), cut
// into 2 x 2 cells of 40 x 20 canvas pixels from its top-left corner.
class MultiCutRunTest : public test::SelectionEditTest {
protected:
    void SetUp() override {
        SelectionEditTest::SetUp();
        UseSettingsFile(QDir(temp.Path()).filePath(QStringLiteral("settings.ini")));
        for (const QString& key : {u"RectPX"_qs, u"RectPY"_qs})
            WriteProfileInt(u"Last"_qs, key, 0);
        WriteProfileInt(u"Last"_qs, u"RectSX"_qs, 40);
        WriteProfileInt(u"Last"_qs, u"RectSY"_qs, 20);
        grid.multiCntX = 2;
        grid.multiCntY = 2;
        grid.multiMaX = 0.0f;
        grid.multiMaY = 0.0f;
    }
    void TearDown() override { UseSettingsFile({}); }

    void StartOn(int node) {
        Select({node}, node);
        ASSERT_TRUE(session.Start(doc, grid));
    }

    CutOutcome Execute(int answer, const QString& folder = {}) {
        messages.QueueAnswer(answer);
        return ExecuteMultiCut(edited, session, grid, [folder](const QString&) { return folder; });
    }

    AppSettings grid;
    MultiCutSession session;
};

// Gaps of 8 across and 4 down fill a node of 88 x 44 exactly.
TEST_F(MultiCutRunTest, PiecesBecomeNodesAtTheCellSizeInOneUndoStep) {
    grid.multiMaX = 8.0f;
    grid.multiMaY = 4.0f;
    StartOn(Add(100, 100, 88, 44, test::JpegBytes(44, 22)));
    EXPECT_EQ(Execute(kResultYes), CutOutcome::NodesAdded);

    EXPECT_EQ(doc.State().nodeCount, 5);
    EXPECT_EQ(edited.UndoCount(), 1);
    EXPECT_FALSE(session.IsOn());
    for (int i = 1; i <= 4; ++i) {
        const NodeRecord& piece = doc.Node(i);
        EXPECT_EQ(QPoint(piece.Left(), piece.Top()),
                  QPoint(100 + 48 * ((i - 1) % 2), 100 + 24 * ((i - 1) / 2)));
        EXPECT_EQ(QSize(piece.Width(), piece.Height()), QSize(40, 20));
        // Half the cell: the picture is drawn at twice its size.
        EXPECT_EQ(doc.Picture(piece.picture)->PixelSize(), QSize(20, 10));
    }
    const CutArea area{{100, 100, 140, 120}, {100, 100, 188, 144}};
    EXPECT_EQ(SourceCell(SourceGeometry(area, grid, {44, 22}), 1, 1), QRect(24, 12, 20, 10));
    EXPECT_EQ(doc.State().mainSelection, 4);
    ASSERT_TRUE(edited.Undo());
    EXPECT_EQ(doc.State().nodeCount, 1);
}

TEST_F(MultiCutRunTest, NodesStopAtTheLimitAndTheModeStaysOn) {
    for (int i = 0; i < kMaxNodes - 2; ++i)
        Add(0, 0, 10, 10);
    StartOn(Add(100, 100, 80, 40, test::JpegBytes(40, 20)));
    EXPECT_EQ(Execute(kResultYes), CutOutcome::NodeLimit);

    EXPECT_EQ(doc.State().nodeCount, kMaxNodes);
    EXPECT_EQ(edited.UndoCount(), 1);
    EXPECT_TRUE(session.IsOn());
    EXPECT_TRUE(messages.Texts().back().endsWith(LoadString(kMsgImageLimitReached)));
}

TEST_F(MultiCutRunTest, FilesTakeTheNextFreeNumbersAndNeverReplaceOne) {
    StartOn(Add(100, 100, 80, 40, test::JpegBytes(40, 20)));
    grid.multiCntY = 1;
    grid.multiExt = 3;
    const QString folder = QDir(temp.Path()).filePath(u"out"_qs);
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const QString& name : {u"00000000.png"_qs, u"00000001.png"_qs})
        test::WriteFile(folder, name, "old");

    EXPECT_EQ(Execute(kResultNo, folder), CutOutcome::FilesWritten);
    const QDir out(folder);
    EXPECT_EQ(out.entryList(QDir::Files), (QStringList{u"00000000.png"_qs, u"00000001.png"_qs,
                                                       u"00000002.png"_qs, u"00000003.png"_qs}));
    EXPECT_EQ(test::ReadFile(out.filePath(u"00000001.png"_qs)), "old");
    EXPECT_EQ(QImage(out.filePath(u"00000003.png"_qs)).size(), QSize(20, 10));
    EXPECT_EQ(GetProfileString(u"Last"_qs, u"SaveFolder"_qs), folder + u'/');
    EXPECT_EQ(messages.Texts(), (std::vector<QString>{LoadString(kMsgCreateIndividually),
                                                      LoadString(kMsgSavedShowLocation)}));
    EXPECT_TRUE(session.IsOn());
    EXPECT_FALSE(doc.IsModified());

    // With every number taken nothing is written.
    int counter = 0;
    EXPECT_EQ(ClaimPieceName(folder + u'/', counter, u"png"_qs, 4), QString());
}

// Stands in for the status bar and, once `after` pieces are done, puts a
// plain file where the output folder was.
class FolderBreaker final : public StatusSink {
public:
    FolderBreaker(QString folder, int after) : folder_(std::move(folder)), after_(after) {
        InstallStatusSink(this);
    }
    ~FolderBreaker() override { InstallStatusSink(nullptr); }
    void SetPaneText(StatusPane, const QString&) override {}
    void SetInfoText(const QString&) override {}
    void SetProgressRange(int, int) override {}
    void SetProgressValue(int done) override {
        if (done != after_) return;
        QDir(folder_).removeRecursively();
        QFile file(folder_);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

private:
    QString folder_;
    int after_;
};

TEST_F(MultiCutRunTest, PiecesThatCannotBeWrittenAreCountedAndNeverReportedAsSuccess) {
    StartOn(Add(100, 100, 80, 40, test::JpegBytes(40, 20)));
    grid.multiExt = 3;
    const struct {
        const char* folder;
        bool made;       // the folder exists when the run starts
        int breakAfter;  // a plain file takes the folder's place after this many pieces
        const char* failed;
    } rows[] = {
        {"missing", false, -1, "4 個中 4 個"},
        {"broken", true, 1, "4 個中 3 個"},
    };
    for (const auto& row : rows) {
        messages.Clear();
        const QString folder = QDir(temp.Path()).filePath(QString::fromUtf8(row.folder));
        if (row.made) {
            ASSERT_TRUE(QDir().mkpath(folder));
        }
        const FolderBreaker breaker(folder, row.breakAfter);
        EXPECT_EQ(Execute(kResultNo, folder), CutOutcome::FilesFailed) << row.folder;
        EXPECT_EQ(messages.Texts(),
                  (std::vector<QString>{
                      LoadString(kMsgCreateIndividually),
                      QDir::toNativeSeparators(folder + u'/') + u'\n' +
                          QString::fromUtf8(row.failed) +
                          u"のイメージを保存できませんでした\n"_qs +
                          LoadString(kMsgBitmapSaveFailed)}))
            << row.folder;
        EXPECT_TRUE(session.IsOn());
    }
}

// A piece whose write fails part way (here at a file-size limit) leaves no
// file behind, not even the name it claimed.
TEST_F(MultiCutRunTest, APieceThatFailsPartWayLeavesNoFile) {
    StartOn(Add(100, 100, 80, 40, test::JpegBytes(40, 20)));
    grid.multiExt = 3;
    const QString folder = QDir(temp.Path()).filePath(u"limited"_qs);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString seen = test::InChildWithFileLimit(temp.Path(), 64, false, [&] {
        return Execute(kResultNo, folder) == CutOutcome::FilesFailed ? u"failed"_qs : u"written"_qs;
    });
    if (seen.isEmpty()) GTEST_SKIP() << "no file size limit here";
    EXPECT_EQ(seen, u"failed"_qs);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST_F(MultiCutRunTest, TheCutStaysWithItsNodeAndNeverTakesAnother) {
    // Pictures 40, 41, ... pixels wide tell the nodes apart.
    for (int i = 0; i < 5; ++i)
        Add(100 * i, 0, 80, 40, test::JpegBytes(40 + i, 20));
    StartOn(3);
    const auto widthAt = [this](int i) {
        return doc.Picture(doc.Node(i).picture)->PixelSize().width();
    };

    // Node 1 goes to the front: the cut node moves down to index 2, and the
    // mode with it.
    Select({1}, 1);
    ASSERT_TRUE(RestackSelected(edited, StackEnd::Front));
    session.FollowDocument(doc);
    ASSERT_TRUE(session.IsOn());
    EXPECT_EQ(session.Node(), 2);
    EXPECT_EQ(widthAt(2), 43);

    // Node 0 is deleted and another node moves into index 2: not yet told,
    // the run cuts nothing.
    doc.Mark(4).selected = 0;
    Select({0}, 0);
    ASSERT_TRUE(DeleteSelected(edited));
    EXPECT_EQ(ExecuteMultiCut(edited, session, grid, [](const QString&) { return QString(); }),
              CutOutcome::Nothing);
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(doc.State().nodeCount, 4);

    // Told, the mode either ends or stays on the node it started on.
    session.FollowDocument(doc);
    if (session.IsOn()) {
        EXPECT_EQ(widthAt(session.Node()), 43);
    }
}

TEST_F(MultiCutRunTest, CellsBeyondThePictureAreWhite) {
    const QImage picture = test::Filled(10, 10, qRgb(255, 0, 0));
    const struct {
        QRect cell;
        QPoint at;
        QRgb expected;
    } rows[] = {
        {{2, 2, 4, 4}, {3, 3}, qRgb(255, 0, 0)},
        {{6, 6, 8, 8}, {3, 3}, qRgb(255, 0, 0)},
        {{6, 6, 8, 8}, {4, 4}, qRgb(255, 255, 255)},
        {{-3, 0, 5, 5}, {0, 0}, qRgb(255, 255, 255)},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CopyCell(picture, row.cell).pixel(row.at), row.expected) << row.at.x();
}

}  // namespace
}  // namespace tessaly
