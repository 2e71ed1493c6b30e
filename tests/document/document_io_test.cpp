#include "document/document_io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <optional>

#include "image/regular_file.h"
#include "resources/string_table.h"
#include "services/settings.h"
#include "support/document_builder.h"
#include "support/message_recorder.h"
#include "support/refusing_folder.h"
#include "support/temp_env.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

QByteArray MemberOf(const QString& cabinet) {
    QProcess process;
    process.start(QStringLiteral("cabextract"), {u"-p"_qs, cabinet});
    process.waitForFinished(30000);
    return process.readAllStandardOutput();
}

class DocumentIoTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseSettingsFile(QDir(temp.Path()).filePath(u"settings.ini"_qs));
        ASSERT_TRUE(doc.AllocateNodeTables());
        ASSERT_TRUE(other.AllocateNodeTables());
        test::FillDocument(doc, 6);
        doc.SetModified();
        docs = QDir(temp.Path()).filePath(u"文書"_qs);
        QDir().mkpath(docs);
    }
    void TearDown() override { UseSettingsFile({}); }

    QString PathOf(const QString& name) const { return QDir(docs).filePath(name); }
    QStringList WorkingFiles() const {
        return QDir(temp.WorkingFolderPath()).entryList(QDir::Files | QDir::Hidden);
    }

    test::ScopedTempDir temp;
    test::MessageRecorder messages;
    Document doc;
    Document other;
    QString docs;
};

TEST_F(DocumentIoTest, SaveThenOpenGivesTheSameDocument) {
    const QString path = PathOf(u"plan.tsd"_qs);
    ASSERT_TRUE(SaveDocument(doc, path));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(GetProfileString(u"Last"_qs, u"FilePath"_qs), path);
    EXPECT_EQ(MemberOf(path), test::InnerFileOf(doc));

    other.SetModified();
    other.Mark(0).selected = 1;
    ASSERT_TRUE(OpenDocument(other, path));
    EXPECT_EQ(test::InnerFileOf(other), test::InnerFileOf(doc));
    EXPECT_FALSE(other.IsModified());
    EXPECT_EQ(other.State().mainSelection, -1);
    EXPECT_EQ(other.Mark(0).selected, 0);
    EXPECT_TRUE(messages.Messages().empty());
    // The inner file lives in the working folder only while it is needed.
    EXPECT_TRUE(WorkingFiles().isEmpty()) << WorkingFiles().join(u' ').toStdString();
}

