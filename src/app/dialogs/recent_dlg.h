#pragma once

#include <QDialog>

class QTreeWidget;
class QTreeWidgetItem;

namespace tessaly {

class RecentFileList;

// The modal dialog "最近使ったファイルの管理": the recent-file list with a
// check box per row. Deleting the checked rows, or all of them, takes the
// files off `recent` at once; a double-click shows the row's folder.
class CRecentDlg : public QDialog {
    Q_OBJECT

public:
    explicit CRecentDlg(RecentFileList& recent, QWidget* parent = nullptr);

    QTreeWidget* List() const { return list_; }

    // "チェックのある履歴を削除(&P)".
    void DeleteChecked();
    // "すべての履歴を削除(&A)".
    void DeleteAll();

private:
    void BuildList();
    void ShowFolderOf(QTreeWidgetItem* row);

    RecentFileList& recent_;
    QTreeWidget* list_ = nullptr;
};

}  // namespace tessaly
