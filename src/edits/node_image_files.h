#pragma once

#include <QString>
#include <functional>

class QObject;

namespace tessaly {

class Document;

// Exchanging the main selection's picture with an image file. The file
// dialogs are passed in, so the steps run without a window.

// Shows a file dialog and returns the path chosen, or empty when cancelled.
using ChooseFile = std::function<QString()>;

// "イメージを変更": the file chosen goes to `replace` with its image type
// (ImageTypeOf) when it exists and is of one of the five image types;
// otherwise, or when cancelled, nothing happens. Returns what `replace`
// returned, false when it was not called (also without a main selection).
using ReplaceWithFile = std::function<bool(int node, const QString& path, const QString& type)>;
bool ChangeNodeImage(const Document& doc, const ChooseFile& choose, const ReplaceWithFile& replace);

// "イメージをファイルに保存": writes the main selection's picture at its own
// pixel size into the file chosen, in the type its extension names, quality
// 100. Nothing happens without a main selection with a picture, when
// cancelled, for a name of no image type, or when an existing file is not to
// be overwritten. A file that cannot be written is reported
// ("ファイルの保存に失敗しました"); after a write the user may open its
// folder. The document does not change. Returns whether a file was written.
bool SaveNodeImage(const Document& doc, const ChooseFile& choose, QObject* owner = nullptr);

}  // namespace tessaly
