#include "app/menus.h"

#include <QAction>
#include <QIcon>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>
#include <initializer_list>

#include "app/commands/command_rules.h"
#include "app/commands/command_texts.h"

namespace tessaly {
namespace {

// A separator in the lists below.
constexpr CommandId kSeparator = static_cast<CommandId>(0);

// Keys of the frame's own table. The canvas keys (copy, paste, delete,
// multi-cut start and stop) only name their key in the menu; the canvas
// acts on them while it has the focus. Where a command has several keys the
// menu names the first.
QList<QKeySequence> FrameKeys(CommandId id) {
    switch (id) {
        case CommandId::kFileNew:
            return {QKeySequence(Qt::CTRL | Qt::Key_N)};
        case CommandId::kFileOpen:
            return {QKeySequence(Qt::CTRL | Qt::Key_O)};
        case CommandId::kFileSave:
            return {QKeySequence(Qt::CTRL | Qt::Key_S)};
        case CommandId::kAppExit:
            return {QKeySequence(Qt::CTRL | Qt::Key_Q)};
        case CommandId::kEditUndo:
            return {QKeySequence(Qt::CTRL | Qt::Key_Z)};
        case CommandId::kEditRedo:
            return {QKeySequence(Qt::CTRL | Qt::Key_Y)};
        // Ctrl and the "+" of the main keys, typed with or without Shift on
        // the usual layouts. Ctrl with the keypad's "+" and "-" reaches these
        // too; the keypad keys alone stay the cut range's.
        case CommandId::kZoomIn:
            return {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)};
        case CommandId::kZoomOut:
            return {QKeySequence(Qt::CTRL | Qt::Key_Minus)};
        case CommandId::kZoomFit:
            return {QKeySequence(Qt::CTRL | Qt::Key_0)};
        case CommandId::kManual:
            return {QKeySequence(Qt::Key_F1)};
        case CommandId::kToggleGuide:
            return {QKeySequence(Qt::Key_F2)};
        case CommandId::kToggleAnimation:
            return {QKeySequence(Qt::Key_F10)};
        default:
            return {};
    }
}

QString IconFile(CommandId id) {
    switch (id) {
        case CommandId::kSetBackground:
            return QStringLiteral(":/icons/background.svg");
        case CommandId::kAddImages:
            return QStringLiteral(":/icons/add_images.svg");
        case CommandId::kConsole:
            return QStringLiteral(":/icons/console.svg");
        case CommandId::kExportImage:
            return QStringLiteral(":/icons/export_image.svg");
        case CommandId::kPrint:
            return QStringLiteral(":/icons/print.svg");
        case CommandId::kEditUndo:
            return QStringLiteral(":/icons/undo.svg");
        case CommandId::kEditRedo:
            return QStringLiteral(":/icons/redo.svg");
        case CommandId::kManual:
            return QStringLiteral(":/icons/manual.svg");
        case CommandId::kAbout:
            return QStringLiteral(":/icons/about.svg");
        default:
            return {};
    }
}

class Builder {
public:
    explicit Builder(QMainWindow& frame) : frame_(frame) {}

    QAction* Action(CommandId id) {
        auto found = menus_.actions.find(id);
        if (found != menus_.actions.end()) return found->second;
        auto* action = new QAction(MenuText(id), &frame_);
        action->setData(static_cast<int>(id));
        action->setCheckable(HasCheckMark(id));
        if (const QList<QKeySequence> keys = FrameKeys(id); !keys.isEmpty()) {
            action->setShortcuts(keys);
            action->setShortcutContext(Qt::WindowShortcut);
        }
        if (const QString icon = IconFile(id); !icon.isEmpty()) action->setIcon(QIcon(icon));
        if (const QString tip = ToolTipText(id); !tip.isEmpty()) action->setToolTip(tip);
        if (const QString prompt = StatusPrompt(id); !prompt.isEmpty()) {
            action->setStatusTip(prompt);
        }
        menus_.actions.emplace(id, action);
        return action;
    }

    void Fill(QMenu* menu, std::initializer_list<CommandId> ids) {
        for (CommandId id : ids) {
            if (id == kSeparator) {
                menu->addSeparator();
            } else {
                menu->addAction(Action(id));
            }
        }
    }

