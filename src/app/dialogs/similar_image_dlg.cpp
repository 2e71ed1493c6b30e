#include "app/dialogs/similar_image_dlg.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

#include "document/edited_document.h"
#include "edits/similar_image_swap.h"
#include "image/image_blob.h"

namespace tessaly {
namespace {

constexpr QStringView kTitle = u"似た色のイメージと入れ替え";
constexpr QStringView kHeading = u"イメージ %1 の場所に、背景の色が近い順:";
constexpr QStringView kImageName = u"イメージ %1";
constexpr QStringView kDistance = u"距離 %1";
constexpr QStringView kUnplaced = u"未配置";
constexpr QStringView kInPlace = u"この場所に表示中";
constexpr QStringView kNone = u"この場所に入れられる似た色のイメージはありません。";
constexpr QStringView kNote = u"※ クリックまたは Enter で入れ替えます。";
constexpr QStringView kGiveBack = u"元に戻す(&R)";
constexpr QStringView kClose = u"閉じる";

constexpr int kThumbnailSide = 48;
constexpr int kRowPadding = 4;
constexpr int kBarHeight = 6;
constexpr int kOwnerMargin = 40;
// The distance a full bar stands for: an average difference of 85 per channel.
constexpr int kFullBarDistance = 255;

enum Role { kDistanceRole = Qt::UserRole, kPlacedRole, kInPlaceRole };

// A row: the thumbnail, the image's number, what it is, and its distance as
// a number and a bar.
class CandidateDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        const QString widest = kImageName.toString().arg(kMaxNodes) + u"　"_qs +
                               kUnplaced.toString() + u"　"_qs + kInPlace.toString();
        const int text = 2 * option.fontMetrics.height() + kRowPadding + kBarHeight;
        return {kThumbnailSide + 3 * kRowPadding + option.fontMetrics.horizontalAdvance(widest),
                std::max(kThumbnailSide, text) + 2 * kRowPadding};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem background = option;
        initStyleOption(&background, index);
        background.text.clear();
        background.icon = {};
        QApplication::style()->drawControl(QStyle::CE_ItemViewItem, &background, painter);

        const QRect row = option.rect.adjusted(kRowPadding, kRowPadding, -kRowPadding, -kRowPadding);
        const QPixmap thumbnail = index.data(Qt::DecorationRole).value<QPixmap>();
        const QRect picture(row.topLeft(), QSize(kThumbnailSide, kThumbnailSide));
        painter->drawPixmap(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter,
                                                thumbnail.size(), picture),
                            thumbnail);

        const bool selected = option.state & QStyle::State_Selected;
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const int distance = index.data(kDistanceRole).toInt();
        QString words = index.data(Qt::DisplayRole).toString();
        if (!index.data(kPlacedRole).toBool()) words += u"　"_qs + kUnplaced.toString();
        if (index.data(kInPlaceRole).toBool()) words += u"　"_qs + kInPlace.toString();
        const QRect text = row.adjusted(kThumbnailSide + 2 * kRowPadding, 0, 0, 0);
        const int line = option.fontMetrics.height();
        painter->drawText(QRect(text.topLeft(), QSize(text.width(), line)), Qt::AlignLeft, words);
        painter->drawText(QRect(text.left(), text.top() + line, text.width(), line), Qt::AlignLeft,
                          kDistance.toString().arg(distance));

        const QRect track(text.left(), text.top() + 2 * line + kRowPadding,
                          std::max(text.width() - kRowPadding, 0), kBarHeight);
        painter->fillRect(track, option.palette.color(QPalette::Midlight));
        const int filled = track.width() * std::min(distance, kFullBarDistance) / kFullBarDistance;
        painter->fillRect(QRect(track.topLeft(), QSize(filled, track.height())),
                          option.palette.color(QPalette::Highlight).darker(selected ? 150 : 100));
    }
};

QPixmap Thumbnail(const Document& doc, int node) {
    const ImageBlob* picture = doc.Picture(doc.Node(node).picture);
    if (picture == nullptr) return {};
    const QImage image = picture->DecodeForSize(QSize(kThumbnailSide, kThumbnailSide));
    if (image.isNull()) return {};
    return QPixmap::fromImage(
        image.scaled(kThumbnailSide, kThumbnailSide, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

}  // namespace

CSimilarImageDlg::CSimilarImageDlg(EditedDocument& edited, int node, QWidget* parent)
    : QDialog(parent, Qt::Tool), edited_(edited), original_(node) {
    setWindowTitle(kTitle.toString());
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const BackgroundUnderNodes background(edited.Doc());
        candidates_ = FindSimilarImages(edited.Doc(), background, node);
        QApplication::restoreOverrideCursor();
    }

    list_ = new QListWidget(this);
    list_->setItemDelegate(new CandidateDelegate(list_));
    list_->setIconSize(QSize(kThumbnailSide, kThumbnailSide));
    none_ = new QLabel(kNone.toString(), this);
    giveBack_ = new QPushButton(kGiveBack.toString(), this);
    auto* closeButton = new QPushButton(kClose.toString(), this);
    giveBack_->setAutoDefault(false);
    closeButton->setAutoDefault(false);
    connect(giveBack_, &QPushButton::clicked, this, [this] { Choose(-1); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
    connect(list_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { Choose(list_->row(item)); });
    connect(list_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { Choose(list_->row(item)); });
    const auto closeOnOutsideChange = [this] {
        if (!applying_) close();
    };
    connect(&edited_, &EditedDocument::documentChanged, this, closeOnOutsideChange);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(giveBack_);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(kHeading.toString().arg(node + 1), this));
    layout->addWidget(list_, 1);
    layout->addWidget(none_);
    layout->addWidget(new QLabel(kNote.toString(), this));
    layout->addLayout(buttons);
    Fill();
    ShowChoice();
    // Every row in view without scrolling, and the window at the right of
    // its owner's, clear of the canvas's left part.
    list_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    adjustSize();
    if (parent != nullptr) {
        const QRect owner = parent->geometry();
        move(owner.right() - width() - kOwnerMargin, owner.top() + kOwnerMargin);
    }
}

void CSimilarImageDlg::Fill() {
    const Document& doc = edited_.Doc();
    for (const SimilarImage& candidate : candidates_) {
        auto* item = new QListWidgetItem(kImageName.toString().arg(candidate.node + 1), list_);
        item->setData(Qt::DecorationRole, Thumbnail(doc, candidate.node));
        item->setData(kDistanceRole, candidate.distance);
        item->setData(kPlacedRole, candidate.placed);
    }
    list_->setVisible(!candidates_.empty());
    none_->setVisible(candidates_.empty());
    if (!candidates_.empty()) list_->setCurrentRow(0);
}

void CSimilarImageDlg::Choose(int row) {
    if (row >= static_cast<int>(candidates_.size())) return;
    Apply(row < 0 ? original_ : candidates_[static_cast<std::size_t>(row)].node);
}

void CSimilarImageDlg::Apply(int candidate) {
    applying_ = true;
    if (TrySimilarImage(edited_, original_, tried_, candidate)) {
        tried_ = candidate == original_ ? -1 : candidate;
    }
    applying_ = false;
    ShowChoice();
}

void CSimilarImageDlg::ShowChoice() {
    for (int row = 0; row < list_->count(); ++row) {
        const bool inPlace = candidates_[static_cast<std::size_t>(row)].node == tried_;
        list_->item(row)->setData(kInPlaceRole, inPlace);
    }
    giveBack_->setEnabled(tried_ != -1);
}

}  // namespace tessaly
