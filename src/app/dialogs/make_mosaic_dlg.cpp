#include "app/dialogs/make_mosaic_dlg.h"

#include <QButtonGroup>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ui_helpers.h"
#include "app/widgets/grid_lines_delegate.h"
#include "app/widgets/number_edit.h"
#include "edits/saved_file_prompts.h"
#include "resources/string_table.h"
#include "resources/ui_strings.h"
#include "services/message_service.h"
#include "services/wait_cursor.h"

namespace tessaly {
namespace {

constexpr QStringView kTitle = u"モザイク用イメージ一括作成";
constexpr QStringView kListHeading = u"1 縮小するイメージ：";
constexpr QStringView kAdd = u"追加(&A)";
constexpr QStringView kAddTip = u"一覧から選択したイメージファイルをリストへ追加します";
constexpr QStringView kRemove = u"削除(&D)";
constexpr QStringView kRemoveTip = u"選択されているイメージをリストから削除します";
constexpr QStringView kColumns[] = {u"№", u"タイプ", u"パス"};
constexpr int kColumnWidths[] = {40, 50, 500};
constexpr QStringView kSizeHeading = u"2 縮小後のイメージサイズ：";
constexpr QStringView kWidthLabel = u"ヨコ：";
constexpr QStringView kHeightLabel = u"タテ：";
constexpr QStringView kSideRange = u"(20 ～ 1,000ピクセル)";
constexpr QStringView kMethodHeading = u"3 縮小方法：";
constexpr QStringView kMethods[] = {
    u"タテ・ヨコとも、上のサイズにする(&1)",
    u"タテを上のサイズにし、ヨコは元のイメージの縦横比に合せて調整する(&2)",
    u"ヨコを上のサイズにし、タテは元のイメージの縦横比に合せて調整する(&3)",
};
constexpr QStringView kNamingHeading = u"4 ファイル名：";
constexpr QStringView kNamings[] = {u"一連番号にする(&N)", u"そのままにする(&O)"};
constexpr QStringView kTypeHeading = u"5 イメージタイプ：";
// In the order shown, with their "FileType" values.
constexpr std::pair<QStringView, int> kTypes[] = {
    {u"JPEG(&J)", 1}, {u"GIF(&G)", 2},  {u"BMP(&B)", 3},
    {u"PNG(&P)", 4},  {u"TIFF(&T)", 5}, {u"そのままにする(&W)", kKeepSourceType},
};
constexpr QStringView kFolderNote =
    u"縮小後のイメージは、デスクトップの「Images」フォルダ内に作成されます。";
constexpr QStringView kAddingNote =
    u"※ すでに「Images」フォルダがある場合は、その中に追加されます。 max:30,000個";
constexpr QStringView kStart = u"作成開始(&S)";
constexpr QStringView kStartTip = u"作成を開始します";
constexpr QStringView kCancel = u"中止(&C)";
constexpr QStringView kCancelTip = u"中止して戻ります";

enum Column { kNumberColumn = 0, kTypeColumn = 1, kPathColumn = 2 };

QLabel* Heading(QStringView text, QWidget* parent) {
    auto* label = new QLabel(text.toString(), parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QPushButton* Button(QStringView text, QStringView tip, QWidget* parent) {
    auto* button = new QPushButton(text.toString(), parent);
    button->setToolTip(tip.toString());
    button->setAutoDefault(false);
    return button;
}

QRadioButton* AddRadio(QButtonGroup* group, QStringView text, int id, QWidget* parent) {
    auto* button = new QRadioButton(text.toString(), parent);
    group->addButton(button, id);
    return button;
}

// The local files a drop carries.
QStringList LocalFilesOf(const QMimeData& data) {
    QStringList paths;
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile()) paths << url.toLocalFile();
    }
    return paths;
}

}  // namespace

CMakeMosaicDlg::CMakeMosaicDlg(QWidget* parent)
    : QDialog(parent), outputFolder_(TileOutputFolder()) {
    setWindowTitle(kTitle.toString());
    BuildList();

    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(Heading(kListHeading, this));
    listButtons->addStretch();
    QPushButton* add = Button(kAdd, kAddTip, this);
    QPushButton* remove = Button(kRemove, kRemoveTip, this);
    listButtons->addWidget(add);
    listButtons->addWidget(remove);
    connect(add, &QPushButton::clicked, this, &CMakeMosaicDlg::AddChosenFiles);
    connect(remove, &QPushButton::clicked, this, &CMakeMosaicDlg::RemoveSelected);

    progress_ = new QProgressBar(this);
    progress_->setTextVisible(false);
    progress_->setRange(0, 1);
    progress_->setValue(0);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* start = Button(kStart, kStartTip, this);
    QPushButton* cancel = Button(kCancel, kCancelTip, this);
    start->setDefault(true);
    buttons->addWidget(start);
    buttons->addWidget(cancel);
    connect(start, &QPushButton::clicked, this, &CMakeMosaicDlg::StartCreating);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(listButtons);
    layout->addWidget(list_, 1);
    layout->addLayout(BuildSizes());
    layout->addLayout(BuildChoices());
    layout->addSpacing(4);
    layout->addWidget(new QLabel(kFolderNote.toString(), this));
    layout->addWidget(new QLabel(kAddingNote.toString(), this));
    layout->addWidget(progress_);
    layout->addLayout(buttons);

    ShowSettings(TileBatchSettings::Load());
}

void CMakeMosaicDlg::BuildList() {
    list_ = new QTreeWidget(this);
    list_->setColumnCount(3);
    list_->setHeaderLabels({kColumns[0].toString(), kColumns[1].toString(),
                            kColumns[2].toString()});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setItemDelegate(new GridLinesDelegate(list_));
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionsMovable(false);
    for (int column = 0; column < 3; ++column) list_->setColumnWidth(column, kColumnWidths[column]);
    list_->headerItem()->setTextAlignment(kNumberColumn, Qt::AlignCenter);
    list_->headerItem()->setTextAlignment(kTypeColumn, Qt::AlignCenter);
    list_->setMinimumSize(kColumnWidths[0] + kColumnWidths[1] + kColumnWidths[2] + 24, 240);
    // Drops land on the viewport, where this dialog takes them before the list.
    list_->viewport()->setAcceptDrops(true);
    list_->viewport()->installEventFilter(this);
}

QLayout* CMakeMosaicDlg::BuildSizes() {
    width_ = new NumberEdit(kMinTileSide, kMaxTileSide, this);
    height_ = new NumberEdit(kMinTileSide, kMaxTileSide, this);
    auto* row = new QHBoxLayout;
    row->addWidget(Heading(kSizeHeading, this));
    row->addSpacing(12);
    const std::pair<QStringView, NumberEdit*> sides[] = {{kWidthLabel, width_},
                                                         {kHeightLabel, height_}};
    for (const auto& [label, edit] : sides) {
        row->addWidget(new QLabel(label.toString(), this));
        row->addWidget(edit);
        row->addWidget(new QLabel(kSideRange.toString(), this));
        row->addSpacing(16);
    }
    row->addStretch();
    return row;
}

QLayout* CMakeMosaicDlg::BuildChoices() {
    methods_ = new QButtonGroup(this);
    naming_ = new QButtonGroup(this);
    types_ = new QButtonGroup(this);
    auto* grid = new QGridLayout;
    grid->setColumnMinimumWidth(0, 16);
    int row = 0;
    grid->addWidget(Heading(kMethodHeading, this), row++, 0, 1, 2);
    for (int method = 0; method < 3; ++method)
        grid->addWidget(AddRadio(methods_, kMethods[method], method, this), row++, 1);

    grid->addWidget(Heading(kNamingHeading, this), row++, 0, 1, 2);
    auto* namings = new QHBoxLayout;
    for (int naming = 0; naming < 2; ++naming)
        namings->addWidget(AddRadio(naming_, kNamings[naming], naming, this));
    namings->addStretch();
    grid->addLayout(namings, row++, 1);

    grid->addWidget(Heading(kTypeHeading, this), row++, 0, 1, 2);
    auto* types = new QHBoxLayout;
    for (const auto& [text, fileType] : kTypes) types->addWidget(AddRadio(types_, text, fileType, this));
    types->addStretch();
    grid->addLayout(types, row++, 1);
    grid->setColumnStretch(1, 1);
    return grid;
}

void CMakeMosaicDlg::ShowSettings(const TileBatchSettings& settings) {
    width_->SetValue(settings.width);
    height_->SetValue(settings.height);
    methods_->button(static_cast<int>(settings.method))->setChecked(true);
    naming_->button(static_cast<int>(settings.naming))->setChecked(true);
    types_->button(settings.fileType)->setChecked(true);
}

TileBatchSettings CMakeMosaicDlg::ReadSettings() {
    TileBatchSettings settings;
    settings.width = width_->Read();
    settings.height = height_->Read();
    settings.method = static_cast<ShrinkMethod>(methods_->checkedId());
    settings.naming = static_cast<TileNaming>(naming_->checkedId());
    settings.fileType = types_->checkedId();
    return settings;
}

bool CMakeMosaicDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched != list_->viewport()) return QDialog::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (LocalFilesOf(*drag->mimeData()).isEmpty()) return false;
            drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QStringList paths = LocalFilesOf(*drop->mimeData());
            if (paths.isEmpty()) return false;
            drop->acceptProposedAction();
            DropFiles(paths);
            return true;
        }
        default:
            return QDialog::eventFilter(watched, event);
    }
}

