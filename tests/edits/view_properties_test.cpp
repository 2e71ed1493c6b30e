#include "edits/view_properties.h"

#include <gtest/gtest.h>

#include <numeric>

#include "edits/view_property_rules.h"
#include "document/edited_document.h"
#include "resources/string_table.h"
#include "support/document_builder.h"
#include "support/message_recorder.h"
#include "support/temp_env.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

using namespace Qt::StringLiterals;

TEST(ViewPropertyRulesTest, FitsKeepTheAspectRatioUpToTheLargestSide) {
    struct Case {
        QSize picture;
        bool width;  // fit the width to the height box, else the reverse
        QString box;
        std::optional<int> fitted;
        QString firstLine;  // of the message, when there is one
    };
    const Case cases[] = {
        {{1600, 1200}, true, u"1000"_s, 1333, {}},
        {{1600, 1200}, false, u"5,000"_s, 3750, {}},
        {{100, 4000}, true, u"5000"_s, 125, {}},  // below the smallest side
        {{4000, 100}, true, u"500"_s, std::nullopt, u"幅 : 20000\n"_s},
        {{100, 4000}, false, u"9999"_s, std::nullopt, u"高さ : 200000\n"_s},
        {{0, 0}, true, u"1000"_s, std::nullopt, {}},
    };
    for (const Case& c : cases) {
        test::MessageRecorder messages;
        const auto fitted = c.width ? FitCanvasWidth(nullptr, c.picture, c.box)
                                    : FitCanvasHeight(nullptr, c.picture, c.box);
        EXPECT_EQ(fitted, c.fitted) << c.box.toStdString();
        if (c.firstLine.isEmpty()) {
            EXPECT_TRUE(messages.Texts().empty());
        } else {
            ASSERT_EQ(messages.Texts().size(), 1u);
            EXPECT_EQ(messages.Texts()[0], c.firstLine + LoadString(kMsgExceedsMaximum));
        }
    }
}

TEST(ViewPropertyRulesTest, BoxesReadWithoutCommasAndClamped) {
    EXPECT_EQ(ReadBoxNumber(u"2,500"_s, 500, 5000), 2500);
    EXPECT_EQ(ReadBoxNumber(u"125"_s, 500, 5000), 500);
    EXPECT_EQ(ReadBoxNumber(u"99999999999"_s, 500, 5000), 5000);
    EXPECT_EQ(ReadBoxNumber(u"-4"_s, 1, 20), 1);
    EXPECT_EQ(ReadBoxNumber(u"12px"_s, 1, 20), 12);
    EXPECT_EQ(ReadBoxNumber({}, 1, 20), 1);
    EXPECT_EQ(CanvasSideNote(), u"(500 ～ 5,000)"_s);
}

TEST(ViewPropertyRulesTest, PreviewCentresSmallPicturesAndFitsLargeOnes) {
    EXPECT_EQ(PreviewRect({300, 200}, {100, 50}), QRect(100, 75, 100, 50));
    EXPECT_EQ(PreviewRect({300, 200}, {600, 200}), QRect(0, 50, 300, 100));
    EXPECT_EQ(PreviewRect({300, 200}, {100, 400}), QRect(125, 0, 50, 200));
}

TEST(ViewPropertyRulesTest, AnUnloadableFileSaysWhy) {
    test::ScopedTempDir temp;
    const QString broken = test::WriteFile(temp.Path(), u"broken.jpg"_s, "not a picture");
    const QString text = test::WriteFile(temp.Path(), u"notes.txt"_s, "text");
    const std::pair<QString, int> cases[] = {
        {temp.Path() + u"/missing.png"_s, kMsgFileNotFound},
        {text, kMsgImageTypeNotSettable},
        {broken, kMsgImageGetFailed},
    };
    for (const auto& [path, id] : cases) {
        test::MessageRecorder messages;
        EXPECT_FALSE(LoadBackgroundPicture(nullptr, path));
        ASSERT_EQ(messages.Texts().size(), 1u);
        EXPECT_EQ(messages.Texts()[0], path + u'\n' + LoadString(id));
    }
}

class ApplyViewPropertiesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.ResetDocument());
        test::FillDocument(doc, 2);
        doc.SetModified(false);
    }

    ViewPropertiesResult Unchanged() const {
        ViewPropertiesResult result;
        result.values = ReadViewProperties(doc.State());
        return result;
    }

    test::ScopedTempDir temp;
    test::MessageRecorder messages;
    EditedDocument edited;
    Document& doc = edited.Doc();
};

TEST_F(ApplyViewPropertiesTest, OnlyAChangeIsAnEditAndOneUndoStep) {
    EXPECT_FALSE(ApplyViewProperties(edited, Unchanged(), nullptr).changed);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(edited.UndoCount(), 0);

    ViewPropertiesResult result = Unchanged();
    result.values.backColor = MakeColorRef(1, 2, 3);
    EXPECT_TRUE(ApplyViewProperties(edited, std::move(result), nullptr).changed);
    EXPECT_EQ(doc.State().backColor, MakeColorRef(1, 2, 3));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(edited.UndoCount(), 1);
    EXPECT_TRUE(messages.Texts().empty());
}

