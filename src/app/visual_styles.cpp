#include "app/visual_styles.h"

#include <QApplication>
#include <algorithm>
#include <iterator>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

#include "services/settings.h"

namespace tessaly {
namespace {

struct LookColours {
    QRgb window;
    QRgb button;
    QRgb base;
    QRgb text;
    QRgb highlight;
    QRgb highlightedText;
};

QPalette MakePalette(const LookColours& c) {
    QPalette p;
    const QColor window(c.window);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, QColor(c.text));
    p.setColor(QPalette::Button, QColor(c.button));
    p.setColor(QPalette::ButtonText, QColor(c.text));
    p.setColor(QPalette::Base, QColor(c.base));
    p.setColor(QPalette::AlternateBase, window.lighter(108));
    p.setColor(QPalette::Text, QColor(c.text));
    p.setColor(QPalette::ToolTipBase, QColor(0xFFFFE1));
    p.setColor(QPalette::ToolTipText, QColor(Qt::black));
    p.setColor(QPalette::Highlight, QColor(c.highlight));
    p.setColor(QPalette::HighlightedText, QColor(c.highlightedText));
    p.setColor(QPalette::Light, window.lighter(150));
    p.setColor(QPalette::Midlight, window.lighter(120));
    p.setColor(QPalette::Mid, window.darker(130));
    p.setColor(QPalette::Dark, window.darker(160));
    p.setColor(QPalette::Shadow, window.darker(300));
    const QColor grey = QColor(c.text).lightness() > 128 ? QColor(0xA0A0A0) : QColor(0x808080);
    p.setColor(QPalette::Disabled, QPalette::WindowText, grey);
    p.setColor(QPalette::Disabled, QPalette::ButtonText, grey);
    p.setColor(QPalette::Disabled, QPalette::Text, grey);
    return p;
}

VisualStyle Make(int number, const char16_t* style, const LookColours& colours) {
    return {number, QString::fromUtf16(style), MakePalette(colours)};
}

}  // namespace

namespace {

struct Look {
    CommandId command;
    const char16_t* style;
    LookColours colours;
};

// The looks by their command numbers; the last one no menu entry offers.
constexpr Look kLooks[] = {
    // Classic grey with square edges.
    {CommandId::kStyleWindows2000, u"Windows",
     {0xD4D0C8, 0xD4D0C8, 0xFFFFFF, 0x000000, 0x0A246A, 0xFFFFFF}},
    // Flat, light bars with a pale-blue hover.
    {CommandId::kStyleOfficeXp, u"Windows",
     {0xF7F6F3, 0xEEEDE5, 0xFFFFFF, 0x000000, 0xB6BDD2, 0x000000}},
    {CommandId::kStyleWindowsXp, u"Fusion",
     {0xECE9D8, 0xF3F1E6, 0xFFFFFF, 0x000000, 0x316AC5, 0xFFFFFF}},
    {CommandId::kStyleOffice2003, u"Fusion",
     {0xC3DAF9, 0xDDECFE, 0xFFFFFF, 0x000000, 0xFFC873, 0x000000}},
    {CommandId::kStyleVs2005, u"Fusion",
     {0xEEEDE5, 0xF5F4EE, 0xFFFFFF, 0x000000, 0xC1D2EE, 0x000000}},
    {CommandId::kStyleVs2008, u"Fusion",
     {0xE9ECEE, 0xF0F2F4, 0xFFFFFF, 0x000000, 0x3399FF, 0xFFFFFF}},
    {CommandId::kStyleOffice2007Blue, u"Fusion",
     {0xBFDBFF, 0xD5E6FF, 0xFFFFFF, 0x15428B, 0xFFD86C, 0x000000}},
    {CommandId::kStyleOffice2007Black, u"Fusion",
     {0x535353, 0x6A6A6A, 0x404040, 0xF0F0F0, 0xF2B44C, 0x000000}},
    {CommandId::kStyleOffice2007Silver, u"Fusion",
     {0xD8DCE5, 0xE8EBF0, 0xFFFFFF, 0x203040, 0xFFD86C, 0x000000}},
    {CommandId::kStyleOffice2007Aqua, u"Fusion",
     {0xC9DCE3, 0xDDEBF0, 0xFFFFFF, 0x103848, 0x5AAFC8, 0xFFFFFF}},
    {CommandId::kStyleWindows7, u"Fusion",
     {0xF0F0F0, 0xF5F5F5, 0xFFFFFF, 0x000000, 0x3399FF, 0xFFFFFF}},
};

}  // namespace

bool IsOfferedStyle(CommandId id) {
    return id != CommandId::kStyleWindows7 &&
           std::any_of(std::begin(kLooks), std::end(kLooks),
                       [id](const Look& look) { return look.command == id; });
}

VisualStyle VisualStyleFor(int storedValue) {
    for (const Look& look : kLooks) {
        if (static_cast<int>(look.command) == storedValue)
            return Make(storedValue, look.style, look.colours);
    }
    // A value no look carries: the Office 2007 look.
    return VisualStyleFor(static_cast<int>(CommandId::kStyleOffice2007Blue));
}

int StoredApplicationLook() {
    return GetProfileInt({}, QStringLiteral("ApplicationLook"), kDefaultApplicationLook);
}

void StoreApplicationLook(int number) {
    WriteProfileInt({}, QStringLiteral("ApplicationLook"), number);
}

void ApplyVisualStyle(int storedValue) {
    const VisualStyle look = VisualStyleFor(storedValue);
    if (QStyle* style = QStyleFactory::create(look.styleName)) QApplication::setStyle(style);
    QApplication::setPalette(look.palette);
    // Windows that set their own palette keep it; the others follow at once.
    for (QWidget* widget : QApplication::topLevelWidgets())
        widget->update();
}

}  // namespace tessaly
