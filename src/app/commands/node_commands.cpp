// The node's menu: stacking order, swapping, random positions, the node's
// picture from and to a file, the images of similar colour for its place,
// and its properties.

#include <QFileDialog>

#include "app/commands/command.h"
#include "app/dialogs/node_dlg.h"
#include "app/dialogs/similar_image_dlg.h"
#include "view/atelier_view.h"
#include "view/image_adding.h"
#include "edits/node_image_files.h"
#include "edits/node_order.h"
#include "edits/node_properties.h"
#include "edits/random_positions.h"
#include "resources/ui_strings.h"
#include "services/random_generator.h"

namespace tessaly {
namespace {

// The entry of the image filter a save dialog starts with: JPEG.
constexpr int kJpegFilterIndex = 1;

QString ChooseImageToOpen(QWidget* owner) {
    return QFileDialog::getOpenFileName(owner, ui_text::kChangeImageTitle.toString(), {},
                                        ui_text::kImageFileFilter.toString());
}

QString ChooseImageToSave(QWidget* owner) {
    const QStringList filters = ui_text::kImageFileFilter.toString().split(QStringLiteral(";;"));
    QFileDialog dialog(owner, ui_text::kSaveFileTitle.toString());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);  // the command asks itself
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.value(kJpegFilterIndex));
    dialog.setDefaultSuffix(ui_text::kNodeImageSuffix.toString());
    dialog.selectFile(ui_text::kUntitledImageName.toString());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

// "イメージを変更": asks for an image file and gives it to the main
// selection, which keeps its rectangle. No undo snapshot is taken.
void ChooseNewImage(CommandEnvironment& env) {
    CAtelierView& view = env.Canvas();
    QWidget* owner = env.Owner();
    ChangeNodeImage(
        view.Doc(), [owner] { return ChooseImageToOpen(owner); },
        [&view](int node, const QString& path, const QString& type) {
            return view.Images().ReplaceNodeImage(node, path, type, SnapshotRule::None);
        });
}

// "イメージをファイルに保存": asks for a file name (JPEG preselected, "無題"
// proposed) and writes the main selection's picture into it.
void SaveImageToFile(CommandEnvironment& env) {
    QWidget* owner = env.Owner();
    SaveNodeImage(
        env.Edited().Doc(), [owner] { return ChooseImageToSave(owner); }, owner);
}

// "プロパティ": the image properties dialog on the main selection, as one
// step of undo; nothing without a main selection or a picture.
void EditNodeProperties(CommandEnvironment& env) {
    NodeProperties properties(env.Edited());
    if (!properties.IsOpen()) return;
    CNodeDlg dialog(properties, env.Owner());
    dialog.exec();
}

// "似た色のイメージと入れ替え": the window of candidates for the main
// selection's place, one at a time.
void OpenSimilarImages(CommandEnvironment& env) {
    const int node = env.Edited().Doc().State().mainSelection;
    if (node < 0) return;
    QWidget* owner = env.Owner();
    for (auto* open : owner->findChildren<CSimilarImageDlg*>()) open->close();
    auto* window = new CSimilarImageDlg(env.Edited(), node, owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

void ScatterNodes(CommandEnvironment& env) {
    CrtRandom random;
    random.SeedFromClock();
    ScatterSelected(env.Edited(), random);
}

}  // namespace

void AddNodeCommands(CommandTable& table) {
    using C = CommandId;
    table.Add({.id = C::kBringToFront,
               .run = [](CommandEnvironment& env) { RestackSelected(env.Edited(), StackEnd::Front); }});
    table.Add({.id = C::kSendToBack,
               .run = [](CommandEnvironment& env) { RestackSelected(env.Edited(), StackEnd::Back); }});
    table.Add({.id = C::kSwapPositions,
               .run = [](CommandEnvironment& env) { SwapSelected(env.Edited()); }});
    table.Add({.id = C::kRandomPositions, .run = ScatterNodes});
    table.Add({.id = C::kChangeImage, .run = ChooseNewImage});
    table.Add({.id = C::kSaveNodeImage, .run = SaveImageToFile});
    // Another image to compare with, and a background to compare against.
    const Command::Rule similar = EnabledWhen([](const CommandContext& c) {
        return c.hasMainSelection && c.nodeCount > 1 && c.hasBackgroundImage;
    });
    table.Add({.id = C::kSwapWithSimilar,
               .rule = similar,
               .popupRule = AsInMenuBar(similar),
               .run = OpenSimilarImages});
    table.Add({.id = C::kImageProperties, .run = EditNodeProperties});
}

}  // namespace tessaly
