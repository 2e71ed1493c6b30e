#include "edits/multi_cut_run.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <algorithm>

#include "canvas/multi_cut_session.h"
#include "canvas/node_append.h"
#include "edits/saved_file_prompts.h"
#include "document/edited_document.h"
#include "image/image_files.h"
#include "image/working_folder.h"
#include "resources/string_table.h"
#include "resources/ui_strings.h"
#include "services/app_settings.h"
#include "services/message_service.h"
#include "services/settings.h"
#include "services/status_service.h"
#include "services/wait_cursor.h"

namespace tessaly {
namespace {

constexpr int kPieceQuality = 100;

const QString kLast = QStringLiteral("Last");
const QString kSaveFolder = QStringLiteral("SaveFolder");

// A canvas length in picture pixels.
int ToPicture(int canvasLength, float scale) {
    return scale == 1.0f ? canvasLength
                         : static_cast<int>(static_cast<float>(canvasLength) / scale);
}

// Runs `piece` for every cell, row by row, with the progress bar following.
// Stops early when `piece` returns false.
void ForEachCell(const AppSettings& grid, const std::function<bool(int, int)>& piece) {
    StatusProgress progress(grid.multiCntX * grid.multiCntY);
    int done = 0;
    for (int row = 0; row < grid.multiCntY; ++row) {
        for (int column = 0; column < grid.multiCntX; ++column) {
            if (!piece(column, row)) return;
            progress.SetPos(++done);
        }
    }
}

CutOutcome CutIntoNodes(EditedDocument& edited, MultiCutSession& session, const AppSettings& grid,
                        const QImage& picture, const CutSource& source) {
    if (WorkingFolder().isEmpty()) return CutOutcome::Nothing;
    const IntRect first = session.Rect();
    bool limitReached = false;
    {
        EditScope edit(edited, SnapshotRule::Always);
        Document& doc = edit.Doc();
        ForEachCell(grid, [&](int column, int row) {
            const QImage piece = CopyCell(picture, SourceCell(source, column, row));
            std::optional<ImageBlob> blob =
                BitmapToPicture(piece, source.cellWidth, source.cellHeight);
            if (!blob) return true;  // a piece that cannot be made is skipped
            const IntRect cell = CutCell(first, column, row, grid);
            const QPoint centre(cell.left + cell.Width() / 2, cell.top + cell.Height() / 2);
            if (!AppendNode(doc, centre, cell.Width(), cell.Height(), std::move(*blob))) {
                limitReached = true;
                return false;
            }
            edit.Commit();
            return true;
        });
        if (!limitReached) session.Stop();
    }
    return limitReached ? CutOutcome::NodeLimit : CutOutcome::NodesAdded;
}

// The folder the pieces go to, remembered with its trailing separator; empty
// when none was chosen.
QString PieceFolder(const ChooseFolder& chooseFolder) {
    const QString stored = GetProfileString(kLast, kSaveFolder);
    QString folder = QDir::fromNativeSeparators(chooseFolder(stored));
    if (folder.isEmpty()) return {};
    if (!folder.endsWith(u'/')) folder += u'/';
    if (folder != stored) WriteProfileString(kLast, kSaveFolder, folder);
    return folder;
}

// Writes one piece into its claimed file; true only when the file then holds
// the piece. A piece that was not written leaves no file behind.
bool WritePiece(const QImage& piece, const QString& path, const CutSource& source,
                const OutputFormat& format) {
    if (SaveBitmapFile(piece, path, source.cellWidth, source.cellHeight, format, false) &&
        QFileInfo(path).size() > 0) {
        return true;
    }
    QFile::remove(path);  // the claimed file, empty or cut short
    return false;
}

CutOutcome CutIntoFiles(const AppSettings& grid, const QImage& picture, const CutSource& source,
                        const ChooseFolder& chooseFolder, QObject* owner) {
    const QString folder = PieceFolder(chooseFolder);
    if (folder.isEmpty()) return CutOutcome::Cancelled;
    const QString type = CutFileType(grid.multiExt);
    const OutputFormat format = *OutputFormat::ForTypeName(type, kPieceQuality);
    const int total = grid.multiCntX * grid.multiCntY;
    int counter = 0;
    int written = 0;
    QString lastWritten;
    {
        const WaitCursor wait;
        ForEachCell(grid, [&](int column, int row) {
            const QImage piece = CopyCell(picture, SourceCell(source, column, row));
            const QString path = ClaimPieceName(folder, counter, type);
            if (!path.isEmpty() && WritePiece(piece, path, source, format)) {
                ++written;
                lastWritten = path;
            }
            return true;  // a piece that fails does not stop the others
        });
    }
    if (written < total) {
        const QString line = ui_text::kPiecesNotWrittenLine.toString().arg(
            QDir::toNativeSeparators(folder), FormatThousands(total),
            FormatThousands(total - written));
        ShowMessage(owner, line, kMsgBitmapSaveFailed, kStyleStop);
        return CutOutcome::FilesFailed;
    }
    OfferToShowSavedFile(lastWritten, owner);
    return CutOutcome::FilesWritten;
}

}  // namespace

CutSource SourceGeometry(const CutArea& area, const AppSettings& grid, QSize picture) {
    const float scaleX =
        static_cast<float>(area.node.Width()) / static_cast<float>(picture.width());
    const float scaleY =
        static_cast<float>(area.node.Height()) / static_cast<float>(picture.height());
    CutSource s;
    s.offsetX = ToPicture(area.rect.left - area.node.left, scaleX);
    s.offsetY = ToPicture(area.rect.top - area.node.top, scaleY);
    s.cellWidth = std::max(1, ToPicture(area.rect.Width(), scaleX));
    s.cellHeight = std::max(1, ToPicture(area.rect.Height(), scaleY));
    s.gapX = ToPicture(GapThousandths(grid.multiMaX), scaleX);
    s.gapY = ToPicture(GapThousandths(grid.multiMaY), scaleY);
    return s;
}

QRect SourceCell(const CutSource& s, int column, int row) {
    return QRect(s.offsetX + CellStart(column, s.cellWidth, s.gapX),
                 s.offsetY + CellStart(row, s.cellHeight, s.gapY), s.cellWidth, s.cellHeight);
}

QImage CopyCell(const QImage& picture, const QRect& cell) {
    QImage piece(cell.size(), QImage::Format_RGB32);
    if (piece.isNull()) return piece;
    piece.fill(Qt::white);
    QPainter painter(&piece);
    painter.drawImage(-cell.topLeft(), picture);
    return piece;
}

QString CutFileType(int multiExt) {
    static const QString kTypes[] = {QStringLiteral("jpeg"), QStringLiteral("gif"),
                                     QStringLiteral("bmp"), QStringLiteral("png"),
                                     QStringLiteral("tiff")};
    return multiExt >= 0 && multiExt < 5 ? kTypes[multiExt] : kTypes[0];
}

QString ClaimPieceName(const QString& folder, int& counter, const QString& type, int limit) {
    while (counter < limit) {
        const QString path =
            folder + QStringLiteral("%1.%2").arg(counter++, 8, 10, QLatin1Char('0')).arg(type);
        if (QFile::exists(path)) continue;
        // Created only when no file has the name, even one made just now.
        QFile claim(path);
        if (claim.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return path;
        // Not taken, yet not creatable: the folder cannot be written.
        if (!QFile::exists(path)) return {};
    }
    return {};
}

CutOutcome ExecuteMultiCut(EditedDocument& edited, MultiCutSession& session,
                           const AppSettings& grid, const ChooseFolder& chooseFolder,
                           QObject* owner) {
    const Document& doc = edited.Doc();
    // Never another node's picture, whatever became of the index.
    if (!session.HoldsItsNode(doc)) return CutOutcome::Nothing;
    const ImageBlob* blob = doc.Picture(doc.Node(session.Node()).picture);
    if (blob == nullptr) return CutOutcome::Nothing;
    const QImage picture = blob->Decode();
    if (picture.isNull()) return CutOutcome::Nothing;
    const CutSource source = SourceGeometry(session.Area(doc), grid, picture.size());

    switch (ShowMessage(owner, {}, kMsgCreateIndividually, kStyleYesNoCancel)) {
        case kResultYes:
            return CutIntoNodes(edited, session, grid, picture, source);
        case kResultNo:
            return CutIntoFiles(grid, picture, source, chooseFolder, owner);
        default:
            return CutOutcome::Cancelled;
    }
}

}  // namespace tessaly
