#pragma once

#include <QJsonObject>
#include <QString>
#include <optional>

namespace tessaly {

// Reads a .tsd document (or an undo snapshot, which is the inner file
// without the cabinet) and describes it as JSON: the header, every field of
// the settings block by name, and every record. Nothing when it cannot be
// read; the reason has been reported.
std::optional<QJsonObject> DescribeDocumentFile(const QString& path);

}  // namespace tessaly
