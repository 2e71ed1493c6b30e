#pragma once

#include <QDialog>

#include "canvas/multi_cut_grid.h"

class QButtonGroup;
class QLabel;
class QLineEdit;

namespace tessaly {

struct AppSettings;
class CAtelierView;
class NumberEdit;

// The multi-cut settings "マルチカット設定": the number of cells across and
// down, the gaps between them and the file type the pieces are saved as. A
// small tool window created once, as a child window of the view, and then
// only shown and hidden. Every change goes through the grid's fitting rule
// at once; the boxes always show the values in use. A value brought back to
// what fits is explained by a line under the values until the next change
// that is taken as it is.
class CMultuCutDlg : public QDialog {
    Q_OBJECT

public:
    CMultuCutDlg(CAtelierView& view, AppSettings& grid);
    // Writes the window's place into "MultuCut" / "LastPX", "LastPY".
    ~CMultuCutDlg() override;

    // Shows the window with the current values; a window shown again hands
    // the keyboard back to the canvas. Nothing happens while it is shown.
    void Open();
    // "閉じる", Esc and the window's close button.
    void HideDialog();

    // A step of a count's spin (`steps` up, or down when negative).
    void StepCount(GridValue which, int steps);
    // The value typed into a count box, or a gap box's apply button.
    void ApplyTyped(GridValue which);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    QWidget* BuildCountRow(GridValue which);
    QWidget* BuildGapRow(GridValue which);
    QWidget* BuildTypeGroup();
    void PlaceAtStart();
    // Runs the fitting rule with a new value, redraws the canvas when the
    // grid was accepted and shows the values in use.
    void Change(GridValue which, float value);
    void ShowValues();

    CAtelierView& view_;
    AppSettings& grid_;
    NumberEdit* columns_ = nullptr;
    NumberEdit* rows_ = nullptr;
    QLineEdit* gapX_ = nullptr;
    QLineEdit* gapY_ = nullptr;
    QButtonGroup* types_ = nullptr;
    QLabel* refusal_ = nullptr;  // why the last value was not taken
    bool shownBefore_ = false;
};

}  // namespace tessaly
