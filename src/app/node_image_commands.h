#pragma once

class QWidget;

namespace tessaly {

class CAtelierView;

// The image-file entries of the canvas's node menu, with their file dialogs.

// "イメージを変更": asks for an image file and gives it to the main
// selection, which keeps its rectangle. No undo snapshot is taken.
void ChangeNodeImageCommand(CAtelierView& view, QWidget* owner);

// "イメージをファイルに保存": asks for a file name (JPEG preselected, "無題"
// proposed) and writes the main selection's picture into it.
void SaveNodeImageCommand(CAtelierView& view, QWidget* owner);

}  // namespace tessaly
