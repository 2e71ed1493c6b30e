// Inputs the fuzzers once broke the readers with, replayed in every test run
// (and so under the sanitizers too).
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>

#include "document/cabinet_reader.h"
#include "document/document.h"
#include "document/document_file.h"
#include "support/message_recorder.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

QStringList Regressions(const QString& target) {
    QStringList files;
    QDirIterator it(QStringLiteral(TESSALY_FUZZ_REGRESSIONS) + u'/' + target, QDir::Files);
    while (it.hasNext()) files.append(it.next());
    return files;
}

TEST(FuzzRegressions, DocumentReaderInputsAreHandled) {
    test::MessageRecorder messages;
    const QStringList files = Regressions(u"document_reader"_qs);
    EXPECT_FALSE(files.isEmpty());
    for (const QString& file : files) {
        Document doc;
        ASSERT_TRUE(doc.AllocateNodeTables());
        const bool read = ReadDocumentBytes(test::ReadFile(file), doc, true);
        if (read) {
            EXPECT_LE(doc.State().nodeCount, kMaxNodes) << file.toStdString();
        } else {
            EXPECT_EQ(doc.State().nodeCount, 0) << file.toStdString();
        }
    }
}

TEST(FuzzRegressions, CabinetInputsAreHandled) {
    for (const QString& file : Regressions(u"cabinet_extract"_qs)) {
        const auto member = ReadCabinetMember(test::ReadFile(file));
        // A cabinet that claims far more than it holds is refused.
        EXPECT_FALSE(member) << file.toStdString();
    }
}

}  // namespace
}  // namespace tessaly
