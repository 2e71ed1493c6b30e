#include "document/cabinet.h"

#include <gtest/gtest.h>
#include <libgcab.h>
#include <sys/stat.h>

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QtEndian>

#include "resources/string_table.h"
#include "support/message_recorder.h"
#include "support/temp_env.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

// Runs a command-line tool and returns its standard output.
QByteArray RunTool(const QString& program, const QStringList& args, int* exitCode = nullptr) {
    QProcess process;
    process.start(program, args);
    process.waitForFinished(30000);
    if (exitCode) *exitCode = process.exitCode();
    return process.readAllStandardOutput();
}

// A cabinet holding `data` under `memberName`, made by libgcab without our code.
QString MakeCabinetWithMember(const QString& dir, const QByteArray& memberName,
                              const QByteArray& data) {
    const QString path = QDir(dir).filePath(QStringLiteral("crafted.tsd"));
    GBytes* bytes = g_bytes_new(data.constData(), static_cast<gsize>(data.size()));
    GCabFile* file = gcab_file_new_with_bytes(memberName.constData(), bytes);
    GCabFolder* folder = gcab_folder_new(GCAB_COMPRESSION_NONE);
    gcab_folder_add_file(folder, file, FALSE, nullptr, nullptr);
    GCabCabinet* cabinet = gcab_cabinet_new();
    gcab_cabinet_add_folder(cabinet, folder, nullptr);
    GFile* out = g_file_new_for_path(QFile::encodeName(path).constData());
    GFileOutputStream* stream =
        g_file_replace(out, nullptr, FALSE, G_FILE_CREATE_NONE, nullptr, nullptr);
    gcab_cabinet_write_simple(cabinet, G_OUTPUT_STREAM(stream), nullptr, nullptr, nullptr, nullptr);
    g_output_stream_close(G_OUTPUT_STREAM(stream), nullptr, nullptr);
    for (gpointer object : {gpointer(stream), gpointer(out), gpointer(cabinet), gpointer(folder),
                            gpointer(file)}) {
        g_object_unref(object);
    }
    g_bytes_unref(bytes);
    return path;
}

QStringList FilesUnder(const QString& dir) {
    QStringList files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) files.append(QDir(dir).relativeFilePath(it.next()));
    files.sort();
    return files;
}

class CabinetTest : public ::testing::Test {
protected:
    void SetUp() override {
        out = QDir(temp.Path()).filePath(QStringLiteral("out"));
        QDir().mkpath(out);
        inner = test::WriteFile(temp.Path(), QStringLiteral("plan.tsd"),
                                test::JpegBytes(200, 100) + QByteArray(5000, 'a'));
    }

    test::ScopedTempDir temp;
    test::MessageRecorder messages;
    QString out;
    QString inner;
};

TEST_F(CabinetTest, SavedCabinetIsStandardWithOneMemberOfTheInnerBytes) {
    const QString cabinet = QDir(out).filePath(QStringLiteral("plan.tsd"));
    ASSERT_TRUE(CompressCabinet(inner, QStringLiteral("plan.tsd"), cabinet));
    int code = -1;
    const QByteArray listing = RunTool(QStringLiteral("cabextract"), {u"-l"_qs, cabinet}, &code);
    ASSERT_EQ(code, 0) << listing.constData();
    EXPECT_TRUE(listing.contains("plan.tsd"));
    EXPECT_TRUE(listing.contains("All done, no errors"));
    EXPECT_EQ(RunTool(QStringLiteral("cabextract"), {u"-p"_qs, cabinet}), test::ReadFile(inner));
    // The member is dated with the inner file's last-write time, in local time.
    const QString written = QFileInfo(inner).lastModified().toString(u"dd.MM.yyyy hh:mm"_qs);
    EXPECT_TRUE(listing.contains(written.toLatin1())) << listing.constData();
    // Compressed with MSZIP: much smaller than the repetitive input.
    EXPECT_LT(QFileInfo(cabinet).size(), QFileInfo(inner).size());

    // Read back under another name, it still gives the member's own name.
    const QString renamed = QDir(temp.Path()).filePath(QStringLiteral("copy.tsd"));
    ASSERT_TRUE(QFile::rename(cabinet, renamed));
    const auto member = ReadCabinet(renamed);
    ASSERT_TRUE(member);
    EXPECT_EQ(member->name, u"plan.tsd");
    EXPECT_EQ(member->data, test::ReadFile(inner));
}

TEST_F(CabinetTest, LargeMembersSpanManyCompressedBlocks) {
    // Over 32 KiB, so later blocks refer back into earlier ones.
    QByteArray big;
    for (int i = 0; i < 40000; ++i) big.append(QByteArray::number(i * 7919 % 10007)).append(' ');
    big.append(test::JpegBytes(300, 300));
    const QString source = test::WriteFile(temp.Path(), u"big.tsd"_qs, big);
    const QString cabinet = QDir(out).filePath(u"big.tsd"_qs);
    ASSERT_TRUE(CompressCabinet(source, u"big.tsd"_qs, cabinet));
    const auto member = ReadCabinet(cabinet);
    ASSERT_TRUE(member);
    EXPECT_EQ(member->data, big);
}

