#include "edits/export_canvas.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImageReader>

#include "canvas/canvas_image.h"
#include "edits/export_file_types.h"
#include "document/edited_document.h"
#include "resources/string_table.h"
#include "resources/ui_strings.h"
#include "services/message_service.h"
#include "support/document_builder.h"
#include "support/message_recorder.h"
#include "support/temp_env.h"
#include "support/test_images.h"
#include "support/work_progress_recorder.h"

namespace tessaly {
namespace {

TEST(ExportFileTypesTest, DefaultNameAndFilters) {
    const struct {
        QString title;
        QString name;
    } cases[] = {{QStringLiteral("plan.tsd"), QStringLiteral("plan")},
                 {QStringLiteral("無題のファイル"), QStringLiteral("無題のファイル")},
                 {QStringLiteral("a.b.tsd"), QStringLiteral("a.b")},
                 {QStringLiteral("x\r\ny\nz.tsd"), QStringLiteral("xyz")}};
    for (const auto& c : cases) EXPECT_EQ(DefaultExportName(c.title), c.name) << c.title.toStdString();

    const QStringList& filters = ExportQtFilters();
    ASSERT_EQ(filters.size(), 12);
    EXPECT_EQ(filters[0], QStringLiteral("モノクロ BITMAPファイル(*.bmp) (*.bmp)"));
    EXPECT_EQ(filters[JpegExportIndex() - 1], QStringLiteral("JPEGファイル(*.jpeg) (*.jpeg)"));
    EXPECT_EQ(FilterExtension(filters[11]), QStringLiteral("tiff"));
}

class ExportCanvasTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.ResetDocument());
        DocState& s = doc.State();
        s.canvasWidth = 1000;
        s.canvasHeight = 1000;
        s.zoom = 0.5f;
        test::AddNode(doc, 300, 300, 50, 50, test::JpegOfExactSize(2000));
        test::AddNode(doc, 600, 600, 50, 50, test::JpegOfExactSize(2000));
        doc.Mark(0).selected = 1;
        doc.Mark(1).selected = 1;
        s.mainSelection = 1;
    }

    // Runs an export to `name` as type `index`; `quality` nothing: cancelled.
    bool Export(const QString& name, int index, std::optional<int> quality = 90) {
        path = temp.Path() + u'/' + name;
        ExportDialogs dialogs;
        dialogs.chooseFile = [this, index](const QString&) {
            return std::optional<ExportTarget>(ExportTarget{path, index});
        };
        dialogs.chooseQuality = [quality] { return quality; };
        return ExportCanvasImage(edited, QStringLiteral("plan.tsd"), dialogs);
    }

    test::ScopedTempDir temp;
    test::MessageRecorder messages;
    EditedDocument edited;
    Document& doc = edited.Doc();
    QString path;
};

// "yes" keeps the zoom, "no" renders at 100 %; the nodes end deselected
// while the main selection keeps its index.
TEST_F(ExportCanvasTest, ZoomAnswerSetsTheSize) {
    const struct {
        int answer;
        int side;
    } cases[] = {{kResultYes, 500}, {kResultNo, 1000}};
    for (const auto& c : cases) {
        messages.QueueAnswer(c.answer);
        ASSERT_TRUE(Export(QStringLiteral("out%1.png").arg(c.side), 11));
        EXPECT_EQ(QImageReader(path).size(), QSize(c.side, c.side));
        EXPECT_FALSE(doc.IsSelected(0) || doc.IsSelected(1));
        EXPECT_EQ(doc.State().mainSelection, 1);
    }
}

