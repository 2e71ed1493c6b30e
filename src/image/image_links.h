#pragma once

#include <QString>

namespace tessaly {

// Links dropped from a web browser: which image they lead to.

// The image type a link ends in: "jpeg" (.jpeg, .jpg), "gif", "bmp", "png" or
// "tiff" (.tiff, .tif), in any case. A link that does not end in one (a search
// result, a page with the image address in its query) is searched for an
// embedded image address, which then replaces `link`. Empty when there is
// none; `link` is left as it was then.
QString LinkImageType(QString& link);

// The image address ending in "." + `extension` that `link` carries: the
// link is cut after the first such extension and the result starts at the
// last "http://" or "https://" before it. Percent escapes in the result are
// decoded and the search repeated, so an address carried in a query string
// is found. Empty when there is none.
QString FindEmbeddedLink(const QString& link, const QString& extension);

// Decodes "%XX" escapes (either case of hex digits); the bytes are read as
// UTF-8. A "%" followed by fewer than two characters, or escapes that do not
// form UTF-8, give the empty text. A "%" not followed by two hex digits is
// kept as it is; a leading byte-order mark is dropped.
QString PercentDecode(const QString& text);

}  // namespace tessaly
