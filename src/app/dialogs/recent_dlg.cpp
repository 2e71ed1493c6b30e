#include "app/dialogs/recent_dlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ui_helpers.h"
#include "app/widgets/grid_lines_delegate.h"
#include "services/file_manager.h"
#include "services/recent_files.h"

namespace tessaly {
namespace {

constexpr QStringView kTitle = u"最近使ったファイルの管理";
constexpr QStringView kNumberColumn = u"№";
constexpr QStringView kPathColumn = u"パス";
constexpr QStringView kDeleteChecked = u"チェックのある履歴を削除(&P)";
constexpr QStringView kDeleteAll = u"すべての履歴を削除(&A)";
constexpr QStringView kBack = u"戻る(&B)";
constexpr QStringView kNote = u"※ 行をＷクリックするとファイルの場所を表示します。";

constexpr int kNumberWidth = 60;
constexpr int kPathWidth = 450;
constexpr int kPathColumnIndex = 1;

}  // namespace

CRecentDlg::CRecentDlg(RecentFileList& recent, QWidget* parent) : QDialog(parent), recent_(recent) {
    setWindowTitle(kTitle.toString());
    BuildList();

    auto* deleteChecked = new QPushButton(kDeleteChecked.toString(), this);
    auto* deleteAll = new QPushButton(kDeleteAll.toString(), this);
    auto* back = new QPushButton(kBack.toString(), this);
    for (QPushButton* button : {deleteChecked, deleteAll})
        button->setAutoDefault(false);
    back->setDefault(true);
    connect(deleteChecked, &QPushButton::clicked, this, &CRecentDlg::DeleteChecked);
    connect(deleteAll, &QPushButton::clicked, this, &CRecentDlg::DeleteAll);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(deleteChecked);
    buttons->addWidget(deleteAll);
    buttons->addStretch();
    buttons->addWidget(back);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addWidget(new QLabel(kNote.toString(), this));
    layout->addLayout(buttons);
}

void CRecentDlg::BuildList() {
    list_ = new QTreeWidget(this);
    list_->setColumnCount(2);
    list_->setHeaderLabels({kNumberColumn.toString(), kPathColumn.toString()});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setItemDelegate(new GridLinesDelegate(list_));
    list_->header()->setSectionsMovable(false);
    list_->setColumnWidth(0, kNumberWidth);
    list_->setColumnWidth(kPathColumnIndex, kPathWidth);
    list_->headerItem()->setTextAlignment(0, Qt::AlignCenter);
    list_->setMinimumSize(kNumberWidth + kPathWidth + 24, 260);
    // The styles outline a row's check box in a shade of the window colour,
    // which vanishes on a dark list; a shade of the text keeps it in sight.
    QPalette palette = list_->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Text));
    list_->setPalette(palette);

    const QStringList& files = recent_.Files();
    const int count = std::min<int>(static_cast<int>(files.size()), RecentFileList::kMaxEntries);
    for (int i = 0; i < count; ++i) {
        auto* row = new QTreeWidgetItem(list_);
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(0, Qt::Unchecked);
        row->setTextAlignment(0, Qt::AlignCenter);
        row->setText(kPathColumnIndex, files.at(i));
    }
    NumberRows(list_);
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* row) { ShowFolderOf(row); });
}

void CRecentDlg::DeleteChecked() {
    QList<int> checked;
    for (int i = list_->topLevelItemCount() - 1; i >= 0; --i) {
        if (list_->topLevelItem(i)->checkState(0) == Qt::Checked) checked.append(i);
    }
    recent_.RemoveAt(checked);
    for (const int i : checked)
        delete list_->takeTopLevelItem(i);
    NumberRows(list_);
}

void CRecentDlg::DeleteAll() {
    recent_.Clear();
    list_->clear();
}

void CRecentDlg::ShowFolderOf(QTreeWidgetItem* row) {
    if (row) OpenInExplorer(row->text(kPathColumnIndex));
}

}  // namespace tessaly