// The file's content follows its name when the name's extension names a
// type other than the chosen one; only a JPEG asks for a quality.
TEST_F(ExportCanvasTest, TheNameDecidesTheTypeAndAFailedWriteIsReported) {
    const struct {
        const char* name;
        int chosen;
        QByteArray written;
        bool asksQuality;
    } cases[] = {{"out.jpg", JpegExportIndex(), "jpeg", true},
                 {"out.png", JpegExportIndex(), "png", false},
                 {"out.tif", 11, "tiff", false},
                 {"out.bmp", 11, "bmp", false},
                 {"out.jpeg", 2, "jpeg", true},
                 {"out.xyz", 10, "gif", false}};
    for (const auto& c : cases) {
        messages.Clear();
        messages.QueueAnswer(kResultYes);
        // A cancelled quality stops a JPEG export; others never ask.
        const bool exported = Export(QString::fromLatin1(c.name), c.chosen, std::nullopt);
        EXPECT_EQ(exported, !c.asksQuality) << c.name;
        if (!c.asksQuality) {
            QImageReader reader(path);
            reader.setDecideFormatFromContent(true);
            EXPECT_EQ(reader.format(), c.written) << c.name;
        }
        if (c.asksQuality) {
            EXPECT_TRUE(Export(QString::fromLatin1(c.name), c.chosen)) << c.name;
        }
    }
    EXPECT_EQ(ExportTypeForPath(QStringLiteral("a.bmp"), 11), 7);  // 24 bits
    EXPECT_EQ(ExportTypeForPath(QStringLiteral("a.bmp"), 5), 5);   // the chosen BMP kind
    EXPECT_EQ(ExportTypeForPath(QStringLiteral("a"), 12), 12);

    messages.Clear();
    messages.QueueAnswer(kResultYes);
    EXPECT_FALSE(Export(QStringLiteral("missing/out.png"), 11));
    ASSERT_FALSE(messages.Texts().empty());
    EXPECT_TRUE(messages.Texts().back().endsWith(QStringLiteral("ファイルの保存に失敗しました")));
}

// A BMP type writes its own pixel format: 8 bits of 1000 x 1000 at 100 %.
TEST_F(ExportCanvasTest, BmpTypeChoosesThePixelFormat) {
    messages.QueueAnswer(kResultNo);
    ASSERT_TRUE(Export(QStringLiteral("out.bmp"), 4));
    EXPECT_EQ(QFileInfo(path).size(), 1001078);
}

// Cancelling the quality, refusing to overwrite or cancelling the zoom
// question writes nothing and leaves the selection alone.
TEST_F(ExportCanvasTest, CancelWritesNothing) {
    EXPECT_FALSE(Export(QStringLiteral("q.jpeg"), JpegExportIndex(), std::nullopt));
    EXPECT_FALSE(QFile::exists(path));

    EXPECT_FALSE(Export(QStringLiteral("z.png"), 11));  // the zoom question answers Cancel
    EXPECT_FALSE(QFile::exists(path));

    QFile existing(temp.Path() + QStringLiteral("/old.png"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("old");
    existing.close();
    messages.QueueAnswer(kResultNo);
    EXPECT_FALSE(Export(QStringLiteral("old.png"), 11));
    EXPECT_EQ(QFileInfo(path).size(), 3);
    EXPECT_TRUE(doc.IsSelected(0) && doc.IsSelected(1));
}

// The export is followed as long work. Cancelled, it leaves the earlier file
// as it was and says nothing of success; followed to the end, its bands give
// the picture painted at once.
TEST_F(ExportCanvasTest, ProgressIsShownAndCancelKeepsTheEarlierFile) {
    test::WriteFile(temp.Path(), u"out.png"_qs, "the earlier picture");
    {
        const test::WorkProgressRecorder cancelling(1);
        messages.QueueAnswer(kResultYes);  // overwrite
        messages.QueueAnswer(kResultNo);   // at 100 %
        EXPECT_FALSE(Export(u"out.png"_qs, 11));
        EXPECT_EQ(test::ReadFile(path), "the earlier picture");
        EXPECT_EQ(messages.Texts(), (std::vector<QString>{LoadString(kMsgFileExistsOverwrite),
                                                          LoadString(kMsgSaveAtCurrentZoom)}));
        ASSERT_EQ(cancelling.Works().size(), 1u);
        EXPECT_EQ(cancelling.Works().front().steps.size(), 1u);
    }

    const test::WorkProgressRecorder recorder;
    messages.QueueAnswer(kResultYes);
    messages.QueueAnswer(kResultNo);
    ASSERT_TRUE(Export(u"out.png"_qs, 11));
    ASSERT_EQ(recorder.Works().size(), 1u);
    const auto& work = recorder.Works().front();
    EXPECT_EQ(work.label, ui_text::kExportingImage);
    EXPECT_GT(work.steps.size(), 2u);
    EXPECT_EQ(work.steps.back(), work.total);
    EXPECT_TRUE(work.ended);
    CanvasImageRequest whole;
    whole.viewMarks = false;
    EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB32), RenderCanvasImage(doc, whole));
}

}  // namespace
}  // namespace tessaly
