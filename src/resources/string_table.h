#pragma once

#include <QString>
#include <QStringView>

// The program's string table: every message shown to the user, by number.
// Code names a message by its identifier below and fetches the text through
// LoadString; no message text is written anywhere else.
namespace tessaly {

enum MessageId : int {
    kMsgMemoryAllocFailed = 30001,     // メモリの確保に失敗しました
    kMsgWorkFolderFailed = 30002,      // 作業フォルダの取得に失敗しました
    kMsgCopyFailed = 30003,            // コピーに失敗しました
    kMsgAutoAdjustPositions = 30007,   // オブジェクトの位置を自動調整しますか…
    kMsgChangeCurrentImage = 30012,    // 現在セットされているイメージを変更しますか
    kMsgOleInitFailed = 30015,         // OLEの初期化に失敗しました
    kMsgFileSaveFailed = 30018,        // ファイルの保存に失敗しました
    kMsgWrongFileFormat = 30019,       // ファイル形式が異なります
    kMsgUnsupportedVersion = 30020,    // このドキュメントバージョンには対応できません
    kMsgConfirmDelete = 30022,         // 削除してもよろしいですか
    kMsgBitmapSaveFailed = 30025,      // ビットマップファイルの保存に失敗しました
    kMsgFileOpenFailed = 30026,        // ファイルのオープンに失敗しました
    kMsgImagePasteFailed = 30027,      // イメージの貼り付けに失敗しました
    kMsgImageGetFailed = 30028,        // イメージの取得に失敗しました
    kMsgImageTypeNotSettable = 30029,  // このイメージタイプはセットできません
    kMsgSwapFailed = 30030,            // 位置交換に失敗しました
    kMsgSaveAtCurrentZoom = 30032,     // このままの倍率で保存しますか…
    kMsgNoWriteAccess = 30035,         // 書き込み場所にアクセス権がない可能性があります…
    kMsgExtractFailed = 30036,         // ファイルの展開に失敗しました
    kMsgMaxImageCountExceeded = 30043, // イメージの最大セット件数を超えました
    kMsgBackupFailed = 30047,          // バックアップファイルの作成に失敗しました
    kMsgExplorerFailed = 30048,        // エクスプローラの起動に失敗しました
    kMsgGuideSwitched = 30049,         // ステータスバーに操作ガイドを表示するように設定しました
    kMsgFileExistsOverwrite = 30056,   // 指定したファイルは既に存在します…
    kMsgPrinterDcFailed = 30064,       // プリンタＤＣの取得に失敗しました
    kMsgFolderCannotOpen = 30066,      // フォルダは開けません
    kMsgSavedShowLocation = 30069,     // 正常に保存しました…
    kMsgDownloadFailed = 30076,        // リンク先が見つからないなどの理由で…
    kMsgFileNotFound = 30077,          // ファイルが見つかりません
    kMsgPrinterInitFailed = 30082,     // プリンタの初期化に失敗しました
    kMsgCreateFailed = 30100,          // 作成に失敗しました
    kMsgLongRunContinue = 30101,       // このタイプで「変化させるサイズ数」が大きいときは…
    kMsgExceedsMaximum = 30102,        // 最大値を超えるためセットできません
    kMsgNoBackgroundImage = 30103,     // 背景イメージがセットされていません…
    kMsgCreateIndividually = 30104,    // 個別にイメージを作成しますか…
    kMsgShrinkForMosaic = 30105,       // フォトモザイク用にイメージサイズを小さくしてセットしますか…
    kMsgNothingToAdjust = 30106,       // フォトモザイク用にサイズ調整しなければならないイメージはありません
    kMsgOversizedImages = 30107,       // 設定サイズを超えるサイズのイメージがあります…
    kMsgAnimationSwitched = 30108,     // イメージ上にマウスカーソルが乗ったとき、アニメを表示するように設定しました
    kMsgTooManyAtOnce = 30109,         // 一度にセット可能な件数を超過しました…
    kMsgSizeStepsAtLeast10 = 30110,    // このタイプでの「変化させるサイズ数」は、10以上に…
    kMsgMemoryNearlyFull = 30111,      // これ以上追加するとシステムが動かなくなる可能性が…
    kMsgPointerWidthMismatch = 30112,  // 32bit版で保存したものを 64bit版で開くことはできません…
    kMsgNoImagesToShrink = 30113,      // 縮小するイメージがセットされていません
    kMsgAddSampleImages = 30114,       // サンプルイメージを追加しますか
    kMsgNoSampleFolder = 30115,        // 実行ファイルと同じ場所にサンプルイメージフォルダ(images)がありません
    kMsgNoBackgroundToMeasure = 30130,  // 背景イメージがセットされていないため、含有率を…
    kMsgImageLimitReached = 30163,     // イメージの数が制限を超えました…
    kMsgFileMissingBesideProgram = 30173,  // 実行ファイルと同じ場所に上記のファイルがありません
    kStrManualBaseName = 30174,        // Manual
    kStrVersion100 = 30200,
    kStrVersion101 = 30201,
    kStrVersion102 = 30202,
    kStrVersion103 = 30203,
    kMsgCanvasKeptAroundImages = 30300,  // イメージがはみ出すため、ビューのサイズは上記までしか…
    kMsgDiskFull = 30320,              // ディスクの空き容量が足りないため保存できませんでした…
    kMsgTileWriteFailed = 30350,  // イメージファイルの書き込みに失敗しました…
    kMsgTooLargeForGif = 30400,   // イメージが大きすぎるため GIF ファイルに保存できません…
    // The question before a modified document is discarded, shown after the
    // document's name and a space.
    kMsgAskToSave = 61442,  // への変更を保存しますか?
};

// The text of a string-table entry, or an empty string when the id has none.
QString LoadString(int id);

// Texts of the user interface that are not numbered messages.
namespace ui_text {
inline constexpr QStringView kAppTitle = u"Tessaly";
inline constexpr QStringView kUntitled = u"無題のファイル";
inline constexpr QStringView kBrowseFolderPrompt = u"フォルダを指定してください";
inline constexpr QStringView kBrowseFolderCaption = u"フォルダの指定";
// Leading lines put in front of some messages.
inline constexpr QStringView kFileNameBufferLine = u"ファイル名格納バッファ\n";
inline constexpr QStringView kFileCopyLine = u"[File Copy]\n";
inline constexpr QStringView kAtMostCountLine = u"最大 %1 個\n";
inline constexpr QStringView kMaxNodeCountLine = u"最大セット件数 %1 個\n";
inline constexpr QStringView kMemoryUsageLine = u"物理メモリ使用量 %1 % です\n";
inline constexpr QStringView kWidthLine = u"幅 : %1\n";
inline constexpr QStringView kHeightLine = u"高さ : %1\n";
inline constexpr QStringView kNoFreeNameLine =
    u"同じ名前のファイルが多すぎるため作成できなかったイメージ : %1 個\n";
inline constexpr QStringView kMaximumSizeLine = u"環境設定で設定されているサイズ : 幅 %1 高さ %2\n";
// The two words swapped when a toggle message reports "off".
inline constexpr QStringView kWordOn = u"する";
inline constexpr QStringView kWordOff = u"しない";
}  // namespace ui_text

}  // namespace tessaly