TEST_F(DocumentIoTest, ExtensionIsCheckedInAnyCaseAndSilently) {
    ASSERT_TRUE(SaveDocument(doc, PathOf(u"photo.TSD"_qs)));
    EXPECT_TRUE(OpenDocument(other, PathOf(u"photo.TSD"_qs)));
    QFile::copy(PathOf(u"photo.TSD"_qs), PathOf(u"photo.tsdx"_qs));
    EXPECT_FALSE(OpenDocument(other, PathOf(u"photo.tsdx"_qs)));
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(DocumentIoTest, MissingFileFolderAndFifoAreReported) {
    const QString missing = PathOf(u"gone.tsd"_qs), fifo = PathOf(u"fifo.tsd"_qs);
    QDir().mkpath(PathOf(u"folder.tsd"_qs));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // The FIFO at once, without waiting for a writer.
    for (const QString& path : {missing, PathOf(u"folder.tsd"_qs), fifo})
        EXPECT_FALSE(OpenDocument(other, path)) << path.toStdString();
    EXPECT_EQ(messages.Texts(),
              (std::vector<QString>{missing + u'\n' + LoadString(kMsgFileNotFound),
                                    LoadString(kMsgFolderCannotOpen),
                                    fifo + u'\n' + LoadString(kMsgFileOpenFailed)}));
}

TEST_F(DocumentIoTest, FailedOpenLeavesTheDocumentAsItWas) {
    const QByteArray before = test::InnerFileOf(doc);
    const QString bogus = test::WriteFile(docs, u"bogus.tsd"_qs, "not a cabinet");
    EXPECT_FALSE(OpenDocument(doc, bogus));
    EXPECT_EQ(test::InnerFileOf(doc), before);
    EXPECT_TRUE(doc.IsModified());

    // A real cabinet around a damaged inner file.
    ASSERT_TRUE(SaveDocument(other, PathOf(u"empty.tsd"_qs)));
    const QString damaged = test::WriteFile(temp.Path(), u"damaged.tsd"_qs, "TSD00164  short");
    QProcess gcab;
    gcab.start(u"gcab"_qs, {u"-c"_qs, u"-n"_qs, u"-z"_qs, PathOf(u"damaged-cab.tsd"_qs), damaged});
    ASSERT_TRUE(gcab.waitForFinished(30000));
    messages.Clear();
    EXPECT_FALSE(OpenDocument(doc, PathOf(u"damaged-cab.tsd"_qs)));
    EXPECT_EQ(messages.Texts(), std::vector<QString>{LoadString(kMsgWrongFileFormat)});
    EXPECT_EQ(test::InnerFileOf(doc), before);
    EXPECT_TRUE(WorkingFiles().isEmpty());
}

TEST_F(DocumentIoTest, BackupKeepsThePreviousFileWhenAskedFor) {
    const QString path = PathOf(u"x.tsd"_qs);
    ASSERT_TRUE(SaveDocument(doc, path));
    const QByteArray first = test::ReadFile(path);
    test::AddNode(doc, 5, 5, 5, 5, test::JpegBytes(10, 10));
    ASSERT_TRUE(SaveDocument(doc, path));
    EXPECT_EQ(test::ReadFile(PathOf(u"x(back).TSD"_qs)), first);
    EXPECT_NE(test::ReadFile(path), first);

    QFile::remove(PathOf(u"x(back).TSD"_qs));
    WriteProfileInt(u"SYS"_qs, u"MakeBackup"_qs, 0);
    ASSERT_TRUE(SaveDocument(doc, path));
    EXPECT_FALSE(QFile::exists(PathOf(u"x(back).TSD"_qs)));
    EXPECT_EQ(MemberOf(path), test::InnerFileOf(doc));
}

TEST_F(DocumentIoTest, FailedBackupLeavesTheTargetAndTheDocumentModified) {
    const QString path = PathOf(u"y.tsd"_qs);
    ASSERT_TRUE(SaveDocument(doc, path));
    const QByteArray saved = test::ReadFile(path);
    WriteProfileString(u"Last"_qs, u"FilePath"_qs, u"earlier"_qs);
    QDir().mkpath(PathOf(u"y(back).TSD"_qs));  // the backup cannot be written
    test::AddNode(doc, 5, 5, 5, 5, test::JpegBytes(10, 10));
    doc.SetModified();
    EXPECT_FALSE(SaveDocument(doc, path));
    EXPECT_EQ(messages.Texts(), std::vector<QString>{PathOf(u"y(back).TSD"_qs) + u'\n' +
                                                     LoadString(kMsgBackupFailed)});
    EXPECT_EQ(test::ReadFile(path), saved);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(GetProfileString(u"Last"_qs, u"FilePath"_qs), u"earlier");
    EXPECT_EQ(QDir(docs).entryList(QDir::Files | QDir::Hidden), QStringList{u"y.tsd"_qs});
}

TEST_F(DocumentIoTest, TargetWithoutADotCannotBeBackedUp) {
    const QString path = PathOf(u"noext"_qs);
    test::WriteFile(docs, u"noext"_qs, "old content");
    EXPECT_FALSE(SaveDocument(doc, path));
    EXPECT_EQ(messages.Texts(), std::vector<QString>{LoadString(kMsgBackupFailed)});
    EXPECT_EQ(test::ReadFile(path), "old content");
}

TEST_F(DocumentIoTest, UnwritableFolderReportsNoAccess) {
    EXPECT_FALSE(SaveDocument(doc, PathOf(u"missing-folder/z.tsd"_qs)));
    EXPECT_EQ(messages.Texts(), std::vector<QString>{LoadString(kMsgNoWriteAccess)});
    EXPECT_EQ(messages.Messages().front().style, kStyleInformation);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocumentIoTest, WritingSafelyRecordsNothingAndKeepsNoBackup) {
    const QString path = PathOf(u"batch.tsd"_qs);
    test::WriteFile(docs, u"batch.tsd"_qs, "previous");
    ASSERT_TRUE(WriteDocumentSafely(doc, path, true));
    EXPECT_EQ(MemberOf(path), test::InnerFileOf(doc));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(GetProfileString(u"Last"_qs, u"FilePath"_qs).isEmpty());
    EXPECT_EQ(QDir(docs).entryList(QDir::Files | QDir::Hidden), QStringList{u"batch.tsd"_qs});
}

TEST_F(DocumentIoTest, WhatAnInterruptedSaveLeftIsRemovedByTheNextSave) {
    const QString path = PathOf(u"plan.tsd"_qs);
    test::WriteFile(docs, u".plan.tsd.TSDa1b2c3"_qs, "partial");
    test::WriteFile(docs, u".other.tsd.TSDa1b2c3"_qs, "another document's");
    ASSERT_TRUE(SaveDocument(doc, path));
    EXPECT_EQ(QDir(docs).entryList(QDir::Files | QDir::Hidden),
              (QStringList{u".other.tsd.TSDa1b2c3"_qs, u"plan.tsd"_qs}));
}

QByteArray ReadNative(const QByteArray& path) {
    QFile file;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) return {};
    return file.readAll();
}