void CMakeMosaicDlg::DropFiles(const QStringList& paths) {
    const CollectedEntries dropped = DroppedImages(paths);
    if (dropped.overflowed) {
        const QString leading = ui_text::kAtMostCountLine.toString().arg(kMaxAddEntries);
        ShowMessage(this, leading, kMsgTooManyAtOnce, kStyleInformation);
    }
    AddFiles(dropped.entries);
}

void CMakeMosaicDlg::AddChosenFiles() {
    const QStringList chosen =
        chooser_ ? chooser_()
                 : QFileDialog::getOpenFileNames(this, ui_text::kAddImagesTitle.toString(), {},
                                                 ui_text::kAddImagesFilter.toString());
    AddFiles(ChosenImages(chosen));
}

void CMakeMosaicDlg::AddFiles(const std::vector<ImageEntry>& offered) {
    const std::vector<ImageEntry> added = NewListEntries(ListedPaths(), offered);
    progress_->setRange(0, std::max<int>(1, static_cast<int>(added.size())));
    int done = 0;
    for (const ImageEntry& entry : added) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(kNumberColumn, QString::number(list_->topLevelItemCount()));
        item->setText(kTypeColumn, entry.type);
        item->setText(kPathColumn, QDir::toNativeSeparators(entry.path));
        item->setTextAlignment(kNumberColumn, Qt::AlignCenter);
        item->setTextAlignment(kTypeColumn, Qt::AlignCenter);
        progress_->setValue(++done);
    }
    progress_->setValue(0);
}

