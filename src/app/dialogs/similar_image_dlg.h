#pragma once

#include <QDialog>
#include <vector>

#include "mosaic/similar_images.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace tessaly {

class EditedDocument;

// "似た色のイメージと入れ替え": a small tool window listing the images
// closest in colour to the background under one node. Choosing one puts it
// in the node's place (one step of undo each); the window stays on that
// place so that another can be tried, and "元に戻す" gives the place back to
// the node. Closing keeps the last choice. Any change of the document made
// elsewhere closes the window, since the place it offers for may be gone.
class CSimilarImageDlg : public QDialog {
    Q_OBJECT

public:
    // Ranks the candidates for `node` at once; the document must have a
    // background picture.
    CSimilarImageDlg(EditedDocument& edited, int node, QWidget* parent);

    // The candidates, closest first, as listed.
    const std::vector<SimilarImage>& Candidates() const { return candidates_; }
    // Puts the candidate of row `row` in the place (-1 gives it back).
    void Choose(int row);

private:
    void Fill();
    void Apply(int candidate);
    void ShowChoice();

    EditedDocument& edited_;
    int original_;
    int tried_ = -1;  // the candidate in the place now, -1 for none
    bool applying_ = false;
    std::vector<SimilarImage> candidates_;
    QListWidget* list_;
    QLabel* none_;
    QPushButton* giveBack_;
};

}  // namespace tessaly
