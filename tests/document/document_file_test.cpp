#include "document/document_file.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QtEndian>
#include <cmath>
#include <cstring>

#include "resources/string_table.h"
#include "support/document_builder.h"
#include "support/message_recorder.h"
#include "support/status_recorder.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

constexpr int kEmptyInnerSize = 10 + 3240 + 4;

quint32 BigEndianAt(const QByteArray& bytes, qsizetype at) {
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

class DocumentFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.AllocateNodeTables());
        ASSERT_TRUE(target.AllocateNodeTables());
    }

    // Reads `bytes` into `target`.
    bool Read(const QByteArray& bytes, bool quiet = true) {
        QByteArray copy = bytes;
        QBuffer buffer(&copy);
        buffer.open(QIODevice::ReadOnly);
        return ReadDocumentFile(buffer, target, quiet);
    }

    test::MessageRecorder messages;
    Document doc;
    Document target;
};

TEST_F(DocumentFileTest, EmptyDocumentIsHeaderStateAndCount) {
    const QByteArray bytes = test::InnerFileOf(doc);
    ASSERT_EQ(bytes.size(), kEmptyInnerSize);
    EXPECT_EQ(bytes.left(10), QByteArrayLiteral("TSD00164  "));
    EXPECT_EQ(BigEndianAt(bytes, 3250), 0u);
}

TEST_F(DocumentFileTest, OneNodeOfAThousandBytePicture) {
    test::AddNode(doc, 50, 60, 10, 12, test::JpegOfExactSize(1000));
    const QByteArray bytes = test::InnerFileOf(doc);
    ASSERT_EQ(bytes.size(), kEmptyInnerSize + 120 + 4 + 1000);
    EXPECT_EQ(BigEndianAt(bytes, 3250), 1u);                   // the count, big-endian
    EXPECT_EQ(BigEndianAt(bytes, 3254 + 120), 1000u);          // the blob length, big-endian
    EXPECT_EQ(bytes.mid(3254 + 124), test::JpegOfExactSize(1000));
    // Inside the record everything is little-endian: centerX = 50 at offset 0.
    EXPECT_EQ(static_cast<quint8>(bytes[3254]), 50);
    EXPECT_EQ(static_cast<quint8>(bytes[3255]), 0);
}

TEST_F(DocumentFileTest, BackgroundBlobFollowsTheStateBlock) {
    const QByteArray background = test::JpegOfExactSize(900);
    doc.State().backPicture = doc.Pictures().Adopt(*ImageBlob::FromEncoded(background));
    const QByteArray bytes = test::InnerFileOf(doc);
    ASSERT_EQ(bytes.size(), kEmptyInnerSize + 4 + 900);
    EXPECT_EQ(BigEndianAt(bytes, 3250), 900u);
    EXPECT_EQ(bytes.mid(3254, 900), background);
    EXPECT_EQ(BigEndianAt(bytes, 3254 + 900), 0u);
}

TEST_F(DocumentFileTest, PictureFieldsCarryNoAddressesSoSavingIsReproducible) {
    test::FillDocument(doc, 5, false);
    const QByteArray first = test::InnerFileOf(doc);
    const QByteArray second = test::InnerFileOf(doc);
    EXPECT_EQ(first, second);
    // The stored picture field of the first record is the marker 1.
    quint64 stored = 0;
    std::memcpy(&stored, first.constData() + kEmptyInnerSize + 16, 8);
    EXPECT_EQ(stored, 1u);
}

