#include "print/paper_names.h"

#include <array>

namespace tessaly {
namespace {

struct Paper {
    const char16_t* name;
    QPageSize::PageSizeId size;
};

// Indexed by code - 1.
constexpr std::array<Paper, 41> kPapers = {{
    {u"Letter, 81/2x11inch", QPageSize::Letter},
    {u"LetterSmall, 81/2x11inch", QPageSize::LetterSmall},
    {u"Tabloid, 11x17inch", QPageSize::Tabloid},
    {u"Ledger, 17x11inch", QPageSize::Ledger},
    {u"Legal, 81/2x14inch", QPageSize::Legal},
    {u"Statement, 51/2x81/2inch", QPageSize::Statement},
    {u"Executive, 71/4x101/2inch", QPageSize::ExecutiveStandard},
    {u"A3Sheet, 297x420mm", QPageSize::A3},
    {u"A4Sheet, 210x297mm", QPageSize::A4},
    {u"A4smallSheet, 210x297mm", QPageSize::A4Small},
    {u"A5Sheet, 148x210mm", QPageSize::A5},
    // B4 and B5 are the JIS sizes (257 x 364 and 182 x 257 mm), not ISO B.
    {u"B4Sheet, 250x354mm", QPageSize::JisB4},
    {u"B5Sheet, 182x257mm", QPageSize::JisB5},
    // Qt's Folio is 210 x 330 mm; 8 1/2 x 13 inch is the German legal fanfold's sheet.
    {u"Folio, 81/2x13inch", QPageSize::FanFoldGermanLegal},
    {u"Quarto, 215x275mm", QPageSize::Quarto},
    {u"10x14inchSheet", QPageSize::Imperial10x14},
    {u"11x17inchSheet", QPageSize::Tabloid},
    {u"Note, 81/2x11inch", QPageSize::Note},
    {u"#9Envelope, 37/8x87/8inch", QPageSize::Envelope9},
    {u"#10Envelope, 41/8x91/2inch", QPageSize::Envelope10},
    {u"#11Envelope, 41/2x103/8inch", QPageSize::Envelope11},
    {u"#12Envelope, 43/4x11inch", QPageSize::Envelope12},
    {u"#14Envelope, 5x111/2inch", QPageSize::Envelope14},
    // The ANSI sheets; Qt reads these numbers as the larger architectural ones.
    {u"CSheet, 17x22inch", QPageSize::AnsiC},
    {u"DSheet, 22x34inch", QPageSize::AnsiD},
    {u"ESheet, 34x44inch", QPageSize::AnsiE},
    {u"DLEnvelope, 110x220mm", QPageSize::EnvelopeDL},
    {u"C5Envelope, 162x229mm", QPageSize::EnvelopeC5},
    {u"C3Envelope, 324x458mm", QPageSize::EnvelopeC3},
    {u"C4Envelope, 229x324mm", QPageSize::EnvelopeC4},
    {u"C6Envelope, 114x162mm", QPageSize::EnvelopeC6},
    {u"C65Envelope, 114x229mm", QPageSize::EnvelopeC65},
    {u"B4Envelope, 250x353mm", QPageSize::EnvelopeB4},
    {u"B5Envelope, 176x250mm", QPageSize::EnvelopeB5},
    {u"B6Envelope, 176x125mm", QPageSize::EnvelopeB6},
    {u"ItalyEnvelope, 110x230mm", QPageSize::EnvelopeItalian},
    {u"MonarchEnvelope, 37/8x71/2inch", QPageSize::EnvelopeMonarch},
    {u"63/4Envelope, 35/8x61/2inch", QPageSize::EnvelopePersonal},
    {u"USStdFanfold, 147/8x11inch", QPageSize::FanFoldUS},
    {u"GermanStdFanfold, 81/2x12inch", QPageSize::FanFoldGerman},
    {u"GermanLegalFanfold, 81/2x13inch", QPageSize::FanFoldGermanLegal},
}};

constexpr int kLastCode = static_cast<int>(kPapers.size());

bool InTable(int code) {
    return code >= 1 && code <= kLastCode;
}

const Paper& PaperOf(int code) {
    return kPapers[static_cast<std::size_t>(code - 1)];
}

}  // namespace

QString PaperName(int code) {
    return InTable(code) ? QString::fromUtf16(PaperOf(code).name) : QStringLiteral("etc.");
}

QPageSize::PageSizeId PageSizeForPaperCode(int code) {
    if (InTable(code)) return PaperOf(code).size;
    const QPageSize::PageSizeId id = QPageSize::id(code);
    return id == QPageSize::Custom ? QPageSize::A4 : id;
}

int PaperCodeFor(const QPageSize& size, int chosen) {
    if (!size.isValid() || size.id() == QPageSize::Custom) return 0;
    const QPageSize::PageSizeId id = size.id();
    const auto isCodeOf = [id](int code) { return InTable(code) && PaperOf(code).size == id; };
    if (isCodeOf(chosen)) return chosen;
    const int windowsCode = size.windowsId();
    if (isCodeOf(windowsCode)) return windowsCode;
    for (int code = 1; code <= kLastCode; ++code) {
        if (isCodeOf(code)) return code;
    }
    // Sizes beyond the table keep their Windows paper number when it leads back to them.
    return windowsCode > kLastCode && QPageSize::id(windowsCode) == id ? windowsCode : 0;
}

}  // namespace tessaly
