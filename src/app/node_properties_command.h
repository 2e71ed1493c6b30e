#pragma once

class QWidget;

namespace tessaly {

class EditedDocument;

// "プロパティ" of the image menu: runs the image properties dialog on the
// main selection, as one step of undo. Nothing happens without a main
// selection or when its node has no picture.
void EditNodeProperties(EditedDocument& edited, QWidget* owner);

}  // namespace tessaly
