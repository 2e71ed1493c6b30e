#pragma once

#include <QString>

class QTreeWidget;
class QWidget;

namespace tessaly {

// Asks the user for a folder, starting at `initialPath` (or the home folder
// when that is empty or not an existing folder). Returns the chosen folder,
// or an empty string when the user cancels.
QString BrowseFolder(QWidget* owner, const QString& initialPath);

// Numbers the rows of a list: column 0 of top-level row i reads i + 1.
void NumberRows(QTreeWidget* list);

}  // namespace tessaly
