#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "document/edited_document.h"
#include "support/document_builder.h"
#include "support/message_recorder.h"
#include "support/temp_env.h"

namespace tessaly::test {

// A new 1000 x 1000 document at zoom 1 for the commands that act on the
// selected nodes; messages are answered by the recorder.
class SelectionEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.ResetDocument());
        doc.State().canvasWidth = 1000;
        doc.State().canvasHeight = 1000;
        doc.State().zoom = 1.0f;
    }

    // A node by its left edge, top edge, width and height.
    int Add(int left, int top, int width, int height, const QByteArray& encoded = {}) {
        return AddNode(doc, left + width / 2, top + height / 2, width / 2, height / 2, encoded);
    }

    void Select(std::initializer_list<int> nodes, int main) {
        for (const int i : nodes)
            doc.Mark(i).selected = 1;
        doc.State().mainSelection = main;
    }

    ScopedTempDir temp;
    MessageRecorder messages;
    EditedDocument edited;
    Document& doc = edited.Doc();
};

}  // namespace tessaly::test
