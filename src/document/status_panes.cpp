#include "document/status_panes.h"

#include <QString>

#include "document/document.h"
#include "services/status_service.h"

namespace tessaly {

void RefreshStatusPanes(const Document& doc, bool clear) {
    if (!HasStatusSink()) return;
    const DocState& state = doc.State();
    SetStatusPane(StatusPane::kObject, FormatThousands(state.nodeCount));

    QString pos;
    QString size;
    const int main = state.mainSelection;
    if (!clear && main >= 0 && main < state.nodeCount) {
        const NodeRecord& node = doc.Node(main);
        pos = QStringLiteral("%1, %2")
                  .arg(node.centerX - node.halfWidth)
                  .arg(node.centerY - node.halfHeight);
        size = QStringLiteral("%1×%2").arg(node.halfWidth * 2).arg(node.halfHeight * 2);
    }
    SetStatusPane(StatusPane::kPos, pos);
    SetStatusPane(StatusPane::kSize, size);
}

}  // namespace tessaly
