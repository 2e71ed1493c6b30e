#include "services/message_service.h"

#include <gtest/gtest.h>

#include "resources/string_table.h"
#include "support/message_recorder.h"

namespace tessaly {
namespace {

TEST(ShowMessage, ShowsLeadingTextThenMessageUnderTheAppTitleWithNoSeparatorOfItsOwn) {
    test::MessageRecorder recorder;
    ShowMessage(nullptr, u"/home/u/a.tsd\n"_qs, kMsgFileOpenFailed, kStyleStop);
    ShowMessage(nullptr, u"ver 003"_qs, kMsgUnsupportedVersion, kStyleInformation);
    ASSERT_EQ(recorder.Messages().size(), 2u);
    EXPECT_EQ(recorder.Messages().front().caption, u"Tessaly");
    EXPECT_EQ(recorder.Messages().front().style, kStyleStop);
    EXPECT_EQ(recorder.Texts(),
              (std::vector<QString>{u"/home/u/a.tsd\n"_qs + LoadString(kMsgFileOpenFailed),
                                    u"ver 003"_qs + LoadString(kMsgUnsupportedVersion)}));
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
