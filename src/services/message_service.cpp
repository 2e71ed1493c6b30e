#include "services/message_service.h"

#include <cstdio>

#include "resources/string_table.h"

namespace tessaly {
namespace {

class StderrPresenter final : public MessagePresenter {
public:
    int Present(QObject*, const QString& caption, const QString& text, int style) override {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(caption), qUtf8Printable(text));
        return DefaultAnswer(style);
    }
};

StderrPresenter g_stderrPresenter;
MessagePresenter* g_presenter = &g_stderrPresenter;

}  // namespace

void InstallMessagePresenter(MessagePresenter* presenter) {
    g_presenter = presenter ? presenter : &g_stderrPresenter;
}

int DefaultAnswer(int style) {
    switch (style) {
        case kStyleYesNo: return kResultNo;
        case kStyleYesNoCancel: return kResultCancel;
        default: return kResultOk;
    }
}

int ShowMessage(QObject* owner, const QString& leading, int id, int style) {
    const QString text = LoadString(id);
    if (text.isEmpty()) return kResultNoText;
    return g_presenter->Present(owner, ui_text::kAppTitle.toString(), leading + text, style);
}

int PresentMessage(QObject* owner, const QString& caption, const QString& text, int style) {
    return g_presenter->Present(owner, caption, text, style);
}

}  // namespace tessaly
