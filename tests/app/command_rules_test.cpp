#include "app/commands/command_rules.h"

#include <QtTest>

#include "app/commands/command_texts.h"
#include "app/commands/context_menus.h"
#include "app/visual_styles.h"
#include "canvas/multi_cut_session.h"
#include "document/document.h"
#include "image/image_blob.h"
#include "services/app_settings.h"
#include "support/document_builder.h"

using namespace Qt::StringLiterals;
using tessaly::CommandContext;
using tessaly::CommandId;
using tessaly::StateOf;

namespace {

bool Enabled(CommandId id, const CommandContext& context) {
    return StateOf(id, context).enabled;
}
bool Checked(CommandId id, const CommandContext& context) {
    return StateOf(id, context).checked;
}

}  // namespace

class CommandRulesTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void documentContextCountsOnlyVisibleNodes();
    void enablingFollowsTheContext();
    void multiCutIsOfferedExactlyWhenItCanStart();
    void gridEntriesAreCheckedByMode();
    void onlyTheStoredStyleIsChecked();
    void visualStylesLookDifferent();
    void recentFileEntriesAreNumberedForTheKeyboard();
    void toolbarEntriesSplitPromptAndTooltip();
    void contextMenusFollowTheirOwnRules();

private:
    void AddNodes(int count, int selected);
    std::unique_ptr<tessaly::Document> doc_;
};

void CommandRulesTest::init() {
    doc_ = std::make_unique<tessaly::Document>();
    QVERIFY(doc_->AllocateNodeTables());
    QVERIFY(doc_->ResetDocument());
}

void CommandRulesTest::cleanup() {
    doc_.reset();
}

// `count` visible nodes, the first `selected` of them selected, the first the
// main selection when any is selected.
void CommandRulesTest::AddNodes(int count, int selected) {
    const QByteArray jpeg = tessaly::test::JpegOfExactSize(4000);
    for (int i = 0; i < count; ++i) {
        const int index = tessaly::test::AddNode(*doc_, 100 + 50 * i, 100, 20, 20, jpeg);
        doc_->Mark(index).selected = i < selected ? 1 : 0;
    }
    doc_->State().mainSelection = selected > 0 ? 0 : -1;
}

void CommandRulesTest::documentContextCountsOnlyVisibleNodes() {
    AddNodes(3, 2);
    doc_->Node(1).visible = 0;
    CommandContext context = tessaly::ReadDocumentContext(*doc_);
    QCOMPARE(context.nodeCount, 3);
    QCOMPARE(context.selectedCount, 1);
    QCOMPARE(context.hiddenCount, 1);
    QVERIFY(context.hasMainSelection);
    QVERIFY(!context.hasBackgroundImage);

    // Records past the node count are not nodes, whatever their marks say.
    doc_->Node(3).visible = 0;
    doc_->Mark(3).selected = 1;
    // An index past the last node is no main selection.
    doc_->State().mainSelection = 3;
    doc_->State().backPicture = doc_->Pictures().Adopt(
        *tessaly::ImageBlob::FromEncoded(tessaly::test::JpegOfExactSize(4000)));
    context = tessaly::ReadDocumentContext(*doc_);
    QCOMPARE(context.selectedCount, 1);
    QCOMPARE(context.hiddenCount, 1);
    QVERIFY(!context.hasMainSelection);
    QVERIFY(context.hasBackgroundImage);
}

