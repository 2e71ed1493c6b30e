#pragma once

#include "canvas/selection.h"

class QCursor;

namespace tessaly {

// The mouse cursors the canvas shows. Some are the platform's own shapes, the
// others are pictures drawn by this program.
enum class CanvasCursor {
    Arrow,           // the platform arrow
    Hand,            // the platform pointing hand
    Move,            // drawn: a hand over a four-way arrow
    Blocked,         // drawn: a red circle crossed by a diagonal bar
    ZoomIn,          // drawn: a pointing hand with a "+" badge
    ZoomOut,         // drawn: a pointing hand with a "-" badge
    Dial,            // drawn: a circular arrow
    SplitLeftRight,  // the platform's horizontal splitter
    SplitUpDown,     // the platform's vertical splitter
    SizeNorthSouth,
    SizeWestEast,
    SizeNeSw,
    SizeNwSe,
};

// The cursor of a role. The drawn pictures are 32x32 pixmaps made on first use
// and kept for the life of the program; their hot spot is the fingertip for
// the hands and the centre for the others. Call only while a QGuiApplication
// exists: Qt cannot make any cursor before that.
const QCursor& CursorFor(CanvasCursor role);

// The sizing cursor of a selection handle.
CanvasCursor HandleCursor(Handle handle);

}  // namespace tessaly
