#pragma once

#include <optional>

#include "document/doc_state.h"
#include "image/image_blob.h"

class QObject;

namespace tessaly {

class EditedDocument;

// The canvas settings the view properties dialog edits.
struct ViewProperties {
    int canvasWidth = 0;
    int canvasHeight = 0;
    ColorRef backColor = 0;
    ColorRef canvasLineColor = kColorNone;
    int canvasLineWidth = 1;
    int canvasLineStyle = 0;

    friend bool operator==(const ViewProperties&, const ViewProperties&) = default;
};

// The settings as the document holds them now.
ViewProperties ReadViewProperties(const DocState& state);

// What the dialog ends with: the settings, whether the background picture it
// was opened with is still held (false after "クリア"), and a newly loaded
// picture, if any, which replaces the background.
struct ViewPropertiesResult {
    ViewProperties values;
    bool currentPictureKept = true;
    std::optional<ImageBlob> newPicture;
};

struct AppliedViewProperties {
    bool changed = false;            // something reached the document
    bool backgroundCleared = false;  // the background picture it had was let go
    bool backgroundSet = false;      // a new background picture was stored
};

// Stores the result as one undoable edit, taken only when something changes.
// A new canvas size first asks whether the nodes follow it (yes: they scale,
// no: only the margin changes, cancel: the size stays and the rest is still
// stored). With "no" the canvas shrinks no further than the nodes reach, and
// a side held larger than asked is told to the user. A new picture gets its histogram; the background copy follows the
// picture by itself.
AppliedViewProperties ApplyViewProperties(EditedDocument& edited, ViewPropertiesResult result,
                                          QObject* owner);

}  // namespace tessaly