TEST_F(ApplyViewPropertiesTest, ScaledResizeIsUndoneInOneStep) {
    const NodeRecord before = doc.Node(0);
    ViewPropertiesResult result = Unchanged();
    result.values.canvasWidth = 800;    // half of 1600
    result.values.canvasHeight = 2000;  // twice 1000
    messages.QueueAnswer(kResultYes);
    ASSERT_TRUE(ApplyViewProperties(edited, std::move(result), nullptr).changed);
    EXPECT_EQ(doc.Node(0).centerX, before.centerX / 2);
    EXPECT_EQ(doc.Node(0).centerY, before.centerY * 2);
    EXPECT_EQ(edited.UndoCount(), 1);

    ASSERT_TRUE(edited.Undo());
    EXPECT_EQ(doc.State().canvasWidth, 1600);
    EXPECT_EQ(doc.State().canvasHeight, 1000);
    EXPECT_EQ(doc.Node(0).centerX, before.centerX);
}

// "いいえ" (only the margin) never cuts into a node: a side stops where the
// nodes reach, and the user is told which; "はい" takes the size asked for
// and scales the nodes into it.
TEST_F(ApplyViewPropertiesTest, MarginOnlyShrinkStopsAtTheNodes) {
    const QString asked = LoadString(kMsgAutoAdjustPositions);
    const QString held = LoadString(kMsgCanvasKeptAroundImages);
    const struct {
        int answer;
        QSize requested, canvas;
        QString notice;  // after the question
        QPoint farCorner;  // of the nodes afterwards
    } cases[] = {
        {kResultNo, {500, 500}, {900, 700}, u"幅 : 900\n高さ : 700\n"_s + held, {900, 700}},
        {kResultNo, {950, 600}, {950, 700}, u"高さ : 700\n"_s + held, {900, 700}},
        {kResultNo, {900, 700}, {900, 700}, {}, {900, 700}},
        {kResultYes, {500, 500}, {500, 500}, {}, {450, 350}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(doc.ResetDocument());
        doc.State().canvasWidth = 1000;
        doc.State().canvasHeight = 1000;
        test::AddNode(doc, 850, 100, 50, 40, {});  // the right edge at 900
        test::AddNode(doc, 200, 650, 60, 50, {});  // the bottom edge at 700
        messages.Clear();
        messages.QueueAnswer(c.answer);
        ViewPropertiesResult result = Unchanged();
        result.values.canvasWidth = c.requested.width();
        result.values.canvasHeight = c.requested.height();

        ApplyViewProperties(edited, std::move(result), nullptr);
        EXPECT_EQ(QSize(doc.State().canvasWidth, doc.State().canvasHeight), c.canvas)
            << c.requested.width();
        std::vector<QString> expected{asked};
        if (!c.notice.isEmpty()) expected.push_back(c.notice);
        EXPECT_EQ(messages.Texts(), expected) << c.requested.width();
        const NodeRecord& right = doc.Node(0);
        const NodeRecord& bottom = doc.Node(1);
        EXPECT_EQ(QPoint(right.centerX + right.halfWidth, bottom.centerY + bottom.halfHeight),
                  c.farCorner)
            << c.requested.width();
    }
}

TEST_F(ApplyViewPropertiesTest, CancelledResizeKeepsTheSizeButStoresTheRest) {
    ViewPropertiesResult result = Unchanged();
    result.values.canvasWidth = 900;
    result.values.canvasLineStyle = 3;
    ApplyViewProperties(edited, std::move(result), nullptr);  // the recorder cancels
    EXPECT_EQ(doc.State().canvasWidth, 1600);
    EXPECT_EQ(doc.State().canvasLineStyle, 3);
}

TEST_F(ApplyViewPropertiesTest, PicturesAreClearedOrReplaced) {
    ViewPropertiesResult cleared = Unchanged();
    cleared.currentPictureKept = false;
    const AppliedViewProperties gone = ApplyViewProperties(edited, std::move(cleared), nullptr);
    EXPECT_TRUE(gone.changed && gone.backgroundCleared && !gone.backgroundSet);
    EXPECT_FALSE(doc.State().backPicture);
    EXPECT_EQ(doc.Pictures().Size(), 2u);  // only the nodes' pictures remain

    ViewPropertiesResult replaced = Unchanged();
    replaced.newPicture = ImageBlob::FromEncoded(test::JpegBytes(30, 20));
    const AppliedViewProperties set = ApplyViewProperties(edited, std::move(replaced), nullptr);
    EXPECT_TRUE(set.changed && set.backgroundSet && !set.backgroundCleared);
    ASSERT_NE(doc.Picture(doc.State().backPicture), nullptr);
    EXPECT_EQ(doc.Picture(doc.State().backPicture)->PixelSize(), QSize(30, 20));
    const auto& bins = doc.State().backHistogram;
    EXPECT_GT(std::accumulate(bins, bins + 256, 0), 9000);  // computed afresh, in 1/10000
}

}  // namespace
}  // namespace tessaly
