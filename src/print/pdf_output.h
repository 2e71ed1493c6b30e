#pragma once

#include <QPageLayout>
#include <QString>

#include "print/print_job.h"

class QObject;

namespace tessaly {

class Document;

// Prints the canvas into the PDF file `path` on sheets of `layout`'s paper
// and orientation, in the device pixels of request.metrics. The pages are
// written under a temporary name beside `path`, which they replace only
// once complete and on disk: a job that fails or is cancelled leaves an
// earlier file at `path` as it was. A file that cannot be begun or written
// is reported with its path and "ファイルの保存に失敗しました"; a cancelled job
// is not.
PrintOutcome PrintCanvasToPdf(const QString& path, const QPageLayout& layout, const Document& doc,
                              const PrintRequest& request, QObject* owner = nullptr);

}  // namespace tessaly
