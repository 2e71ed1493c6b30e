#pragma once

#include <QStringList>

namespace tessaly {

// `tessaly-cli mosaic`: a photomosaic made in one go, the way the editor
// makes one by hand: a new document, the background picture, a folder of
// tile images added as the add command adds them, one run of the
// arrangement, then the document and/or a picture of its canvas written out.
// `args` are the arguments after the command name. Returns the exit code:
// 0 done, 1 bad input or a file that cannot be read or written, 2 a command
// line that does not parse.
int MosaicCommand(const QStringList& args);

}  // namespace tessaly
