#pragma once

#include <gtest/gtest.h>

#include <ostream>

#include "canvas/int_rect.h"
#include "document/document.h"
#include "support/document_builder.h"

namespace tessaly {

// Readable failure messages for rectangles.
inline void PrintTo(const IntRect& r, std::ostream* os) {
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace test {

// A document with its tables and the values of a new document; nodes are
// added without pictures.
class CanvasDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.AllocateNodeTables());
        ApplyNewDocumentValues(doc.State());
    }

    DocState& State() { return doc.State(); }

    int AddNode(int centerX, int centerY, int halfWidth, int halfHeight, bool visible = true) {
        const int i = test::AddNode(doc, centerX, centerY, halfWidth, halfHeight, {});
        doc.Node(i).visible = visible ? 1 : 0;
        return i;
    }

    Document doc;
};

}  // namespace test
}  // namespace tessaly
