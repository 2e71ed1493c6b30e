#pragma once

#include <QDialog>
#include <array>

#include "document/doc_state.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLayout;
class QSlider;
class QToolButton;

namespace tessaly {

class CAtelierView;
class ColourButton;
class EditedDocument;
class ExplanationPanel;
class HistogramPanel;
class LineStyleCombo;
class NumberEdit;
struct ConsoleSettings;
struct DisplaySettings;

// The photomosaic console "フォトモザイクのコンソール": a tool window beside the
// canvas that edits the photomosaic settings of the document, runs the
// arrangement ("再配置"), applies the display settings ("再表示"), shows the
// statistics of the last run and hosts two side panels, the explanation and
// the colour histograms. It is created once, as a child window of the view,
// and then only shown and hidden; the view holds the shown flag.
//
// The edit boxes, check boxes, type buttons and colour buttons are stored
// into the document only by "再配置" and "再表示"; the track bars and the
// frame style write it at once.
class CMosaicDlg : public QDialog {
    Q_OBJECT

public:
    CMosaicDlg(EditedDocument& edited, CAtelierView& view);
    // Writes the window's place into "Mosaic" / "LastPX", "LastPY".
    ~CMosaicDlg() override;

    // Shows the console, or does nothing when it is shown already.
    void Open();
    // Hides it and clears the shown flag ("閉じる", Esc).
    void HideConsole();
    bool IsShown() const;

    // Fills every control from the document; also whenever a new or opened
    // document replaces the current one, whether the console is shown or not.
    void LoadControls();
    // Stores the display check boxes, the frame width and the frame colour.
    void StoreDisplaySettings();
    // Puts a colour into the no-set colour button; the document takes it at
    // the next "再配置".
    void SetNoSetColour(ColorRef colour);

    // "再配置" and "再表示".
    void Rearrange();
    void Redisplay();
    // "未配置イメージ表示": the hidden images come back at the canvas's
    // top-left corner selected, the view scrolls to them and the status bar
    // says how many.
    void ShowUnplaced();

    bool IsExplanationShown() const { return explanationShown_; }
    bool IsHistogramShown() const { return histogramShown_; }
    void ToggleExplanation();
    void ToggleHistogram();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QWidget* BuildArrangementGroup();
    QWidget* BuildDisplayGroup();
    QLayout* BuildBottomRow();
    void BuildPanels();
    void PlaceAtStart();
    // The size of the desktop the console is shown on.
    QSize DesktopSize() const;
    // Moves the window to `place`, or as near as it stays wholly on the desktop.
    void KeepOnDesktop(QPoint place);

    ConsoleSettings ReadSettings();
    DisplaySettings ReadDisplay();
    void ShowSections(int position);
    void ShowPrecision(int precision);
    void ShowBrightness(int level);
    // Shows the side panel that is on, if any, and sizes the window for it.
    void LayoutPanels();
    void RefreshHistogram();

    EditedDocument& edited_;
    CAtelierView& view_;

    QButtonGroup* types_ = nullptr;
    NumberEdit* gridColumns_ = nullptr;
    NumberEdit* gridRows_ = nullptr;
    NumberEdit* layerThickness_ = nullptr;
    NumberEdit* sizeSteps_ = nullptr;
    QSlider* sections_ = nullptr;
    QLabel* sectionsValue_ = nullptr;
    QSlider* precision_ = nullptr;
    QLabel* precisionValue_ = nullptr;
    QCheckBox* skipNoSetColor_ = nullptr;
    ColourButton* noSetColour_ = nullptr;
    NumberEdit* noSetRange_ = nullptr;
    QCheckBox* differentColors_ = nullptr;
    QLabel* elapsed_ = nullptr;
    QLabel* areaRatio_ = nullptr;
    QLabel* unplaced_ = nullptr;
    QCheckBox* showBackPicture_ = nullptr;
    QCheckBox* adjustColors_ = nullptr;
    QCheckBox* mosaicBackground_ = nullptr;
    QSlider* brightness_ = nullptr;
    QLabel* brightnessValue_ = nullptr;
    QCheckBox* imageFrames_ = nullptr;
    NumberEdit* frameWidth_ = nullptr;
    LineStyleCombo* frameStyle_ = nullptr;
    ColourButton* frameColour_ = nullptr;

    QWidget* controls_ = nullptr;  // everything but the side panels
    ExplanationPanel* explanationPanel_ = nullptr;
    HistogramPanel* histogramPanel_ = nullptr;
    bool explanationShown_ = false;
    bool histogramShown_ = false;
    QSize sizeAtStart_;  // the window's size at creation
    bool shownBefore_ = false;
};

}  // namespace tessaly
