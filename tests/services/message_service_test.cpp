#include "services/message_service.h"

#include <gtest/gtest.h>

#include "resources/string_table.h"
#include "support/message_recorder.h"

namespace tessaly {
namespace {

TEST(ShowMessage, ShowsLeadingTextThenMessageUnderTheAppTitle) {
    test::MessageRecorder recorder;
    ShowMessage(nullptr, QStringLiteral("/home/u/a.tsd\n"), kMsgFileOpenFailed, kStyleStop);
    ASSERT_EQ(recorder.Messages().size(), 1u);
    const auto& shown = recorder.Messages().front();
    EXPECT_EQ(shown.caption, u"Tessaly");
    EXPECT_EQ(shown.text, u"/home/u/a.tsd\nファイルのオープンに失敗しました");
    EXPECT_EQ(shown.style, kStyleStop);
}

TEST(ShowMessage, AddsNoSeparatorOfItsOwn) {
    test::MessageRecorder recorder;
    ShowMessage(nullptr, QStringLiteral("ver 003"), kMsgUnsupportedVersion, kStyleStop);
    EXPECT_EQ(recorder.Texts().front(), u"ver 003このドキュメントバージョンには対応できません");
}

TEST(ShowMessage, ReturnsTheButtonPressed) {
    test::MessageRecorder recorder;
    recorder.QueueAnswer(kResultYes);
    recorder.QueueAnswer(kResultCancel);
    EXPECT_EQ(ShowMessage(kMsgConfirmDelete, kStyleYesNo), kResultYes);
    EXPECT_EQ(ShowMessage(kMsgSaveAtCurrentZoom, kStyleYesNoCancel), kResultCancel);
}

TEST(ShowMessage, IdWithoutTextShowsNothingAndAnswersZero) {
    test::MessageRecorder recorder;
    recorder.QueueAnswer(kResultYes);
    EXPECT_EQ(ShowMessage(nullptr, QStringLiteral("lead\n"), 30004, kStyleYesNo), kResultNoText);
    EXPECT_TRUE(recorder.Messages().empty());
}

TEST(ShowMessage, WithoutAPresenterNobodyIsAskedAndTheSafeAnswerIsGiven) {
    // No recorder installed: the default presenter writes to stderr.
    EXPECT_EQ(ShowMessage(kMsgConfirmDelete, kStyleYesNo), kResultNo);
    EXPECT_EQ(ShowMessage(kMsgSaveAtCurrentZoom, kStyleYesNoCancel), kResultCancel);
    EXPECT_EQ(ShowMessage(kMsgFileSaveFailed, kStyleStop), kResultOk);
    EXPECT_EQ(ShowMessage(kMsgSavedShowLocation, kStyleInformation), kResultOk);
}

}  // namespace
}  // namespace tessaly
