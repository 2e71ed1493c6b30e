#include "app/commands/command_texts.h"

#include <array>

#include "resources/ui_strings.h"

namespace tessaly {
namespace {

struct Entry {
    CommandId id;
    CommandTexts texts;
};

constexpr std::array kEntries = {
    // File
    Entry{CommandId::kFileNew, {u"新規作成(&N)", u"Ctrl+N", {}}},
    Entry{CommandId::kFileOpen, {u"開く(&O)...", u"Ctrl+O", {}}},
    Entry{CommandId::kFileSave, {u"上書き保存(&S)", u"Ctrl+S", {}}},
    Entry{CommandId::kFileSaveAs, {u"名前を付けて保存(&A)...", {}, {}}},
    Entry{
        CommandId::kExportImage,
        {u"1枚のイメージとして保存(&I)",
         {},
         u"ビューの表示内容を1枚のイメージファイルとして保存します\n【1枚のイメージとして保存】"}},
    Entry{CommandId::kPrint, {u"印刷(&P)", {}, u"ビューの表示内容を印刷します\n【印刷】"}},
    Entry{CommandId::kEnvironmentSettings, {u"環境設定(&K)", {}, {}}},
    Entry{CommandId::kRecentFilesDialog, {u"最近使ったファイルの管理(&R)", {}, {}}},
    Entry{CommandId::kRecentFilesPlace, {u"最近使ったファイル", {}, {}}},
    Entry{CommandId::kAppExit, {u"終了(&X)", {}, {}}},
    // Edit
    Entry{CommandId::kEditUndo,
          {u"元に戻す(&U)", u"Ctrl+Z", u"直前の操作を元に戻します\n【元に戻す】"}},
    Entry{CommandId::kEditRedo,
          {u"やり直し(&R)", u"Ctrl+Y", u"元に戻した操作をやり直します\n【やり直し】"}},
    Entry{CommandId::kEditCopy, {u"コピー(&C)", u"Ctrl+C", {}}},
    Entry{CommandId::kEditPaste, {u"貼り付け(&P)", u"Ctrl+V", {}}},
    Entry{CommandId::kEditDelete, {u"削除(&D)", u"Delete", {}}},
    // View
    Entry{CommandId::kHideSelected, {u"選択イメージを非表示(&H)", {}, {}}},
    Entry{CommandId::kShowAll, {u"すべてのイメージを表示(&D)", {}, {}}},
    Entry{CommandId::kZoomIn, {u"拡大(&I)", {}, {}}},
    Entry{CommandId::kZoomOut, {u"縮小(&O)", {}, {}}},
    // The same words as the zoom console's entry.
    Entry{CommandId::kZoomFit, {ui_text::kZoomFit, {}, {}}},
    Entry{CommandId::kGridNone, {u"なし", {}, {}}},
    Entry{CommandId::kGridCross, {u"中央十字線", {}, {}}},
    Entry{CommandId::kGrid10, {u"10ピクセル間隔", {}, {}}},
    Entry{CommandId::kGrid40, {u"40ピクセル間隔", {}, {}}},
    Entry{CommandId::kGrid70, {u"70ピクセル間隔", {}, {}}},
    Entry{CommandId::kGrid100, {u"100ピクセル間隔", {}, {}}},
    Entry{CommandId::kGridOnTop, {u"グリッド最前面(&M)", {}, {}}},
    Entry{CommandId::kViewToolBar, {u"ツールバー(&T)", {}, {}}},
    Entry{CommandId::kViewStatusBar, {u"ステータスバー(&S)", {}, {}}},
    Entry{CommandId::kStyleWindows2000, {u"Windows 2000(&2)", {}, {}}},
    Entry{CommandId::kStyleOfficeXp, {u"Office XP(&X)", {}, {}}},
    Entry{CommandId::kStyleWindowsXp, {u"Windows XP(&W)", {}, {}}},
    Entry{CommandId::kStyleOffice2003, {u"Office 2003(&3)", {}, {}}},
    Entry{CommandId::kStyleVs2005, {u"Visual Studio 200&5", {}, {}}},
    Entry{CommandId::kStyleVs2008, {u"Visual Studio 200&8", {}, {}}},
    Entry{CommandId::kStyleOffice2007Blue, {u"ブルー スタイル(&B)", {}, {}}},
    Entry{CommandId::kStyleOffice2007Black, {u"ブラック スタイル(&L)", {}, {}}},
    Entry{CommandId::kStyleOffice2007Silver, {u"シルバー スタイル(&S)", {}, {}}},
    Entry{CommandId::kStyleOffice2007Aqua, {u"アクア スタイル(&A)", {}, {}}},
    Entry{CommandId::kStyleWindows7, {u"Windows 7(&D)", {}, {}}},
    // Photomosaic
    Entry{CommandId::kSetBackground,
          {u"①背景イメージのセット(&P)",
           {},
           u"フォトモザイクの元になる背景イメージをセットします\n【背景イメージのセット】"}},
    Entry{CommandId::kAddImages,
          {u"②イメージ追加(&I)", u"Drag&&Drop",
           u"モザイクに使うイメージファイルを追加します\n【イメージ追加】"}},
    Entry{CommandId::kConsole,
          {u"③コンソール表示(&M)",
           {},
           u"各種設定後、モザイクを作成するための操作ウィンドウを表示します\n【コンソール表示】"}},
    Entry{CommandId::kImageSizeCheck, {u"イメージサイズ確認(&S)", {}, {}}},
    Entry{CommandId::kBatchCreate, {u"モザイク用イメージ一括作成(&G)", {}, {}}},
    // Multi-cut
    Entry{CommandId::kMultiCutStart, {u"マルチカット処理(&H)", u"Ctrl+M", {}}},
    Entry{CommandId::kMultiCutStop, {u"マルチカット中止(&Q)", u"Esc", {}}},
    Entry{CommandId::kMultiCutExecute, {u"マルチカット実行(&G)", {}, {}}},
    Entry{CommandId::kMultiCutSettings, {u"マルチカット設定(&S)", {}, {}}},
    // Rotate
    Entry{CommandId::kRotateRight, {u"右へ90度(&R)", {}, {}}},
    Entry{CommandId::kRotate180, {u"180度(&U)", {}, {}}},
    Entry{CommandId::kRotateLeft, {u"左へ90度(&L)", {}, {}}},
    Entry{CommandId::kMirrorLeftRight, {u"左右逆転(&H)", {}, {}}},
    Entry{CommandId::kMirrorTopBottom, {u"上下逆転(&V)", {}, {}}},
    // Align
    Entry{CommandId::kAlignLeft, {u"左揃え", {}, {}}},
    Entry{CommandId::kAlignRight, {u"右揃え", {}, {}}},
    Entry{CommandId::kAlignTop, {u"上揃え", {}, {}}},
    Entry{CommandId::kAlignBottom, {u"下揃え", {}, {}}},
    Entry{CommandId::kCentreVertical, {u"垂直中央揃え", {}, {}}},
    Entry{CommandId::kCentreHorizontal, {u"水平中央揃え", {}, {}}},
    Entry{CommandId::kSpaceVertical, {u"垂直均等揃え", {}, {}}},
    Entry{CommandId::kSpaceHorizontal, {u"水平均等揃え", {}, {}}},
    Entry{CommandId::kSameWidth, {u"幅揃え", {}, {}}},
    Entry{CommandId::kSameHeight, {u"高さ揃え", {}, {}}},
    Entry{CommandId::kSameSize, {u"幅と高さ揃え", {}, {}}},
    // Help
    Entry{CommandId::kManual,
          {u"取扱説明書表示(&H)", u"F1", u"取扱説明書を表示します\n【取扱説明書】"}},
    Entry{CommandId::kAbout,
          {u"バージョン情報(&A)...",
           {},
           u"プログラムの情報、バージョン、著作権を表示します\n【バージョン情報】"}},
};

const CommandTexts kNoTexts{};

}  // namespace

const CommandTexts& TextsOf(CommandId id) {
    for (const Entry& entry : kEntries) {
        if (entry.id == id) return entry.texts;
    }
    return kNoTexts;
}

QString MenuText(CommandId id) {
    const CommandTexts& texts = TextsOf(id);
    QString text = texts.label.toString();
    if (!texts.keyText.isEmpty()) text += u'\t' + texts.keyText.toString();
    return text;
}

QString StatusPrompt(CommandId id) {
    const QStringView entry = TextsOf(id).promptAndTip;
    const qsizetype newline = entry.indexOf(u'\n');
    return (newline < 0 ? entry : entry.left(newline)).toString();
}

QString ToolTipText(CommandId id) {
    const QStringView entry = TextsOf(id).promptAndTip;
    const qsizetype newline = entry.indexOf(u'\n');
    return newline < 0 ? QString() : entry.mid(newline + 1).toString();
}

QString RecentFileMenuText(int index, const QString& nativePath) {
    const int number = index + 1;
    QString path = nativePath;
    path.replace(u'&', QStringLiteral("&&"));
    if (number < 10) return QStringLiteral("&%1 %2").arg(number).arg(path);
    if (number == 10) return QStringLiteral("1&0 %1").arg(path);
    return QStringLiteral("%1 %2").arg(number).arg(path);
}

}  // namespace tessaly
