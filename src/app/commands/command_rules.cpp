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

namespace {

CommandState Enabled(bool enabled) {
    return {enabled, false};
}
CommandState Checked(bool checked) {
    return {true, checked};
}

}  // namespace

bool HasCheckMark(CommandId id) {
    const int n = static_cast<int>(id);
    return (id >= CommandId::kGridNone && id <= CommandId::kGridOnTop) ||
           id == CommandId::kViewToolBar || id == CommandId::kViewStatusBar ||
           (n >= 205 && n <= 210) || (n >= 215 && n <= 218);
}

CommandState StateOf(CommandId id, const CommandContext& c) {
    switch (id) {
        case CommandId::kEditUndo:
            return Enabled(c.undoCount > 0);
        case CommandId::kEditRedo:
            return Enabled(c.redoCount > 0);

        case CommandId::kHideSelected:
            return Enabled(c.selectedCount >= 1);
        case CommandId::kShowAll:
            return Enabled(c.nodeCount > 0 && c.hiddenCount > 0);

        case CommandId::kGridNone:
            return Checked(c.gridMode < 0);
        case CommandId::kGridCross:
            return Checked(c.gridMode == static_cast<int>(GridMode::CentreCross));
        case CommandId::kGrid10:
            return Checked(c.gridMode == static_cast<int>(GridMode::Every10));
        case CommandId::kGrid40:
            return Checked(c.gridMode == static_cast<int>(GridMode::Every40));
        case CommandId::kGrid70:
            return Checked(c.gridMode == static_cast<int>(GridMode::Every70));
        case CommandId::kGrid100:
            return Checked(c.gridMode == static_cast<int>(GridMode::Every100));
        case CommandId::kGridOnTop:
            return Checked(c.gridOnTop == 1);
        case CommandId::kViewToolBar:
            return Checked(c.toolBarShown);
        case CommandId::kViewStatusBar:
            return Checked(c.statusBarShown);

        case CommandId::kStyleWindows2000:
        case CommandId::kStyleOfficeXp:
        case CommandId::kStyleWindowsXp:
        case CommandId::kStyleOffice2003:
        case CommandId::kStyleVs2005:
        case CommandId::kStyleVs2008:
        case CommandId::kStyleOffice2007Blue:
        case CommandId::kStyleOffice2007Black:
        case CommandId::kStyleOffice2007Silver:
        case CommandId::kStyleOffice2007Aqua:
            return Checked(c.applicationLook == static_cast<int>(id));

        case CommandId::kConsole:
            return Enabled(c.nodeCount > 0 && !c.consoleShown && c.hasBackgroundImage);
        case CommandId::kImageSizeCheck:
            return Enabled(c.nodeCount > 0);

        case CommandId::kMultiCutStart:
            return Enabled(c.canCutMainSelection && !c.multiCutMode);
        case CommandId::kMultiCutStop:
        case CommandId::kMultiCutExecute:
        case CommandId::kMultiCutSettings:
            return Enabled(c.multiCutMode);

        case CommandId::kRotateRight:
        case CommandId::kRotate180:
        case CommandId::kRotateLeft:
        case CommandId::kMirrorLeftRight:
        case CommandId::kMirrorTopBottom:
            return Enabled(c.hasMainSelection);

        case CommandId::kAlignLeft:
        case CommandId::kAlignRight:
        case CommandId::kAlignTop:
        case CommandId::kAlignBottom:
        case CommandId::kSameWidth:
        case CommandId::kSameHeight:
        case CommandId::kSameSize:
            return Enabled(c.selectedCount >= 2);
        case CommandId::kCentreVertical:
        case CommandId::kCentreHorizontal:
            return Enabled(c.selectedCount >= 1);
        case CommandId::kSpaceVertical:
        case CommandId::kSpaceHorizontal:
            return Enabled(c.selectedCount >= 3);

        // The place of the recent-file list is a label, not a command.
        case CommandId::kRecentFilesPlace:
            return Enabled(false);

        default:
            return Enabled(true);
    }
}

}  // namespace tessaly
