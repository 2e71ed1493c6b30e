#pragma once

#include <QString>

namespace tessaly {

// The folder for the program's temporary files: the system temporary folder
// followed by "Tessaly", created when missing. Empty, after the message
// "作業フォルダの取得に失敗しました", when it cannot be created.
QString WorkingFolder();

// A new, empty file with a unique name beginning "TSD" in the working folder;
// empty when the folder or the file cannot be made.
QString NewTempFile();

// Whether `fileName` is a name the program generates in the working folder.
bool IsGeneratedTempName(const QString& fileName);

// Deletes what the program leaves in the working folder: the files of fixed
// names, each overwritten by its next use ("tmp.jpeg" for a bitmap taken
// from another program, "tmp." + the image type for a downloaded link), and
// the generated files (names beginning "TSD", any case) among the first
// `maxEntries` entries. Anything else there stays. Failures are ignored;
// does nothing, and says nothing, when the folder does not exist.
void CleanWorkingFolder(int maxEntries = 100);

}  // namespace tessaly
