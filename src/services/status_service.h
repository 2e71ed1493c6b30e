#pragma once

#include <QString>

namespace tessaly {

// The panes of the status bar, left to right.
enum class StatusPane : int {
    kProgress = 0,  // hosts the progress bar
    kObject = 1,    // number of nodes
    kPos = 2,       // left and top edge of the main selection
    kSize = 3,      // width and height of the main selection
    kCursor = 4,    // mouse position on the canvas
};
inline constexpr int kStatusPaneCount = 5;

// The status bar as the core sees it. The editor's status bar implements it;
// tests install recorders. Until one is installed every call is skipped, as
// status calls made before the main window exists are.
class StatusSink {
public:
    virtual ~StatusSink() = default;
    virtual void SetPaneText(StatusPane pane, const QString& text) = 0;
    // A non-empty text is drawn across the bar in place of the panes; the
    // empty text brings the panes back with their last contents.
    virtual void SetInfoText(const QString& text) = 0;
    virtual void SetProgressRange(int minimum, int maximum) = 0;
    virtual void SetProgressValue(int value) = 0;
};

void InstallStatusSink(StatusSink* sink);
bool HasStatusSink();

// Writes one pane directly (the canvas writes the cursor pane this way).
void SetStatusPane(StatusPane pane, const QString& text);

// Shows a text across the whole bar; the empty text shows the panes again.
void SetStatusInfo(const QString& text);

// Drives the progress bar of a long operation: the range is 0..total from
// construction on, and the bar returns to 0 when the operation ends, however
// it ends.
class StatusProgress {
public:
    explicit StatusProgress(int total);
    ~StatusProgress();
    StatusProgress(const StatusProgress&) = delete;
    StatusProgress& operator=(const StatusProgress&) = delete;

    void SetPos(int pos);
};

// Groups the digits of a count or byte size with ",": texts of 4 to 9 digits
// are grouped ("1234567" gives "1,234,567"); shorter and longer ones are
// returned as they are.
QString FormatThousands(const QString& digits);
QString FormatThousands(qint64 value);

}  // namespace tessaly
