#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>

#include "canvas/multi_cut_grid.h"

class QObject;

namespace tessaly {

struct AppSettings;
class EditedDocument;
class MultiCutSession;

// Cutting the picture of the multi-cut node into the pieces of the grid,
// either as new nodes or as image files.

// The grid in the picture's own pixels: the canvas values divided by the
// node's scale (node size over picture size) and truncated; the gaps in
// thousandths. Cells are at least one pixel.
struct CutSource {
    int offsetX = 0;
    int offsetY = 0;
    int cellWidth = 1;
    int cellHeight = 1;
    int gapX = 0;
    int gapY = 0;
};
CutSource SourceGeometry(const CutArea& area, const AppSettings& grid, QSize picture);
QRect SourceCell(const CutSource& source, int column, int row);

// The part `cell` of `picture`; where the cell reaches beyond the picture
// the piece is white.
QImage CopyCell(const QImage& picture, const QRect& cell);

// The file type written for "MultiExt": 0 "jpeg", 1 "gif", 2 "bmp", 3 "png",
// 4 "tiff", anything else "jpeg".
QString CutFileType(int multiExt);

// The pieces are numbered with eight digits.
inline constexpr int kPieceNumberLimit = 100000000;

// Claims the first name folder + "%08d." + type from `counter` on that no
// file has, by creating it empty, so that nothing else takes it before the
// piece is written; `counter` moves past it. Empty when every number up to
// `limit` is taken, or when the folder does not let the file be made.
QString ClaimPieceName(const QString& folder, int& counter, const QString& type,
                       int limit = kPieceNumberLimit);

// What became of an execution.
enum class CutOutcome {
    Nothing,       // the mode was off or lost its node, or the picture could not be had
    Cancelled,     // the question was cancelled, or no folder was chosen
    NodesAdded,    // every piece became a node; the mode has ended
    NodeLimit,     // the node limit stopped it; the nodes so far stay
    FilesWritten,  // every piece was written
    FilesFailed,   // some pieces could not be written; reported as a failure
};

// Asks the folder for the pieces, starting at the given one; empty when
// cancelled.
using ChooseFolder = std::function<QString(const QString& start)>;

// "マルチカット実行": asks whether each piece becomes a node (yes) or a file
// (no). Nodes: one undo step adds every piece at its place on the canvas, at
// the cell's size, selected; the mode then ends. Files: every piece is
// written into the chosen folder under a new number; an existing file is
// never replaced. When any piece could not be written, one stop message at
// the end names the folder and how many of the pieces failed; only when all
// were written may the user open the folder. The mode stays on. Nothing is
// cut when the session no longer holds the node it started on.
CutOutcome ExecuteMultiCut(EditedDocument& edited, MultiCutSession& session,
                           const AppSettings& grid, const ChooseFolder& chooseFolder,
                           QObject* owner = nullptr);

}  // namespace tessaly
