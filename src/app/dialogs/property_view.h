#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "edits/view_properties.h"

class QPushButton;

namespace tessaly {

class BackgroundPreview;
class ColourButton;
class LineStyleCombo;
class NumberBox;

// The modal dialog "ビューのプロパティ": canvas size, background colour,
// canvas frame line and the background picture. It works on copies; the
// caller applies TakeResult() after the dialog was accepted ("保存終了").
class CPropertyView : public QDialog {
    Q_OBJECT

public:
    // `current` is the document's background picture, or nullptr.
    CPropertyView(const ViewProperties& values, const ImageBlob* current,
                  QWidget* parent = nullptr);
    ~CPropertyView() override;

    // What the dialog holds; meant for after it was accepted.
    ViewPropertiesResult TakeResult();

    // Replaces the open-file dialog of "セット": returns the chosen path, or
    // an empty string for none.
    using FileChooser = std::function<QString(QWidget* owner)>;
    void SetFileChooserForTesting(FileChooser chooser) { chooseFile_ = std::move(chooser); }

    // "保存終了": reads the boxes, clamped to their ranges, and closes.
    void accept() override;

private:
    void BuildControls();
    void SetPicture();
    void ClearPicture();
    void FitWidth();
    void FitHeight();
    // The new picture if there is one, otherwise the current one.
    const ImageBlob* ShownPicture() const;
    // Shows the held pictures and enables the buttons that need one.
    void PicturesChanged();

    ViewProperties values_;
    std::optional<ImageBlob> current_;
    std::optional<ImageBlob> new_;
    FileChooser chooseFile_;

    NumberBox* width_ = nullptr;
    NumberBox* height_ = nullptr;
    ColourButton* backColour_ = nullptr;
    ColourButton* lineColour_ = nullptr;
    NumberBox* lineWidth_ = nullptr;
    LineStyleCombo* lineStyle_ = nullptr;
    QPushButton* clear_ = nullptr;
    QPushButton* fitWidth_ = nullptr;
    QPushButton* fitHeight_ = nullptr;
    BackgroundPreview* preview_ = nullptr;
};

class EditedDocument;

// Opens the view properties dialog on the document's settings and, when it
// ends with "保存終了", applies what it holds. Returns what was applied
// (nothing after "中止").
AppliedViewProperties EditViewProperties(EditedDocument& edited, QWidget* owner);

}  // namespace tessaly
