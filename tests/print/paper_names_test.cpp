#include "print/paper_names.h"

#include <gtest/gtest.h>

#include <QPageSize>
#include <QSizeF>

namespace tessaly {
namespace {

// A stored paper code must bring back the same paper at the next start,
// and the paper must give back the code it was stored with.
TEST(PaperCodes, EveryCodeOfThePaperTableComesBack) {
    for (int code = 1; code <= 41; ++code) {
        const QPageSize size(PageSizeForPaperCode(code));
        EXPECT_EQ(PaperCodeFor(size, code), code) << code;
    }
}

TEST(PaperCodes, SizeOfACodeAndCodeOfASize) {
    struct Case {
        int code;
        QSizeF mm;
        int codeOfTheSize;  // when no code was chosen before
    };
    const Case cases[] = {
        {3, {279.4, 431.8}, 3},    // Tabloid
        {17, {279.4, 431.8}, 3},   // 11x17inchSheet, the same paper
        {4, {431.8, 279.4}, 4},    // Ledger
        {9, {210.0, 297.0}, 9},    // A4
        {10, {210.0, 297.0}, 10},  // A4smallSheet
        {12, {257.0, 364.0}, 12},  // B4 is JIS
        {14, {215.9, 330.2}, 41},  // Folio, the German legal fanfold's sheet
        {20, {104.8, 241.3}, 20},  // #10Envelope
        {24, {431.8, 558.8}, 24},  // CSheet, 17 x 22 inch
        {35, {176.0, 125.0}, 35},  // B6Envelope
        {70, {105.0, 148.0}, 70},  // beyond the table: A6
        {0, {210.0, 297.0}, 9},    // unknown: A4
    };
    for (const Case& c : cases) {
        const QPageSize size(PageSizeForPaperCode(c.code));
        const QSizeF mm = size.size(QPageSize::Millimeter);
        EXPECT_NEAR(mm.width(), c.mm.width(), 0.2) << c.code;
        EXPECT_NEAR(mm.height(), c.mm.height(), 0.2) << c.code;
        EXPECT_EQ(PaperCodeFor(size), c.codeOfTheSize) << c.code;
    }
}

}  // namespace
}  // namespace tessaly
