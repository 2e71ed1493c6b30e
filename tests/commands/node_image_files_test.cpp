#include "commands/node_image_files.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <vector>

#include "commands/selection_edit_test.h"
#include "resources/string_table.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

class NodeImageFilesTest : public test::SelectionEditTest {
protected:
    void SetUp() override {
        SelectionEditTest::SetUp();
        // Shown at 100 x 100, the picture itself is 30 x 20.
        node = Add(0, 0, 100, 100, test::JpegBytes(30, 20));
        Select({node}, node);
    }

    QString PathOf(const QString& name) const { return QDir(temp.Path()).filePath(name); }

    int node = -1;
};

TEST_F(NodeImageFilesTest, ThePictureIsWrittenAtItsOwnSizeUnderANameOfAnImageType) {
    struct Row {
        const char* name;
        bool existing;
        int overwriteAnswer;
        bool written;
        QByteArray format;
        bool failureShown = false;
    };
    const Row rows[] = {
        {"a.png", false, 0, true, "png"},
        {"b.JPG", false, 0, true, "jpeg"},
        {"c.txt", false, 0, false, {}},         // no image type: nothing at all
        {"d.bmp", true, kResultNo, false, {}},  // kept as it was
        {"e.tiff", false, 0, true, "tiff"},
        {"f.png", true, kResultYes, true, "png"},
        {"no-folder/g.png", false, 0, false, {}, true},  // a failed write is not silent
    };
    for (const Row& row : rows) {
        const QString path = PathOf(QString::fromLatin1(row.name));
        if (row.existing) test::WriteFile(temp.Path(), QString::fromLatin1(row.name), "old");
        messages.Clear();
        // The folder is not shown: the recorder's own answer is No.
        if (row.existing) messages.QueueAnswer(row.overwriteAnswer);
        EXPECT_EQ(SaveNodeImage(doc, [&] { return path; }), row.written) << row.name;

        std::vector<QString> asked;
        if (row.existing) asked.push_back(LoadString(kMsgFileExistsOverwrite));
        if (row.written) asked.push_back(LoadString(kMsgSavedShowLocation));
        if (row.failureShown) {
            asked.push_back(QDir::toNativeSeparators(path) + u'\n' +
                            LoadString(kMsgFileSaveFailed));
        }
        EXPECT_EQ(messages.Texts(), asked) << row.name;
        QImageReader reader(path);
        if (row.written) {
            EXPECT_EQ(reader.format(), row.format) << row.name;
            EXPECT_EQ(reader.size(), QSize(30, 20)) << row.name;
        } else {
            EXPECT_EQ(QFileInfo(path).size(), row.existing ? 3 : 0) << row.name;
        }
    }
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(NodeImageFilesTest, NothingIsAskedWithoutAPictureAndCancellingWritesNothing) {
    int asked = 0;
    const ChooseFile count = [&] {
        ++asked;
        return QString();
    };
    EXPECT_FALSE(SaveNodeImage(doc, count));
    doc.Pictures().Release(doc.Node(node).picture);
    EXPECT_FALSE(SaveNodeImage(doc, count));
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(messages.Texts().empty());
}

TEST_F(NodeImageFilesTest, OnlyAnExistingImageFileReplacesThePicture) {
    const QString png =
        test::WriteFile(temp.Path(), u"new.png"_qs, test::PngBytes(test::Gradient(4, 4)));
    const QString text = test::WriteFile(temp.Path(), u"notes.txt"_qs, "x");
    const QString call = QString::number(node) + u'|' + png + u"|png"_qs;
    struct Row {
        QString path;
        QStringList calls;
    };
    for (const Row& row :
         {Row{png, {call}}, Row{text, {}}, Row{PathOf(u"gone.png"_qs), {}}, Row{{}, {}}}) {
        QStringList calls;
        ChangeNodeImage(
            doc, [&] { return row.path; },
            [&](int i, const QString& path, const QString& type) {
                calls << QString::number(i) + u'|' + path + u'|' + type;
                return true;
            });
        EXPECT_EQ(calls, row.calls) << row.path.toStdString();
    }
}

}  // namespace
}  // namespace tessaly
