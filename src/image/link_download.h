#pragma once

#include <QString>
#include <functional>

namespace tessaly {

// Fetching the image behind a link dropped from a web browser. Only http and
// https are fetched, within a time and a size limit; the caller may cancel.

struct DownloadLimits {
    int timeoutMs = 30'000;
    qint64 maxBytes = 50LL * 1024 * 1024;
};

enum class DownloadOutcome {
    Done,
    Refused,  // not an http or https address
    Failed,   // no connection, an error status, or the file could not be written
    TimedOut,
    TooLarge,
    WebPage,  // the answer begins with "<": a page came back instead of an image
    Cancelled,
};

// Asked while the download runs with the bytes received so far and the
// expected total (-1 when unknown); returning false cancels it.
using DownloadProgress = std::function<bool(qint64 received, qint64 total)>;

// Downloads `link` into the file `target`, replacing it only when the whole
// image has arrived. Runs a local event loop until done.
DownloadOutcome DownloadToFile(const QString& link, const QString& target,
                               const DownloadLimits& limits = {},
                               const DownloadProgress& progress = {});

// Downloads `link` as the working folder's file "tmp." + `type` and returns
// its path. Any failure but a cancel says that the download failed; every
// failure returns the empty path.
QString DownloadLink(const QString& link, const QString& type, const DownloadLimits& limits = {},
                     const DownloadProgress& progress = {});

}  // namespace tessaly
