#include "app/menus.h"

#include <QAction>
#include <QIcon>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>
#include <initializer_list>

#include "app/commands/command.h"

namespace tessaly {
namespace {

// A separator in the lists below.
constexpr CommandId kSeparator = static_cast<CommandId>(0);

class Builder {
public:
    explicit Builder(QMainWindow& frame) : frame_(frame) {}

    QAction* Action(CommandId id) {
        auto found = menus_.actions.find(id);
        if (found != menus_.actions.end()) return found->second;
        auto* action = new QAction(MenuText(id), &frame_);
        action->setData(static_cast<int>(id));
        if (const Command* command = Commands().Find(id)) {
            action->setCheckable(command->checkable);
            if (!command->keys.isEmpty()) {
                action->setShortcuts(command->keys);
                action->setShortcutContext(Qt::WindowShortcut);
            }
            if (!command->icon.isEmpty()) action->setIcon(QIcon(command->icon));
        }
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
