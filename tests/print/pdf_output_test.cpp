#include "print/pdf_output.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QPageLayout>

#include "document/document.h"
#include "resources/string_table.h"
#include "resources/ui_strings.h"
#include "support/document_builder.h"
#include "support/message_recorder.h"
#include "support/temp_env.h"
#include "support/work_progress_recorder.h"

namespace tessaly {
namespace {

const QByteArray kEarlier = "%PDF-1.4 the earlier print\n";

class PdfOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.AllocateNodeTables());
        test::FillDocument(doc, 3);
        doc.State().canvasWidth = 1000;
        doc.State().canvasHeight = 1000;
        folder = QDir(temp.Path()).filePath(u"prints"_qs);
        QDir().mkpath(folder);
        path = QDir(folder).filePath(u"out.pdf"_qs);
        // Two pages across of a 1000-pixel canvas on A4.
        request.metrics = {300, 300, 0, 0, 2480, 3508};
        request.across = 2;
        request.pages = {1, 2};
    }

    static void WriteEarlier(const QString& file) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(kEarlier) == kEarlier.size());
    }

    // The job's outcome, the messages shown, whether the earlier file is as
    // it was, and the files the folder holds.
    QString Print(const QString& target) {
        const PrintOutcome outcome = PrintCanvasToPdf(
            target, QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, {}), doc, request);
        QStringList seen{outcome.failed      ? u"failed"_qs
                         : outcome.cancelled ? u"cancelled"_qs
                                             : u"printed"_qs};
        for (const auto& shown : messages.Messages())
            seen << QString::number(shown.style) + u' ' + shown.text;
        QFile file(target);
        seen << (file.open(QIODevice::ReadOnly) && file.readAll() == kEarlier ? u"earlier kept"_qs
                                                                              : u"earlier gone"_qs);
        QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        files.removeAll(u"filler"_qs);
        seen << files.join(u' ');
        return seen.join(u" | ");
    }

    QString Failure(const QString& target) const {
        return u"16 "_qs + QDir::toNativeSeparators(target) + u'\n' +
               LoadString(kMsgFileSaveFailed);
    }

    test::ScopedTempDir temp;
    test::MessageRecorder messages;
    Document doc;
    QString folder;
    QString path;
    PrintRequest request;
};

TEST_F(PdfOutputTest, PlaceThatCannotHoldAFileIsReported) {
    // A folder that is a plain file: refused even to the superuser.
    WriteEarlier(QDir(folder).filePath(u"plain"_qs));
    const QString target = QDir(folder).filePath(u"plain/out.pdf"_qs);
    EXPECT_EQ(
        Print(target).toStdString(),
        (QStringList{u"failed"_qs, Failure(target), u"earlier gone"_qs, u"plain"_qs}.join(u" | "))
            .toStdString());
}

TEST_F(PdfOutputTest, CancelledJobLeavesTheEarlierFile) {
    WriteEarlier(path);
    test::WorkProgressRecorder progress(1);
    EXPECT_EQ(Print(path).toStdString(), "cancelled | earlier kept | out.pdf");
    ASSERT_EQ(progress.Works().size(), 1u);
    EXPECT_EQ(progress.Works()[0].label, ui_text::kPrinting.toString());
    EXPECT_EQ(progress.Works()[0].total, 2);
}

TEST_F(PdfOutputTest, WriteThatFailsHalfwayLeavesTheEarlierFile) {
    WriteEarlier(path);
    // No file may grow past 4 KiB while the job runs, as on a nearly full disk.
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    rlimit limit = before;
    limit.rlim_cur = 4096;
    const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const QString seen = Print(path);
    setrlimit(RLIMIT_FSIZE, &before);
    signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(
        seen.toStdString(),
        (QStringList{u"failed"_qs, Failure(path), u"earlier kept"_qs, u"out.pdf"_qs}.join(u" | "))
            .toStdString());
}

}  // namespace
}  // namespace tessaly