TEST_F(CabinetTest, CabinetsOfOtherToolsAreRead) {
    for (const bool zip : {false, true}) {
        const QString cabinet = QDir(temp.Path()).filePath(zip ? u"zip.cab"_qs : u"plain.cab"_qs);
        QStringList args{u"-c"_qs, u"-n"_qs};
        if (zip) args << u"-z"_qs;
        int code = -1;
        RunTool(QStringLiteral("gcab"), args << cabinet << inner, &code);
        ASSERT_EQ(code, 0);
        const auto member = ReadCabinet(cabinet);
        ASSERT_TRUE(member) << zip;
        EXPECT_EQ(member->name, u"plan.tsd");
        EXPECT_EQ(member->data, test::ReadFile(inner));
    }
}

TEST_F(CabinetTest, SeveralMembersGiveTheLastOne) {
    const QString second = test::WriteFile(temp.Path(), u"second.bin"_qs, "the second member");
    const QString cabinet = QDir(temp.Path()).filePath(u"two.cab"_qs);
    int code = -1;
    RunTool(QStringLiteral("gcab"), {u"-c"_qs, u"-n"_qs, u"-z"_qs, cabinet, inner, second}, &code);
    ASSERT_EQ(code, 0);
    const auto member = ReadCabinet(cabinet);
    ASSERT_TRUE(member);
    EXPECT_EQ(member->name, u"second.bin");
    EXPECT_EQ(member->data, "the second member");
}

// The path leads the message, so the user knows which file it was.
TEST_F(CabinetTest, WhatIsNotACabinetIsRefusedWithItsPathAndFileCopy) {
    const QString fifo = QDir(temp.Path()).filePath(u"fifo.tsd"_qs);
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // The FIFO returns at once instead of waiting for a writer.
    for (const QString& path : {test::WriteFile(temp.Path(), u"bogus.tsd"_qs, "MSCF but not"),
                                QDir(temp.Path()).filePath(u"missing.tsd"_qs),
                                test::WriteFile(temp.Path(), u"empty.tsd"_qs, {}), fifo}) {
        messages.Clear();
        EXPECT_FALSE(ReadCabinet(path)) << path.toStdString();
        EXPECT_EQ(messages.Texts(),
                  std::vector<QString>{path + u"\n[File Copy]\n"_qs + LoadString(kMsgExtractFailed)});
        EXPECT_EQ(messages.Messages().front().style, kStyleStop);
    }
}

TEST_F(CabinetTest, DamagedCabinetsAreRefused) {
    // Small enough to cut at every length and flip a bit in every data byte.
    QByteArray small;
    for (int i = 0; i < 120; ++i) small.append(QByteArray::number(i * 37 % 101)).append(' ');
    const QString source = test::WriteFile(temp.Path(), u"small.tsd"_qs, small);
    const QString cabinet = QDir(out).filePath(u"small.tsd"_qs);
    ASSERT_TRUE(CompressCabinet(source, u"small.tsd"_qs, cabinet));
    const QByteArray good = test::ReadFile(cabinet);
    ASSERT_EQ(ReadCabinetMember(good)->data, small);
    for (qsizetype length = 0; length < good.size(); ++length) {
        EXPECT_FALSE(ReadCabinetMember(good.left(length))) << length;
    }

    // The first folder's data blocks begin where its entry (at 36) says; the
    // block's own header is 8 bytes; the member's folder index sits 8 bytes
    // into its entry, which the header's offset at 16 locates.
    const quint32 dataStart = qFromLittleEndian<quint32>(good.constData() + 36);
    for (qsizetype at = dataStart + 8; at < good.size(); ++at) {
        QByteArray flipped = good;
        flipped[at] = char(flipped[at] ^ (1 << (at % 8)));
        EXPECT_FALSE(ReadCabinetMember(flipped)) << at;
    }
    QByteArray pastTheFolders = good;
    const quint32 filesStart = qFromLittleEndian<quint32>(good.constData() + 16);
    qToLittleEndian<quint16>(1, pastTheFolders.data() + filesStart + 8);  // one folder: index 0
    EXPECT_FALSE(ReadCabinetMember(pastTheFolders));

    // A cabinet without checksums (all zero) is still read.
    QByteArray unsummed = good;
    qToLittleEndian<quint32>(0, unsummed.data() + dataStart);
    EXPECT_EQ(ReadCabinetMember(unsummed)->data, small);
}

TEST_F(CabinetTest, MemberNamesAreNeverUsedAsPaths) {
    const QByteArray payload = "inner";
    const QStringList before = FilesUnder(temp.Path());
    for (const QByteArray& name : {QByteArray("../escape.tsd"), QByteArray("/tmp/abs-escape.tsd"),
                                   QByteArray("sub\\win.tsd"), QByteArray("..")}) {
        const QString cabinet = MakeCabinetWithMember(temp.Path(), name, payload);
        const auto member = ReadCabinet(cabinet);
        ASSERT_TRUE(member) << name.constData();
        // Cabinets separate folders with backslashes.
        EXPECT_EQ(member->name, QString::fromUtf8(name).replace(u'/', u'\\'));
        EXPECT_EQ(member->data, payload);
        QFile::remove(cabinet);
    }
    EXPECT_EQ(FilesUnder(temp.Path()), before);
    EXPECT_FALSE(QFile::exists(u"/tmp/abs-escape.tsd"_qs));
}

TEST_F(CabinetTest, UnwritablePlaceReportsWithTheInformationIcon) {
    EXPECT_FALSE(CompressCabinet(inner, u"plan.tsd"_qs, QDir(out).filePath(u"no/such/x.tsd"_qs)));
    EXPECT_EQ(messages.Texts(), std::vector<QString>{LoadString(kMsgNoWriteAccess)});
    EXPECT_EQ(messages.Messages().front().style, kStyleInformation);
}

}  // namespace
}  // namespace tessaly
