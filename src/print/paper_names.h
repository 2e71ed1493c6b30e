#pragma once

#include <QPageSize>
#include <QString>

namespace tessaly {

// The paper table: the paper size codes a printer setting is stored with
// (1 Letter .. 41 German legal fanfold, the Windows paper numbers), their
// names and their page sizes.

// The name shown for a paper size code; "etc." for any other code.
QString PaperName(int code);

// The page size of a paper size code. Codes beyond the table go by Qt's
// reading of the Windows paper numbers; a code nobody knows gives A4.
QPageSize::PageSizeId PageSizeForPaperCode(int code);

// The paper size code of a page size; 0 when it has none. Some codes share
// a size (Tabloid and 11x17inchSheet): `chosen`, the code last chosen, is
// kept when it is one of them.
int PaperCodeFor(const QPageSize& size, int chosen = 0);

}  // namespace tessaly