    QMenu* Menu(QWidget* parentMenu, QStringView title) {
        if (auto* bar = qobject_cast<QMenuBar*>(parentMenu)) return bar->addMenu(title.toString());
        return static_cast<QMenu*>(parentMenu)->addMenu(title.toString());
    }

    FrameMenus Build() {
        using C = CommandId;
        QMenuBar* bar = frame_.menuBar();

        QMenu* file = Menu(bar, menu_text::kFile);
        Fill(file,
             {C::kFileNew, C::kFileOpen, C::kFileSave, C::kFileSaveAs, kSeparator, C::kExportImage,
              C::kPrint, kSeparator, C::kEnvironmentSettings, C::kRecentFilesDialog, kSeparator,
              C::kRecentFilesPlace, kSeparator, C::kAppExit});
        menus_.fileMenu = file;
        menus_.recentFilesPlace = Action(C::kRecentFilesPlace);

        Fill(Menu(bar, menu_text::kEdit),
             {C::kEditUndo, C::kEditRedo, kSeparator, C::kEditCopy, C::kEditPaste, C::kEditDelete});

        QMenu* view = Menu(bar, menu_text::kView);
        Fill(view, {C::kHideSelected, C::kShowAll, kSeparator, C::kZoomIn, C::kZoomOut, C::kZoomFit,
                    kSeparator});
        Fill(Menu(view, menu_text::kGrid), {C::kGridNone, kSeparator, C::kGridCross, C::kGrid10,
                                            C::kGrid40, C::kGrid70, C::kGrid100});
        Fill(view, {C::kGridOnTop, kSeparator, C::kViewToolBar, C::kViewStatusBar, kSeparator});
        QMenu* style = Menu(view, menu_text::kStyle);
        Fill(style, {C::kStyleWindows2000, C::kStyleOfficeXp, C::kStyleWindowsXp,
                     C::kStyleOffice2003, C::kStyleVs2005, C::kStyleVs2008});
        Fill(Menu(style, menu_text::kOffice2007),
             {C::kStyleOffice2007Blue, C::kStyleOffice2007Black, C::kStyleOffice2007Silver,
              C::kStyleOffice2007Aqua});

        Fill(Menu(bar, menu_text::kPhotomosaic), {C::kSetBackground, C::kAddImages, C::kConsole,
                                                  kSeparator, C::kImageSizeCheck, C::kBatchCreate});
        Fill(Menu(bar, menu_text::kMultiCut),
             {C::kMultiCutStart, C::kMultiCutStop, C::kMultiCutExecute, C::kMultiCutSettings});
        Fill(Menu(bar, menu_text::kRotate), {C::kRotateRight, C::kRotate180, C::kRotateLeft,
                                             kSeparator, C::kMirrorLeftRight, C::kMirrorTopBottom});
        Fill(Menu(bar, menu_text::kAlign),
             {C::kAlignLeft, C::kAlignRight, C::kAlignTop, C::kAlignBottom, kSeparator,
              C::kCentreVertical, C::kCentreHorizontal, C::kSpaceVertical, C::kSpaceHorizontal,
              kSeparator, C::kSameWidth, C::kSameHeight, C::kSameSize});
        Fill(Menu(bar, menu_text::kHelp), {C::kManual, C::kAbout});

        QToolBar* tools = frame_.addToolBar(menu_text::kToolBarTitle.toString());
        tools->setObjectName(QStringLiteral("BasicToolBar"));
        tools->setIconSize(QSize(24, 24));
        tools->setAllowedAreas(Qt::AllToolBarAreas);
        for (CommandId id :
             {C::kSetBackground, C::kAddImages, C::kConsole, kSeparator, C::kExportImage, C::kPrint,
              kSeparator, C::kEditUndo, C::kEditRedo, kSeparator, C::kManual, C::kAbout}) {
            if (id == kSeparator) {
                tools->addSeparator();
            } else {
                tools->addAction(Action(id));
            }
        }
        menus_.toolBar = tools;

        // Keys without a menu item act in the whole window.
        frame_.addAction(Action(C::kToggleGuide));
        frame_.addAction(Action(C::kToggleAnimation));
        return std::move(menus_);
    }

private:
    QMainWindow& frame_;
    FrameMenus menus_;
};

}  // namespace

FrameMenus BuildFrameMenus(QMainWindow& frame) {
    return Builder(frame).Build();
}

}  // namespace tessaly