// A document whose name is not text is reached through a link in the
// working folder; saving writes the file of that name, with its backup
// beside it, and the link stays a link.
TEST_F(DocumentIoTest, ANameThatIsNotTextIsSavedUnderItsOwnName) {
    ASSERT_TRUE(SaveDocument(doc, PathOf(u"plain.tsd"_qs)));
    const QByteArray original = test::ReadFile(PathOf(u"plain.tsd"_qs));
    const QByteArray native = QFile::encodeName(docs) + "/caf\xff.tsd";
    {
        QFile file;
        const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        ASSERT_TRUE(fd >= 0 && file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
        ASSERT_EQ(file.write(original), original.size());
    }
    NativePaths paths;
    const QString link = paths.FromBytes(native);
    ASSERT_TRUE(OpenDocument(other, link));
    test::AddNode(other, 5, 5, 5, 5, test::JpegBytes(10, 10));
    other.SetModified();

    ASSERT_TRUE(SaveDocument(other, link));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ReadNative(QFile::encodeName(docs) + "/caf\xff(back).TSD"), original);
    Document reread;
    ASSERT_TRUE(reread.AllocateNodeTables());
    ASSERT_TRUE(OpenDocument(reread, link));
    EXPECT_EQ(test::InnerFileOf(reread), test::InnerFileOf(other));
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(DocumentIoTest, AFolderInTheTargetsPlaceIsReportedAsSuch) {
    const QString path = PathOf(u"folder.tsd"_qs);
    QDir().mkpath(path);
    EXPECT_FALSE(SaveDocument(doc, path));
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_TRUE(messages.Texts().front().startsWith(path + u'\n'));
    EXPECT_TRUE(messages.Texts().front().endsWith(u'\n' + LoadString(kMsgFileSaveFailed)));
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_TRUE(doc.IsModified());
}

struct RefusingFolder {
    const char* name;
    bool (*prepare)(const QString& folder, const QString& previous);
    int message;  // what the one message shown ends with
    int style;
    bool pathLeads;  // the message begins with the path's line
};

void PrintTo(const RefusingFolder& row, std::ostream* out) { *out << row.name; }

class RefusedSaveTest : public DocumentIoTest, public ::testing::WithParamInterface<RefusingFolder> {
protected:
    // What a save in a child process saw: its outcome, the messages shown
    // (style, and the row's message where the text ends with it, preceded by
    // "path" where the path's line leads), whether the previous file is byte
    // for byte as it was, and what is left in the folder (the filler aside)
    // and in the working folder. Nothing when the row cannot be set up here.
    std::optional<QStringList> SaveInChild(const QString& path) {
        const QByteArray previous = test::ReadFile(path);
        return test::InChildProcess([&] { return GetParam().prepare(docs, path); },
                                    [&] {
            const bool saved = SaveDocument(doc, path);
            QStringList seen{saved ? u"saved"_qs : u"refused"_qs};
            const QString expected = LoadString(GetParam().message);
            for (const auto& shown : messages.Messages()) {
                seen << QString::number(shown.style);
                if (shown.text.startsWith(path + u'\n')) seen << u"path"_qs;
                seen << (shown.text.endsWith(expected) ? expected : shown.text);
            }
            seen << (test::ReadFile(path) == previous ? u"previous kept"_qs : u"previous changed"_qs);
            QStringList left = QDir(docs).entryList(QDir::Files | QDir::Hidden);
            left.removeAll(u"filler"_qs);
            seen << left.join(u' ') << WorkingFiles().join(u' ');
            return seen;
        });
    }
};

TEST_P(RefusedSaveTest, FailsWithAMessageAndKeepsThePreviousFile) {
    const QString path = PathOf(u"plan.tsd"_qs);
    ASSERT_TRUE(SaveDocument(doc, path));
    // Large enough to need more than the room left.
    test::AddNode(doc, 50, 50, 40, 30, test::JpegBytes(320, 240));
    doc.SetModified();

    const std::optional<QStringList> seen = SaveInChild(path);
    if (!seen) GTEST_SKIP() << GetParam().name << " cannot be set up here";
    QStringList expected{u"refused"_qs, QString::number(GetParam().style)};
    if (GetParam().pathLeads) expected << u"path"_qs;
    expected << LoadString(GetParam().message) << u"previous kept"_qs << u"plan.tsd"_qs << QString();
    EXPECT_EQ(seen->join(u" | ").toStdString(), expected.join(u" | ").toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Folders, RefusedSaveTest,
    ::testing::Values(
        RefusingFolder{"nearly full", test::NearlyFullFolder, kMsgDiskFull, kStyleStop, true},
        RefusingFolder{"file size limit", test::FileSizeLimit, kMsgFileSaveFailed, kStyleStop, true},
        RefusingFolder{"read-only", test::ReadOnlyFolder, kMsgNoWriteAccess, kStyleInformation,
                       false}),
    [](const ::testing::TestParamInfo<RefusingFolder>& row) {
        std::string name = row.param.name;
        for (char& c : name)
            if (c == ' ' || c == '-') c = '_';
        return name;
    });

TEST(BackupPathFor, CutsAtTheLastDot) {
    EXPECT_EQ(BackupPathFor(u"/a/b.tsd"_qs), u"/a/b(back).TSD");
    EXPECT_EQ(BackupPathFor(u"/a/b.c.tsd"_qs), u"/a/b.c(back).TSD");
    EXPECT_EQ(BackupPathFor(u"/a.d/b"_qs), u"");
}

}  // namespace
}  // namespace tessaly