void CommandRulesTest::enablingFollowsTheContext() {
    using C = CommandId;
    struct Row {
        CommandContext context;
        std::vector<CommandId> on;
        std::vector<CommandId> off;
    };
    const Row rows[] = {
        {{},
         {C::kBatchCreate, C::kEditDelete},
         {C::kCentreVertical, C::kHideSelected, C::kShowAll, C::kConsole, C::kImageSizeCheck,
          C::kEditUndo, C::kEditRedo, C::kRotateRight, C::kMirrorTopBottom, C::kMultiCutStart,
          C::kMultiCutExecute}},
        // One selected node is centred or hidden, two are aligned, three spaced.
        {{.selectedCount = 1},
         {C::kCentreVertical, C::kCentreHorizontal, C::kHideSelected},
         {C::kAlignRight, C::kSameSize, C::kSpaceHorizontal}},
        {{.selectedCount = 2}, {C::kAlignLeft, C::kSameHeight}, {C::kSpaceVertical}},
        {{.selectedCount = 3}, {C::kSpaceVertical, C::kSpaceHorizontal}, {}},
        {{.nodeCount = 3}, {C::kImageSizeCheck}, {C::kShowAll, C::kConsole}},
        {{.nodeCount = 3, .hiddenCount = 1}, {C::kShowAll}, {}},
        // The console needs nodes and a background, and is opened once.
        {{.nodeCount = 1, .hasBackgroundImage = true}, {C::kConsole}, {}},
        {{.nodeCount = 1, .hasBackgroundImage = true, .consoleShown = true},
         {C::kBatchCreate, C::kEditDelete},
         {C::kConsole}},
        {{.hasMainSelection = true},
         {C::kRotate180, C::kMirrorTopBottom},
         {C::kMultiCutStart, C::kMultiCutExecute}},
        {{.hasMainSelection = true, .canCutMainSelection = true}, {C::kMultiCutStart}, {}},
        {{.hasMainSelection = true, .canCutMainSelection = true, .multiCutMode = true},
         {C::kMultiCutStop, C::kMultiCutExecute, C::kMultiCutSettings},
         {C::kMultiCutStart}},
        {{.undoCount = 1}, {C::kEditUndo}, {C::kEditRedo}},
        // Similar images need a second node and a background.
        {{.nodeCount = 2, .hasMainSelection = true, .hasBackgroundImage = true},
         {C::kSwapWithSimilar},
         {}},
        {{.nodeCount = 1, .hasMainSelection = true, .hasBackgroundImage = true},
         {},
         {C::kSwapWithSimilar}},
        {{.nodeCount = 2, .hasMainSelection = true}, {}, {C::kSwapWithSimilar}},
        {{.redoCount = 9}, {C::kEditRedo}, {C::kEditUndo}},
    };
    for (std::size_t r = 0; r < std::size(rows); ++r) {
        for (const bool on : {true, false}) {
            for (CommandId id : on ? rows[r].on : rows[r].off) {
                QVERIFY2(Enabled(id, rows[r].context) == on,
                         qPrintable(u"row %1, command %2"_s.arg(r).arg(int(id))));
            }
        }
    }
}

void CommandRulesTest::multiCutIsOfferedExactlyWhenItCanStart() {
    struct Row {
        int visible;
        bool picture;
        bool startable;
    };
    const Row rows[] = {{1, true, true}, {0, true, false}, {1, false, false}};
    for (const Row& row : rows) {
        init();
        AddNodes(1, 1);
        doc_->Node(0).visible = row.visible;
        if (!row.picture) doc_->Pictures().Release(doc_->Node(0).picture);
        const bool enabled =
            Enabled(CommandId::kMultiCutStart, tessaly::ReadDocumentContext(*doc_));
        tessaly::AppSettings grid;
        tessaly::MultiCutSession session;
        QCOMPARE(enabled, row.startable);
        QCOMPARE(session.Start(*doc_, grid), row.startable);
    }
}

void CommandRulesTest::gridEntriesAreCheckedByMode() {
    const std::array spacings = {CommandId::kGrid10, CommandId::kGrid40, CommandId::kGrid70,
                                 CommandId::kGrid100, CommandId::kGridCross};
    CommandContext context;
    for (int mode = 1; mode <= 5; ++mode) {
        context.gridMode = mode;
        for (int k = 0; k < 5; ++k) {
            QCOMPARE(Checked(spacings[static_cast<std::size_t>(k)], context), k == mode - 1);
        }
        QVERIFY(!Checked(CommandId::kGridNone, context));
        // A hidden grid keeps its spacing but only "なし" is checked.
        context.gridMode = -mode;
        QVERIFY(Checked(CommandId::kGridNone, context));
        for (CommandId id : spacings)
            QVERIFY(!Checked(id, context));
    }
    context.gridOnTop = 1;
    QVERIFY(Checked(CommandId::kGridOnTop, context));
    context.gridOnTop = 0;
    QVERIFY(!Checked(CommandId::kGridOnTop, context));
    // Check marks belong to these entries only.
    QVERIFY(tessaly::HasCheckMark(CommandId::kGridNone));
    QVERIFY(tessaly::HasCheckMark(CommandId::kStyleOffice2007Aqua));
    QVERIFY(!tessaly::HasCheckMark(CommandId::kStyleWindows7));
    QVERIFY(!tessaly::HasCheckMark(CommandId::kAlignLeft));
}

void CommandRulesTest::onlyTheStoredStyleIsChecked() {
    const std::array offered = {205, 206, 207, 208, 209, 210, 215, 216, 217, 218};
    CommandContext context;
    for (int stored : {205, 210, 216, 218, 219, 211, 0, 999}) {
        context.applicationLook = stored;
        for (int number : offered) {
            QCOMPARE(Checked(static_cast<CommandId>(number), context), number == stored);
        }
    }
}

