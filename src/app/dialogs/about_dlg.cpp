#include "app/dialogs/about_dlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "resources/help_texts.h"

namespace tessaly {
namespace {

constexpr QStringView kTitle = u"バージョン情報";
constexpr QStringView kProgram = u"Tessaly\n（自由編集フォトモザイク作成ソフト）";
constexpr QStringView kHistoryLabel = u"バージョン情報";
constexpr QStringView kConfirm = u"確認(&Y)";
constexpr QStringView kConfirmTip = u"バージョン情報ウィンドウを閉じて戻ります";
constexpr int kIconSize = 48;

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(kTitle.toString());

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/tessaly.svg")).pixmap(kIconSize, kIconSize));
    icon->setAlignment(Qt::AlignTop);
    auto* program = new QLabel(kProgram.toString(), this);
    auto* heading = new QHBoxLayout;
    heading->addWidget(icon);
    heading->addSpacing(8);
    heading->addWidget(program, 1);

    history_ = new QPlainTextEdit(this);
    history_->setReadOnly(true);
    history_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The edit breaks lines at LF; a CR left in would show as a stray mark.
    history_->setPlainText(VersionHistoryText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    history_->setMinimumSize(history_->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 40,
                             history_->fontMetrics().lineSpacing() * 7);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* confirm = buttons->addButton(kConfirm.toString(), QDialogButtonBox::AcceptRole);
    confirm->setToolTip(kConfirmTip.toString());
    confirm->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addSpacing(6);
    layout->addWidget(new QLabel(kHistoryLabel.toString(), this));
    layout->addWidget(history_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace tessaly
