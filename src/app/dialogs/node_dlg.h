#pragma once

#include <QDialog>
#include <QSize>
#include <optional>

class QLabel;
class QPushButton;
class QRadioButton;

namespace tessaly {

class BackgroundPreview;
class NodeProperties;
class NumberEdit;
class SectionSwatches;

// The modal dialog "イメージのプロパティ" on the node NodeProperties is open
// on: its shown size against its picture's, the three size commands with the
// undo of the last resampling, one-pixel moves, the colour averages and a
// preview. Every change lands in the document at once; "戻る" keeps them.
class CNodeDlg : public QDialog {
    Q_OBJECT

public:
    CNodeDlg(NodeProperties& properties, QWidget* parent = nullptr);

    // Rereads the picture and the size boxes: sizes, byte count, ratios and
    // which image buttons can be pressed.
    void RefreshNodeDlg();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* MakeSizeGroup();
    QWidget* MakeImageGroup();
    QWidget* MakePositionGroup();
    void SetBoxes(QSize size);
    void SizeChanged(std::optional<QSize> size);
    void Resample();
    void UndoResample();

    NodeProperties& properties_;
    NumberEdit* width_ = nullptr;
    NumberEdit* height_ = nullptr;
    QLabel* pixelSize_ = nullptr;
    QLabel* byteSize_ = nullptr;
    QLabel* widthRatio_ = nullptr;
    QLabel* heightRatio_ = nullptr;
    QPushButton* actualSize_ = nullptr;
    QPushButton* sameAspect_ = nullptr;
    QRadioButton* byWidth_ = nullptr;
    QPushButton* resample_ = nullptr;
    QPushButton* undoResample_ = nullptr;
    SectionSwatches* swatches_ = nullptr;
    BackgroundPreview* preview_ = nullptr;
    bool minimumSet_ = false;
};

}  // namespace tessaly