void CommandRulesTest::visualStylesLookDifferent() {
    const std::array numbers = {205, 206, 207, 208, 209, 210, 215, 216, 217, 218, 219};
    for (std::size_t a = 0; a < numbers.size(); ++a) {
        const tessaly::VisualStyle first = tessaly::VisualStyleFor(numbers[a]);
        QCOMPARE(first.number, numbers[a]);
        for (std::size_t b = a + 1; b < numbers.size(); ++b) {
            const tessaly::VisualStyle second = tessaly::VisualStyleFor(numbers[b]);
            const bool differs =
                first.styleName != second.styleName ||
                first.palette.color(QPalette::Window) != second.palette.color(QPalette::Window);
            QVERIFY2(differs,
                     qPrintable(u"%1 and %2 look alike"_s.arg(numbers[a]).arg(numbers[b])));
        }
    }
    // A number no entry carries falls back to the Office 2007 look; 219 does not.
    QCOMPARE(tessaly::VisualStyleFor(500).palette.color(QPalette::Window),
             tessaly::VisualStyleFor(215).palette.color(QPalette::Window));
    QCOMPARE(tessaly::VisualStyleFor(211).number, 215);
    QVERIFY(!tessaly::IsOfferedStyle(CommandId::kStyleWindows7));
    QVERIFY(!tessaly::IsOfferedStyle(static_cast<CommandId>(211)));
}

void CommandRulesTest::recentFileEntriesAreNumberedForTheKeyboard() {
    QCOMPARE(tessaly::RecentFileMenuText(0, u"/home/a/one.tsd"_s), u"&1 /home/a/one.tsd"_s);
    QCOMPARE(tessaly::RecentFileMenuText(8, u"/x.tsd"_s), u"&9 /x.tsd"_s);
    QCOMPARE(tessaly::RecentFileMenuText(9, u"/x.tsd"_s), u"1&0 /x.tsd"_s);
    QCOMPARE(tessaly::RecentFileMenuText(15, u"/x.tsd"_s), u"16 /x.tsd"_s);
    // An ampersand in a name is shown, not taken as a mnemonic.
    QCOMPARE(tessaly::RecentFileMenuText(1, u"/R&D/a.tsd"_s), u"&2 /R&&D/a.tsd"_s);
}

void CommandRulesTest::toolbarEntriesSplitPromptAndTooltip() {
    QCOMPARE(tessaly::StatusPrompt(CommandId::kPrint), u"ビューの表示内容を印刷します"_s);
    QCOMPARE(tessaly::ToolTipText(CommandId::kPrint), u"【印刷】"_s);
    QCOMPARE(tessaly::ToolTipText(CommandId::kAlignLeft), QString());
    QCOMPARE(tessaly::MenuText(CommandId::kEditDelete), u"削除(&D)\tDelete"_s);
    QCOMPARE(tessaly::MenuText(CommandId::kAlignLeft), u"左揃え"_s);
}

void CommandRulesTest::contextMenusFollowTheirOwnRules() {
    using tessaly::PopupContext;
    using tessaly::PopupKind;
    auto state = [](CommandId id, const PopupContext& c) { return tessaly::PopupStateOf(id, c); };
    PopupContext context;
    context.commands.nodeCount = 3;
    context.cutLineWidth = 4;

    // The canvas menu pastes only a bitmap; the menu bar's entry is always on.
    QVERIFY(!state(CommandId::kEditPaste, context).enabled);
    QVERIFY(Enabled(CommandId::kEditPaste, context.commands));
    context.clipboardHasBitmap = true;
    QVERIFY(state(CommandId::kEditPaste, context).enabled);

    QVERIFY(!state(CommandId::kPickNoSetColour, context).enabled);
    context.commands.consoleShown = true;
    QVERIFY(state(CommandId::kPickNoSetColour, context).enabled);
    QVERIFY(!state(CommandId::kConsole, context).enabled);

    context.commands.canCutMainSelection = true;
    QVERIFY(state(CommandId::kMultiCutStart, context).enabled);
    context.commands.multiCutMode = true;
    QVERIFY(!state(CommandId::kMultiCutStart, context).enabled);

    // Exactly the current line thickness is ticked.
    for (int width = 1; width <= tessaly::kCutLineWidths; ++width) {
        QCOMPARE(state(tessaly::CutLineWidthCommand(width), context).checked, width == 4);
    }

    // Every entry has a label.
    for (PopupKind kind : {PopupKind::View, PopupKind::Image, PopupKind::MultiCut}) {
        QVERIFY(!tessaly::PopupEntries(kind).empty());
        for (const tessaly::PopupEntry& entry : tessaly::PopupEntries(kind)) {
            QVERIFY(entry.id == tessaly::kPopupSeparator || !entry.label.isEmpty());
        }
    }
}

QTEST_MAIN(CommandRulesTest)
#include "command_rules_test.moc"
