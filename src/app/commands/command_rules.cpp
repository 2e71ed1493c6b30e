#include "app/commands/command_rules.h"

#include "canvas/multi_cut_session.h"
#include "document/document.h"

namespace tessaly {

CommandContext ReadDocumentContext(const Document& doc) {
    CommandContext context;
    const DocState& s = doc.State();
    context.nodeCount = s.nodeCount;
    if (doc.HasTables()) {
        for (int i = 0; i < s.nodeCount; ++i) {
            if (doc.Node(i).visible == 0) ++context.hiddenCount;
            if (doc.IsSelected(i)) ++context.selectedCount;
        }
    }
    context.hasMainSelection = s.mainSelection >= 0 && s.mainSelection < s.nodeCount;
    context.canCutMainSelection = CanCutNode(doc, s.mainSelection);
    context.hasBackgroundImage = static_cast<bool>(s.backPicture);
    context.gridMode = s.gridMode;
    context.gridOnTop = s.gridOnTop;
    return context;
}

}  // namespace tessaly