TEST_F(DocumentFileTest, RoundTripKeepsSettingsRecordsAndPictureBytes) {
    test::FillDocument(doc, 12);
    doc.Node(3).picture = PictureRef{};  // a node without a picture
    ASSERT_TRUE(Read(test::InnerFileOf(doc)));
    const DocState& a = doc.State();
    const DocState& b = target.State();
    EXPECT_EQ(b.nodeCount, 12);
    EXPECT_FLOAT_EQ(b.zoom, 0.5f);
    EXPECT_EQ(b.canvasWidth, 1600);
    EXPECT_EQ(b.backHistogram[5], 77);
    EXPECT_EQ(target.Picture(b.backPicture)->Encoded(), doc.Picture(a.backPicture)->Encoded());
    for (int i = 0; i < 12; ++i) {
        NodeRecord x = doc.Node(i);
        NodeRecord y = target.Node(i);
        const ImageBlob* px = doc.Picture(x.picture);
        const ImageBlob* py = target.Picture(y.picture);
        ASSERT_EQ(px == nullptr, py == nullptr) << i;
        if (px) {
            EXPECT_EQ(px->Encoded(), py->Encoded()) << i;
        }
        x.picture = y.picture = PictureRef{};
        EXPECT_EQ(std::memcmp(&x, &y, sizeof x), 0) << i;
    }
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(DocumentFileTest, ReadingReplacesEverythingAndReleasesOldPictures) {
    test::FillDocument(target, 20);
    test::FillDocument(doc, 2, false);
    ASSERT_TRUE(Read(test::InnerFileOf(doc)));
    EXPECT_EQ(target.State().nodeCount, 2);
    EXPECT_FALSE(target.State().backPicture);
    EXPECT_EQ(target.Pictures().Size(), 2u);
}

TEST_F(DocumentFileTest, HeaderChecks) {
    const QByteArray good = test::InnerFileOf(doc);
    auto withHeader = [&](const char* header) {
        QByteArray bytes = good;
        bytes.replace(0, 10, QByteArray(header, 10));
        return bytes;
    };
    struct Case {
        const char* header;
        bool accepted;
        QString message;
    };
    const Case cases[] = {
        {"TSD00164  ", true, {}},
        {"TSD00264  ", true, {}},
        {"TSD00132  ", false, LoadString(kMsgPointerWidthMismatch)},
        {"TSD001XX  ", false, LoadString(kMsgPointerWidthMismatch)},
        {"TSD00364  ", false, u"ver 003\n"_qs + LoadString(kMsgUnsupportedVersion)},
        {"TSD00064  ", false, u"ver 000\n"_qs + LoadString(kMsgUnsupportedVersion)},
        {"XSD00164  ", false, LoadString(kMsgWrongFileFormat)},
    };
    for (const Case& c : cases) {
        messages.Clear();
        EXPECT_EQ(Read(withHeader(c.header)), c.accepted) << c.header;
        if (!c.accepted) {
            EXPECT_EQ(messages.Texts(), std::vector<QString>{c.message}) << c.header;
            EXPECT_EQ(messages.Messages().front().style, kStyleStop);
        }
    }
}

TEST_F(DocumentFileTest, CountAboveTheLimitIsRefused) {
    QByteArray bytes = test::InnerFileOf(doc);
    bytes.replace(3250, 4, QByteArray::fromHex("00002329"));  // 9001
    bytes.append(QByteArray(9001 * 120, '\0'));
    EXPECT_FALSE(Read(bytes));
    EXPECT_EQ(messages.Texts(),
              std::vector<QString>{u"9001 > 9000\n"_qs + LoadString(kMsgMaxImageCountExceeded)});
    EXPECT_EQ(target.State().nodeCount, 0);
}

TEST_F(DocumentFileTest, TruncatedFileIsRefusedAndTheDocumentIsUntouched) {
    test::FillDocument(target, 3);
    const QByteArray before = test::InnerFileOf(target);
    test::FillDocument(doc, 4);
    const QByteArray bytes = test::InnerFileOf(doc);
    for (qsizetype length : {qsizetype(0), qsizetype(9), qsizetype(100), qsizetype(3250),
                             qsizetype(3260), bytes.size() / 2, bytes.size() - 1}) {
        messages.Clear();
        EXPECT_FALSE(Read(bytes.left(length))) << length;
        EXPECT_EQ(messages.Texts(), std::vector<QString>{LoadString(kMsgWrongFileFormat)})
            << length;
        EXPECT_EQ(test::InnerFileOf(target), before) << length;
    }
}

TEST_F(DocumentFileTest, LyingLengthsAreRefused) {
    test::AddNode(doc, 1, 1, 1, 1, test::JpegOfExactSize(1000));
    QByteArray bytes = test::InnerFileOf(doc);
    const qsizetype lengthAt = kEmptyInnerSize + 120;
    bytes.replace(lengthAt, 4, QByteArray::fromHex("7FFFFFFF"));
    EXPECT_FALSE(Read(bytes));
    bytes.replace(lengthAt, 4, QByteArray::fromHex("000003E9"));  // one byte too many
    EXPECT_FALSE(Read(bytes));
    EXPECT_EQ(target.State().nodeCount, 0);
}

TEST_F(DocumentFileTest, UndecodableBlobGivesANodeWithoutPictureAndReadingGoesOn) {
    test::AddNode(doc, 1, 1, 1, 1, test::JpegOfExactSize(1000));
    test::AddNode(doc, 2, 2, 2, 2, test::JpegOfExactSize(1100));
    QByteArray bytes = test::InnerFileOf(doc);
    const qsizetype firstBlob = kEmptyInnerSize + 2 * 120 + 4;
    bytes.replace(firstBlob, 1000, QByteArray(1000, 'x'));
    ASSERT_TRUE(Read(bytes));
    EXPECT_EQ(target.State().nodeCount, 2);
    EXPECT_FALSE(target.Node(0).picture);
    ASSERT_TRUE(target.Node(1).picture);
    EXPECT_EQ(target.Picture(target.Node(1).picture)->Encoded(), test::JpegOfExactSize(1100));
}

TEST_F(DocumentFileTest, UnworkableSettingsAreBroughtIntoRange) {
    doc.State().canvasWidth = 1'000'000'000;
    doc.State().canvasHeight = -3;
    doc.State().zoom = std::nanf("");
    doc.State().sectionCount = 7;
    ASSERT_TRUE(Read(test::InnerFileOf(doc)));
    EXPECT_EQ(target.State().canvasWidth, 5000);
    EXPECT_EQ(target.State().canvasHeight, 500);
    EXPECT_FLOAT_EQ(target.State().zoom, 1.0f);
    EXPECT_EQ(target.State().sectionCount, 9);
}

TEST_F(DocumentFileTest, ReadingDoesNotDecodePictures) {
    test::FillDocument(doc, 30);
    const quint64 decodes = PictureDecodeCount();
    ASSERT_TRUE(Read(test::InnerFileOf(doc)));
    EXPECT_EQ(PictureDecodeCount(), decodes);
}

TEST_F(DocumentFileTest, StatusTextOnlyWhenNotQuietProgressEndsAtZeroAndFailedWritesReport) {
    test::StatusRecorder status;
    test::FillDocument(doc, 3);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(WriteDocumentFile(buffer, doc, true));
    EXPECT_TRUE(status.InfoTexts().empty());
    EXPECT_EQ(status.Range(), (std::pair{0, 3}));
    EXPECT_EQ(status.ProgressValues().back(), 0);

    ASSERT_TRUE(Read(bytes, false));
    QByteArray again;
    QBuffer out(&again);
    out.open(QIODevice::WriteOnly);
    ASSERT_TRUE(WriteDocumentFile(out, doc, false));
    ASSERT_TRUE(Read(bytes, true));
    EXPECT_EQ(status.InfoTexts(),
              (std::vector<QString>{u"ただ今読込み中です。このまま、お待ちください..."_qs,
                                    {},
                                    u"ただ今保存中です。このまま、お待ちください..."_qs,
                                    {}}));

    // A device that refuses every write fails the save.
    QBuffer readOnly(&again);
    readOnly.open(QIODevice::ReadOnly);
    EXPECT_FALSE(WriteDocumentFile(readOnly, doc, true));
}

}  // namespace
}  // namespace tessaly
