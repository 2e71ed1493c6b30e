#include "app/commands/context_menus.h"

#include <array>

#include "resources/ui_strings.h"

namespace tessaly {
namespace {

using C = CommandId;
constexpr PopupEntry kSeparatorEntry{kPopupSeparator, {}, {}, {}};
constexpr QStringView kPosition = u"位置(&Z)";
constexpr QStringView kLineWidth = u"線の太さ(&F)";

constexpr std::array kViewEntries = {
    PopupEntry{C::kConsoleToTopLeft, ui_text::kConsoleToTopLeft, {}, {}},
    PopupEntry{C::kAddImages, u"イメージ追加(&I)", u"Drag&&Drop", {}},
    PopupEntry{C::kEditPaste, u"貼り付け(&V)", u"Ctrl+V", {}},
    PopupEntry{C::kSelectAll, u"すべて選択(&A)", u"Ctrl+A", {}},
    PopupEntry{C::kShowAll, u"すべてのイメージを表示(&D)", {}, {}},
    PopupEntry{C::kConsole, u"フォトモザイクのコンソール表示(&M)", {}, {}},
    PopupEntry{C::kPickNoSetColour, u"ここの色をモザイク非セットの背景色にする(&B)", {}, {}},
    PopupEntry{C::kImageSizeCheck, u"イメージサイズ確認(&S)", {}, {}},
    PopupEntry{C::kViewProperties, u"プロパティ(&P)", {}, {}},
};

constexpr std::array kImageEntries = {
    PopupEntry{C::kBringToFront, u"最前面に表示(&T)", {}, kPosition},
    PopupEntry{C::kSwapPositions, u"位置交換(&C)", {}, kPosition},
    PopupEntry{C::kSendToBack, u"最背面に表示(&B)", {}, kPosition},
    PopupEntry{C::kHideSelected, u"非表示(&H)", {}, {}},
    PopupEntry{C::kEditCopy, u"コピー(&C)", u"Ctrl+C", {}},
    PopupEntry{C::kEditDelete, u"削除(&D)", u"Delete", {}},
    PopupEntry{C::kMultiCutStart, u"マルチカット処理(&M)", u"Ctrl+M", {}},
    PopupEntry{C::kRandomPositions, u"ランダムに位置変更(&R)", u"F5", {}},
    PopupEntry{C::kChangeImage, u"イメージを変更(&I)", u"Drag&&Drop", {}},
    PopupEntry{C::kSwapWithSimilar, u"似た色のイメージと入れ替え(&L)...", {}, {}},
    PopupEntry{C::kSaveNodeImage, u"イメージをファイルに保存(&F)", {}, {}},
    PopupEntry{C::kImageProperties, u"プロパティ(&P)", {}, {}},
};

constexpr std::array kMultiCutEntries = {
    PopupEntry{C::kCutWiden, u"1ピクセル広げる(&I)", u"+", {}},
    PopupEntry{C::kCutNarrow, u"1ピクセル狭める(&D)", u"－", {}},
    PopupEntry{C::kCutMaximum, u"範囲最大(&M)", {}, {}},
    kSeparatorEntry,
    PopupEntry{C::kMultiCutStop, u"マルチカット中止(&Q)", u"Esc", {}},
    PopupEntry{C::kMultiCutExecute, u"マルチカット実行(&G)", {}, {}},
    PopupEntry{C::kMultiCutSettings, u"マルチカット設定(&S)", {}, {}},
    kSeparatorEntry,
    PopupEntry{C::kCutLineColour, u"線の色(&C)", {}, {}},
    kSeparatorEntry,
    PopupEntry{CutLineWidthCommand(1), u"&1ピクセル", {}, kLineWidth},
    PopupEntry{CutLineWidthCommand(2), u"&2ピクセル", {}, kLineWidth},
    PopupEntry{CutLineWidthCommand(3), u"&3ピクセル", {}, kLineWidth},
    PopupEntry{CutLineWidthCommand(4), u"&4ピクセル", {}, kLineWidth},
    PopupEntry{CutLineWidthCommand(5), u"&5ピクセル", {}, kLineWidth},
};

}  // namespace

std::span<const PopupEntry> PopupEntries(PopupKind kind) {
    switch (kind) {
        case PopupKind::View:
            return kViewEntries;
        case PopupKind::Image:
            return kImageEntries;
        case PopupKind::MultiCut:
            return kMultiCutEntries;
        case PopupKind::Zoom:
            break;
    }
    return {};
}

}  // namespace tessaly
