#include "document/document_io.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>

#include "resources/string_table.h"
#include "services/settings.h"
#include "support/document_builder.h"
#include "support/message_recorder.h"
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

// Ways a target folder refuses a save. Each runs in a child process of its
// own, whose mounts and limits end with it; false when this machine cannot
// set it up.
bool WriteText(const char* path, const char* text) {
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::WriteOnly) && file.write(text) == qint64(qstrlen(text));
}

// Mounts made from here on are seen by this process alone.
bool PrivateMounts() {
    if (unshare(CLONE_NEWNS) != 0) {
        const QByteArray uid = QByteArray::number(geteuid()), gid = QByteArray::number(getegid());
        if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0 || !WriteText("/proc/self/setgroups", "deny") ||
            !WriteText("/proc/self/uid_map", ("0 " + uid + " 1").constData()) ||
            !WriteText("/proc/self/gid_map", ("0 " + gid + " 1").constData())) {
            return false;
        }
    }
    return mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

// A small file system of its own, holding the previous document and filled
// up to the last few KiB.
bool NearlyFullFolder(const QString& folder, const QString& previous) {
    const QByteArray kept = test::ReadFile(previous);
    if (!PrivateMounts() ||
        mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=512k") != 0) {
        return false;
    }
    test::WriteFile(folder, QFileInfo(previous).fileName(), kept);
    struct statvfs space {};
    if (statvfs(QFile::encodeName(folder).constData(), &space) != 0) return false;
    const qint64 room = qint64(space.f_bavail) * qint64(space.f_frsize);
    test::WriteFile(folder, u"filler"_qs, QByteArray(std::max<qint64>(0, room - 4096), 'f'));
    return true;
}

// No file may grow past half the previous document; the write fails instead
// of ending the program.
bool FileSizeLimit(const QString&, const QString& previous) {
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0) return false;
    limit.rlim_cur = rlim_t(QFileInfo(previous).size() / 2);
    signal(SIGXFSZ, SIG_IGN);
    return setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

bool ReadOnlyFolder(const QString& folder, const QString&) {
    const QByteArray path = QFile::encodeName(folder);
    if (PrivateMounts()) {
        return mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) == 0 &&
               mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
    }
    // Without mounts, permissions do it, except for the superuser.
    return geteuid() != 0 && chmod(path.constData(), 0555) == 0;
}

struct RefusingFolder {
    const char* name;
    bool (*prepare)(const QString& folder, const QString& previous);
    int message;  // what the one message shown ends with
    int style;
};

void PrintTo(const RefusingFolder& row, std::ostream* out) { *out << row.name; }

class RefusedSaveTest : public DocumentIoTest, public ::testing::WithParamInterface<RefusingFolder> {
protected:
    // What a save in a child process saw: its outcome, the messages shown
    // (style, and the row's message where the text ends with it), whether
    // the previous file is byte for byte as it was, and what is left in the
    // folder (the filler aside) and in the working folder. Empty when the
    // row cannot be set up here.
    QStringList SaveInChild(const QString& path) {
        const QByteArray previous = test::ReadFile(path);
        const QString report = QDir(temp.Path()).filePath(u"report"_qs);
        const pid_t child = fork();
        if (child < 0) {
            ADD_FAILURE() << "fork failed";
            return {};
        }
        if (child == 0) {
            if (!GetParam().prepare(docs, path)) _exit(kUnavailable);
            const bool saved = SaveDocument(doc, path);
            QStringList seen{saved ? u"saved"_qs : u"refused"_qs};
            const QString expected = LoadString(GetParam().message);
            for (const auto& shown : messages.Messages())
                seen << QString::number(shown.style) << (shown.text.endsWith(expected) ? expected : shown.text);
            seen << (test::ReadFile(path) == previous ? u"previous kept"_qs : u"previous changed"_qs);
            QStringList left = QDir(docs).entryList(QDir::Files | QDir::Hidden);
            left.removeAll(u"filler"_qs);
            seen << left.join(u' ') << WorkingFiles().join(u' ');
            test::WriteFile(temp.Path(), u"report"_qs, seen.join(u'\t').toUtf8());
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (WIFEXITED(status) && WEXITSTATUS(status) == kUnavailable) return {};
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
        return QString::fromUtf8(test::ReadFile(report)).split(u'\t');
    }

    static constexpr int kUnavailable = 77;
};

TEST_P(RefusedSaveTest, FailsWithAMessageAndKeepsThePreviousFile) {
    const QString path = PathOf(u"plan.tsd"_qs);
    ASSERT_TRUE(SaveDocument(doc, path));
    // Large enough to need more than the room left.
    test::AddNode(doc, 50, 50, 40, 30, test::JpegBytes(320, 240));
    doc.SetModified();

    const QStringList seen = SaveInChild(path);
    if (seen.isEmpty()) GTEST_SKIP() << GetParam().name << " cannot be set up here";
    const QStringList expected{u"refused"_qs, QString::number(GetParam().style),
                               LoadString(GetParam().message), u"previous kept"_qs, u"plan.tsd"_qs,
                               QString()};
    EXPECT_EQ(seen.join(u" | ").toStdString(), expected.join(u" | ").toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Folders, RefusedSaveTest,
    ::testing::Values(RefusingFolder{"nearly full", NearlyFullFolder, kMsgFileSaveFailed, kStyleStop},
                      RefusingFolder{"file size limit", FileSizeLimit, kMsgFileSaveFailed, kStyleStop},
                      RefusingFolder{"read-only", ReadOnlyFolder, kMsgNoWriteAccess, kStyleInformation}),
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
