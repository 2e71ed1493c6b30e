#include "edits/node_image_files.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <vector>

#include "edits/selection_edit_test.h"
#include "resources/string_table.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

class NodeImageFilesTest : public test::SelectionEditTest {
protected:
    void SetUp() override {
        SelectionEditTest::SetUp();
        // Shown at 100 x 100, the picture itself is 30 x 20.
        Select({Add(0, 0, 100, 100, test::JpegBytes(30, 20))}, 0);
    }
};

TEST_F(NodeImageFilesTest, ThePictureIsWrittenAtItsOwnSizeUnderANameOfAnImageType) {
    struct Row {
        QString name;
        int overwriteAnswer;  // 0: no such file yet
        QByteArray format;    // empty: nothing written
        int failed = 0;       // the message shown when the write failed
    };
    const Row rows[] = {
        {u"a.png"_qs, 0, "png"},
        {u"b.txt"_qs, 0, {}},  // no image type: nothing at all
        {u"c.bmp"_qs, kResultNo, {}},
        {u"d.tiff"_qs, kResultYes, "tiff"},
        {u"no-folder/e.jpg"_qs, 0, {}, kMsgFileSaveFailed},
    };
    for (const Row& row : rows) {
        const QString path = QDir(temp.Path()).filePath(row.name);
        std::vector<QString> asked;
        if (row.overwriteAnswer != 0) {
            test::WriteFile(temp.Path(), row.name, "old");
            messages.QueueAnswer(row.overwriteAnswer);
            asked.push_back(LoadString(kMsgFileExistsOverwrite));
        }
        // The folder is not shown: the recorder answers No on its own.
        if (!row.format.isEmpty()) asked.push_back(LoadString(kMsgSavedShowLocation));
        if (row.failed)
            asked.push_back(QDir::toNativeSeparators(path) + u'\n' + LoadString(row.failed));
        messages.Clear();

        EXPECT_EQ(SaveNodeImage(doc, [&] { return path; }), !row.format.isEmpty())
            << row.name.toStdString();
        EXPECT_EQ(messages.Texts(), asked);
        QImageReader reader(path);
        EXPECT_EQ(reader.format(), row.format);
        EXPECT_EQ(reader.size(), row.format.isEmpty() ? QSize() : QSize(30, 20));
        EXPECT_EQ(QFileInfo(path).size() == 3, row.overwriteAnswer == kResultNo);  // kept
    }
    EXPECT_FALSE(doc.IsModified());
}

}  // namespace
}  // namespace tessaly
