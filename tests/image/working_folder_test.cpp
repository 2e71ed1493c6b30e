#include "image/working_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "resources/string_table.h"
#include "support/message_recorder.h"
#include "support/temp_env.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

TEST(WorkingFolder, IsCreatedInTheTemporaryFolderAndReused) {
    test::ScopedTempDir temp;
    test::MessageRecorder messages;
    const QString folder = WorkingFolder();
    EXPECT_EQ(QDir(folder).canonicalPath(), QDir(temp.WorkingFolderPath()).canonicalPath());
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_FALSE(folder.endsWith(u'/'));
    EXPECT_EQ(WorkingFolder(), folder);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(WorkingFolder, FailureIsReportedAndGivesNoPath) {
    test::ScopedTempDir temp;
    // A file where the folder should be: it cannot be created.
    test::WriteFile(temp.Path(), QStringLiteral("Tessaly"), "x");
    test::MessageRecorder messages;
    EXPECT_TRUE(WorkingFolder().isEmpty());
    EXPECT_EQ(messages.Texts(), std::vector<QString>{LoadString(kMsgWorkFolderFailed)});
    EXPECT_TRUE(NewTempFile().isEmpty());
}

TEST(NewTempFile, CreatesDistinctEmptyTsdFiles) {
    test::ScopedTempDir temp;
    const QString a = NewTempFile();
    const QString b = NewTempFile();
    ASSERT_FALSE(a.isEmpty());
    ASSERT_NE(a, b);
    for (const QString& path : {a, b}) {
        const QFileInfo info(path);
        EXPECT_TRUE(info.exists());
        EXPECT_EQ(info.size(), 0);
        EXPECT_TRUE(IsGeneratedTempName(info.fileName())) << path.toStdString();
        EXPECT_EQ(info.absoluteDir().canonicalPath(),
                  QDir(temp.WorkingFolderPath()).canonicalPath());
    }
}

TEST(CleanWorkingFolder, RemovesWhatTheProgramWroteAndKeepsOtherFiles) {
    test::ScopedTempDir temp;
    const QString folder = WorkingFolder();
    const QStringList ours = {u"tmp.jpeg"_qs, u"tmp.png"_qs, u"TSDa1b2c3.tmp"_qs};
    const QStringList others = {u"tmp.jpg"_qs, u"tmp.jpeg.txt"_qs, u"photo.jpeg"_qs};
    for (const QString& name : ours + others) test::WriteFile(folder, name, "x");
    CleanWorkingFolder();
    QStringList left = QDir(folder).entryList(QDir::Files);
    left.sort();
    QStringList expected = others;
    expected.sort();
    EXPECT_EQ(left, expected);
}

}  // namespace
}  // namespace tessaly
