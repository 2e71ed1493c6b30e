#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>
#include <vector>

#include "canvas/image_batch.h"
#include "mosaic/tile_batch.h"

class QButtonGroup;
class QProgressBar;
class QTreeWidget;

namespace tessaly {

class NumberEdit;

// The modal dialog "モザイク用イメージ一括作成": a list of image files, added
// with "追加(&A)" or dropped on the list, shrunk by "作成開始(&S)" into new
// files of the desktop's "Images" folder. It opens on the choices stored in
// "MakeMosaic" and stores them when creation starts; "中止(&C)" leaves them.
class CMakeMosaicDlg : public QDialog {
    Q_OBJECT

public:
    explicit CMakeMosaicDlg(QWidget* parent = nullptr);

    // Files dropped on the list: a folder brings the files inside it; at most
    // kMaxAddEntries images per drop.
    void DropFiles(const QStringList& paths);
    // The listed paths, in order.
    QStringList ListedPaths() const;

    // "作成開始(&S)": writes the tiles and closes, or says why not and stays.
    void StartCreating();

    // Where the tiles go; the desktop's "Images" folder unless changed.
    void SetOutputFolder(const QString& folder) { outputFolder_ = folder; }
    // Replaces the file dialog of "追加(&A)".
    using FileChooser = std::function<QStringList()>;
    void SetFileChooserForTesting(FileChooser chooser) { chooser_ = std::move(chooser); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildList();
    QLayout* BuildSizes();
    QLayout* BuildChoices();
    void AddChosenFiles();
    void AddFiles(const std::vector<ImageEntry>& offered);
    void RemoveSelected();
    std::vector<ImageEntry> ListedImages() const;
    void ShowSettings(const TileBatchSettings& settings);
    TileBatchSettings ReadSettings();

    QTreeWidget* list_ = nullptr;
    NumberEdit* width_ = nullptr;
    NumberEdit* height_ = nullptr;
    QButtonGroup* methods_ = nullptr;
    QButtonGroup* naming_ = nullptr;
    QButtonGroup* types_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QString outputFolder_;
    FileChooser chooser_;
};

}  // namespace tessaly
