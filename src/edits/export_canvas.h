#pragma once

#include <QString>
#include <functional>
#include <optional>

class QObject;

namespace tessaly {

class EditedDocument;

// The file the user chose to export to and the index (1-based) of the type
// chosen in the save dialog (ExportFileTypes).
struct ExportTarget {
    QString path;
    int typeIndex = 0;
};

// The questions of an export that need a dialog, so that the steps can run
// without one.
struct ExportDialogs {
    // Shown with the proposed file name; nothing when cancelled.
    std::function<std::optional<ExportTarget>(const QString& defaultName)> chooseFile;
    // The JPEG quality 10..100; nothing when cancelled.
    std::function<std::optional<int>()> chooseQuality;
    // Called once every question is answered, before the long work: the
    // editor lets its windows repaint where the dialogs were. May be empty.
    std::function<void()> beforeWork;
};

// The file name an export proposes: the title up to its last "." with every
// line break removed.
QString DefaultExportName(const QString& title);

// Writes the canvas as the user sees it (background and visible nodes, no
// selection marks, grid or zoom console) into one image file.
//
// After the file choice (and the quality, for JPEG): an existing file is only
// overwritten after "指定したファイルは既に存在します…"; away from 100 % the user
// picks the current zoom (yes) or 100 % (no), or cancels. Every node is then
// deselected and stays so (the main selection keeps its index). The canvas
// is painted in bands and each band written as it is made (WriteImageFile),
// so the picture is never held whole; a failure is reported (a full disk as
// such), and the earlier file stays. The work is followed as long work
// (ExportProgress); when the user cancels it nothing is written or shown,
// and the selection stays. After a successful write the
// user may open the folder. Returns whether a file was written.
bool ExportCanvasImage(EditedDocument& edited, const QString& title, const ExportDialogs& dialogs,
                       QObject* owner = nullptr);

}  // namespace tessaly
