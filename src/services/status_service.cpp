#include "services/status_service.h"

namespace tessaly {
namespace {
StatusSink* g_sink = nullptr;
}

void InstallStatusSink(StatusSink* sink) { g_sink = sink; }

bool HasStatusSink() { return g_sink != nullptr; }

void SetStatusPane(StatusPane pane, const QString& text) {
    if (g_sink) g_sink->SetPaneText(pane, text);
}

void SetStatusInfo(const QString& text) {
    if (g_sink) g_sink->SetInfoText(text);
}

StatusProgress::StatusProgress(int total) {
    if (!g_sink) return;
    g_sink->SetProgressRange(0, total);
    g_sink->SetProgressValue(0);
}

StatusProgress::~StatusProgress() {
    if (g_sink) g_sink->SetProgressValue(0);
}

void StatusProgress::SetPos(int pos) {
    if (g_sink) g_sink->SetProgressValue(pos);
}

QString FormatThousands(const QString& digits) {
    const qsizetype length = digits.size();
    if (length < 4 || length > 9) return digits;
    // A leading sign is not a digit: "-1234" groups as "-1,234".
    const qsizetype first = (digits.front() == u'-' || digits.front() == u'+') ? 1 : 0;
    QString grouped = digits.left(first);
    const qsizetype count = length - first;
    for (qsizetype i = 0; i < count; ++i) {
        if (i > 0 && (count - i) % 3 == 0) grouped += u',';
        grouped += digits.at(first + i);
    }
    return grouped;
}

QString FormatThousands(qint64 value) { return FormatThousands(QString::number(value)); }

}  // namespace tessaly