void CMakeMosaicDlg::RemoveSelected() {
    qDeleteAll(list_->selectedItems());
    NumberRows(list_);
}

QStringList CMakeMosaicDlg::ListedPaths() const {
    QStringList paths;
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        paths << QDir::fromNativeSeparators(list_->topLevelItem(i)->text(kPathColumn));
    return paths;
}

std::vector<ImageEntry> CMakeMosaicDlg::ListedImages() const {
    std::vector<ImageEntry> images;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list_->topLevelItem(i);
        images.push_back({QDir::fromNativeSeparators(item->text(kPathColumn)),
                          item->text(kTypeColumn)});
    }
    return images;
}

void CMakeMosaicDlg::StartCreating() {
    const TileBatchSettings settings = ReadSettings();
    settings.Save();
    if (!QDir().mkpath(outputFolder_)) return;
    const std::vector<ImageEntry> rows = ListedImages();
    if (rows.empty()) {
        ShowMessage(this, {}, kMsgNoImagesToShrink, kStyleStop);
        return;
    }
    TileBatchResult result;
    {
        WaitCursor wait;
        progress_->setRange(0, static_cast<int>(rows.size()));
        result = CreateTileFiles(rows, settings, outputFolder_,
                                 [this](int done) { progress_->setValue(done); });
        progress_->setValue(0);
    }
    if (!ReportTileBatch(this, result)) return;
    OfferToShowSavedFile(result.lastWritten, this);
    accept();
}

}  // namespace tessaly
