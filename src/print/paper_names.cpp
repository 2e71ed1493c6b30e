#include "print/paper_names.h"

#include <array>

namespace tessaly {
namespace {

constexpr std::array<const char16_t*, 41> kNames = {
    u"Letter, 81/2x11inch",          u"LetterSmall, 81/2x11inch",
    u"Tabloid, 11x17inch",           u"Ledger, 17x11inch",
    u"Legal, 81/2x14inch",           u"Statement, 51/2x81/2inch",
    u"Executive, 71/4x101/2inch",    u"A3Sheet, 297x420mm",
    u"A4Sheet, 210x297mm",           u"A4smallSheet, 210x297mm",
    u"A5Sheet, 148x210mm",           u"B4Sheet, 250x354mm",
    u"B5Sheet, 182x257mm",           u"Folio, 81/2x13inch",
    u"Quarto, 215x275mm",            u"10x14inchSheet",
    u"11x17inchSheet",               u"Note, 81/2x11inch",
    u"#9Envelope, 37/8x87/8inch",    u"#10Envelope, 41/8x91/2inch",
    u"#11Envelope, 41/2x103/8inch",  u"#12Envelope, 43/4x11inch",
    u"#14Envelope, 5x111/2inch",     u"CSheet, 17x22inch",
    u"DSheet, 22x34inch",            u"ESheet, 34x44inch",
    u"DLEnvelope, 110x220mm",        u"C5Envelope, 162x229mm",
    u"C3Envelope, 324x458mm",        u"C4Envelope, 229x324mm",
    u"C6Envelope, 114x162mm",        u"C65Envelope, 114x229mm",
    u"B4Envelope, 250x353mm",        u"B5Envelope, 176x250mm",
    u"B6Envelope, 176x125mm",        u"ItalyEnvelope, 110x230mm",
    u"MonarchEnvelope, 37/8x71/2inch", u"63/4Envelope, 35/8x61/2inch",
    u"USStdFanfold, 147/8x11inch",   u"GermanStdFanfold, 81/2x12inch",
    u"GermanLegalFanfold, 81/2x13inch",
};

}  // namespace

QString PaperName(int code) {
    if (code < 1 || code > static_cast<int>(kNames.size())) return QStringLiteral("etc.");
    return QString::fromUtf16(kNames[static_cast<std::size_t>(code - 1)]);
}

}  // namespace tessaly
