#pragma once

#include <QStringView>

// Texts of menus, guides and tooltips of the canvas view. Messages with a
// number live in string_table.h.
namespace tessaly::ui_text {

// The popup "ZOOM" on the zoom console.
inline constexpr QStringView kZoom10 = u"10%(&A)";
inline constexpr QStringView kZoom25 = u"25%(&B)";
inline constexpr QStringView kZoom50 = u"50%(&C)";
inline constexpr QStringView kZoom100 = u"100%(&1)";
inline constexpr QStringView kZoom100Key = u"【等倍】";
inline constexpr QStringView kZoom200 = u"200%(&2)";
inline constexpr QStringView kZoom300 = u"300%(&3)";
inline constexpr QStringView kZoom400 = u"400%(&4)";
inline constexpr QStringView kZoomFit = u"画面に合せて表示(&F)";
inline constexpr QStringView kConsoleAlwaysShown = u"ズームコンソールを常に表示(&Z)";
inline constexpr QStringView kConsoleToTopLeft = u"ズームコンソールを左上に表示(&Z)";

// The button that closes a dialog or tool window and keeps what it shows.
inline constexpr QStringView kClose = u"閉じる(&C)";

// The filter of every dialog that opens image files. Qt's file dialog
// matches these patterns in any letter case.
inline constexpr QStringView kImageFileFilter =
    u"イメージファイル(jpeg, gif, bmp, png, tiff) (*.jpg *.jpeg *.gif *.bmp *.png *.tif *.tiff);;"
    u"JPEGファイル(*.jpeg) (*.jpg *.jpeg);;"
    u"GIFファイル(*.gif) (*.gif);;"
    u"ビットマップファイル(*.bmp) (*.bmp);;"
    u"PNGファイル(*.png) (*.png);;"
    u"TIFFファイル(*.tiff) (*.tif *.tiff)";

// The save dialogs of the canvas export and of a node's image.
inline constexpr QStringView kSaveFileTitle = u"保存するファイルを指定";
// The save dialog of a node's image: the name it proposes and the extension
// a name without one takes.
inline constexpr QStringView kUntitledImageName = u"無題";
inline constexpr QStringView kNodeImageSuffix = u"jpeg";
// The open dialog that gives a node another image.
inline constexpr QStringView kChangeImageTitle = u"変更するイメージを指定";

// Adding images.
inline constexpr QStringView kAddImagesTitle = u"追加するイメージを指定(複数選択可)";
inline constexpr QStringView kAddImagesFilter = kImageFileFilter;
inline constexpr QStringView kDownloading = u"リンク先のイメージをダウンロードしています...";
inline constexpr QStringView kCancel = u"キャンセル";

// The labels of the progress window of long work (WorkProgress).
inline constexpr QStringView kExportingImage = u"イメージを保存しています...";
inline constexpr QStringView kPrinting = u"印刷しています...";
inline constexpr QStringView kAddingImages = u"イメージを追加しています...";

// Dragging the canvas edges.
inline constexpr QStringView kWidthEdgeGuide =
    u"←左へドラッグするとビューの幅を狭く、→右へドラッグすると広くできます";
inline constexpr QStringView kHeightEdgeGuide =
    u"↑上へドラッグするとビューの高さを狭く、↓下へドラッグすると広くできます";
// Guides over the nodes: by whether the node is selected and whether its
// index is even.
inline constexpr QStringView kSelectedEvenNodeGuide =
    u"外周上の矩形をドラッグ＆ドロップしてイメージサイズを変更できます";
inline constexpr QStringView kSelectedOddNodeGuide =
    u"方向キーで10ピクセルずつ移動します。Ctrlキーを押しながらのときは微移動します";
inline constexpr QStringView kUnselectedEvenNodeGuide =
    u"マイコンピュータからファイルをドラッグ＆ドロップしてイメージを変更できます";
inline constexpr QStringView kUnselectedOddNodeGuide =
    u"イメージをドラッグ＆ドロップして位置を変更できます";
// Guides of the move and resize drags.
inline constexpr QStringView kMoveDragGuide =
    u"Ctrlキーを押しながら方向キーで、イメージの微移動ができます";
inline constexpr QStringView kAfterMoveGuide =
    u"Ctrlキーを押しながらクリックで追加選択、Shiftキーを押しながらクリックで選択を解除できます";
inline constexpr QStringView kResizeDragGuide = u"Ctrlキーを押されているときは、縦横比を無視します";
inline constexpr QStringView kWidthEdgeTip = u"Width=%1\nmin:%2  max:%3";
inline constexpr QStringView kHeightEdgeTip = u"Height=%1\nmin:%2  max:%3";
// The guide while multi-cut mode is on.
inline constexpr QStringView kMultiCutGuide =
    u"マルチカット処理中です。反転部分を右クリックするとメニューが表示されます。（中止 : ESCキー）";

// The step of writing a BMP file that failed, shown before message 30025.
inline constexpr QStringView kBmpHeaderStep = u"BITMAPINFOHEADER取得エラー";
inline constexpr QStringView kBmpBufferStep = u"配列確保用領域作成エラー";
inline constexpr QStringView kBmpInfoBufferStep = u"BITMAPINFO用領域作成エラー";
inline constexpr QStringView kBmpOpenStep = u"ファイルオープンエラー";
inline constexpr QStringView kBmpConvertStep = u"ビット配列取得エラー";
inline constexpr QStringView kBmpFileHeaderWriteStep = u"BITMAPFILEHEADER書き込みエラー";
inline constexpr QStringView kBmpInfoWriteStep = u"BITMAPINFO書き込みエラー";
inline constexpr QStringView kBmpPixelsWriteStep = u"ビット配列書き込みエラー";

// The step of taking a bitmap from another program that failed, shown in
// kPasteErrorLine before message 30027.
inline constexpr QStringView kClipboardGetStep = u"クリップボードからの取得エラー\n";
inline constexpr QStringView kBitmapConvertStep = u"DIBへの変換エラー\n";
inline constexpr QStringView kBitmapSaveStep = u"セーブエラー\n";
inline constexpr QStringView kPasteErrorLine = u"エラー(%1)\n";

// Multi-cut: the pieces that could not be written, shown before message
// 30025 (folder, pieces in all, pieces not written).
inline constexpr QStringView kPiecesNotWrittenLine = u"%1\n%2 個中 %3 個のイメージを保存できませんでした\n";
// Under the counts of the multi-cut settings when a value was brought back
// to what fits in the node.
inline constexpr QStringView kCutGridRefused =
    u"イメージに収まらないため、収まる値に戻しました。増やすには先に反転部分を小さくしてください。";

// What the console's show-unplaced button brought back and selected; %1 is
// the count with thousands commas.
inline constexpr QStringView kUnplacedShown = u"未配置のイメージ : %1 個";

// Batch creation of tile images: the lines before message 30350.
inline constexpr QStringView kTilesNotWrittenLine = u"作成できなかったイメージ : %1 個 (%2 個中)\n";
inline constexpr QStringView kTilesNotTriedLine =
    u"書き込みの失敗が続いたため、残りの %1 個は作成していません\n";

}  // namespace tessaly::ui_text
