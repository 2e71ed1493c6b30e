#pragma once

#include <QElapsedTimer>
#include <QStatusBar>
#include <array>
#include <memory>

#include "services/status_service.h"

class QLabel;
class QMenu;
class QProgressBar;
class QStackedWidget;

namespace tessaly {

// The editor's status bar: five panes (progress, object count, position and
// size of the main selection, cursor position), a progress bar kept over the
// first pane, and one information line that, while it holds text, replaces
// the panes. Right-clicking the bar offers a menu to show and hide panes.
//
// The core reaches it only through StatusSink; the main frame installs it.
class CMyStatusBar : public QStatusBar, public StatusSink {
    Q_OBJECT

public:
    explicit CMyStatusBar(QWidget* parent = nullptr);
    ~CMyStatusBar() override;

    // StatusSink
    void SetPaneText(StatusPane pane, const QString& text) override;
    void SetInfoText(const QString& text) override;
    void SetProgressRange(int minimum, int maximum) override;
    void SetProgressValue(int value) override;

    QString PaneText(StatusPane pane) const;
    QString InfoText() const;
    // True while the information line is drawn in place of the panes.
    bool IsInfoShowing() const;

    // The widget that draws a pane (its label text, tooltip and geometry).
    QLabel* PaneWidget(StatusPane pane) const;
    // The widget that draws the information line.
    QLabel* InfoWidget() const { return infoLabel_; }
    // A pane's rectangle in the bar's own coordinates.
    QRect PaneRect(StatusPane pane) const;
    QProgressBar* ProgressBar() const { return progress_; }

    bool IsPaneShown(StatusPane pane) const;
    void SetPaneShown(StatusPane pane, bool shown);

    // The menu the bar shows on a right click: one checkable entry per pane,
    // named by the pane's label, that shows or hides the pane.
    std::unique_ptr<QMenu> CreatePaneMenu();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdatePaneWidth(int index);
    // Puts the progress bar over pane 1 and decides whether it is visible,
    // and keeps the information text clear of it.
    void PlaceProgressBar();
    bool ProgressInUse() const;

    QStackedWidget* stack_ = nullptr;
    QWidget* panesRow_ = nullptr;
    QLabel* infoLabel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QElapsedTimer progressPainted_;  // when the bar last reached the screen
    std::array<QLabel*, kStatusPaneCount> panes_{};
    int infoIndent_ = -1;
};

}  // namespace tessaly
