// Opens arbitrary bytes as a .tsd file the way the editor does: the cabinet
// read from disk, its member read as the inner document, every picture
// resolved, then the undo history started afresh. The document it opens
// into is one being edited: two nodes with pictures, a background, a
// selection and unsaved changes. Besides the sanitizers, it checks:
//  - a refused file leaves that document exactly as it was, modified and
//    selected as before;
//  - an opened document refers only to pictures it holds, has nothing
//    selected and is not modified;
//  - an opened document saves and opens again to the same inner file.
#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QImage>
#include <cstddef>
#include <cstdint>

#include "document/document.h"
#include "document/document_file.h"
#include "document/document_io.h"
#include "document/edited_document.h"
#include "fuzz_support.h"
#include "image/image_files.h"

using namespace tessaly;

namespace {

EditedDocument* g_edited = nullptr;
Document* g_reopened = nullptr;
QByteArray g_madeInner;    // the inner file the document being edited is read from
QByteArray g_editedInner;  // that document's inner file with its selection

constexpr int kSelected = 1;

QByteArray SmallJpeg(int shade) {
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(QColor(shade, 255 - shade, 90));
    return EncodeJpeg(image, 60);
}

// Puts the document back into the state of one being edited.
void StartEditing() {
    Document& doc = g_edited->Doc();
    if (!ReadDocumentBytes(g_madeInner, doc, true)) fuzz::FuzzFailure("the edited document is refused");
    doc.State().mainSelection = kSelected;
    doc.Mark(kSelected).selected = 1;
    doc.SetModified(true);
}

QByteArray MadeInnerFile() {
    Document doc;
    if (!doc.AllocateNodeTables()) fuzz::FuzzFailure("node tables could not be allocated");
    DocState& state = doc.State();
    state.backPicture = doc.Pictures().Adopt(*ImageBlob::FromEncoded(SmallJpeg(10)));
    state.nodeCount = 2;
    for (int i = 0; i < state.nodeCount; ++i) {
        NodeRecord& record = doc.Node(i);
        record.centerX = 50 + 40 * i;
        record.centerY = 60;
        record.halfWidth = 12;
        record.halfHeight = 8;
        record.visible = 1;
        record.picture = doc.Pictures().Adopt(*ImageBlob::FromEncoded(SmallJpeg(100 + 50 * i)));
    }
    return ComposeDocumentFile(doc, true);
}

bool StillEditing(const Document& doc) {
    return doc.IsModified() && doc.State().mainSelection == kSelected && doc.Mark(kSelected).selected &&
           ComposeDocumentFile(doc, true) == g_editedInner;
}

void CheckOpened(const Document& doc) {
    fuzz::CheckReferences(doc);
    if (doc.IsModified()) fuzz::FuzzFailure("an opened document is modified");
    if (doc.State().mainSelection != -1) fuzz::FuzzFailure("an opened document has a main selection");
    for (int i = 0; i < doc.State().nodeCount; ++i) {
        if (doc.Mark(i).selected) fuzz::FuzzFailure("an opened document has a selected node");
    }
}

void CheckSavedAgain(const Document& doc) {
    static const QString path = QDir(fuzz::FuzzTempRoot()).filePath(QStringLiteral("saved.tsd"));
    if (!WriteDocumentSafely(doc, path, true)) fuzz::FuzzFailure("an opened document could not be saved");
    g_reopened->ReleaseAllPictures();
    if (!OpenDocument(*g_reopened, path)) fuzz::FuzzFailure("a saved document could not be opened");
    if (ComposeDocumentFile(*g_reopened, true) != ComposeDocumentFile(doc, true)) {
        fuzz::FuzzFailure("a document opened again differs from the one saved");
    }
    g_reopened->ReleaseAllPictures();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::InitializeFuzzEnvironment(argc, argv);
    g_edited = new EditedDocument;
    g_reopened = new Document;
    if (!g_edited->Doc().AllocateNodeTables() || !g_reopened->AllocateNodeTables()) {
        fuzz::FuzzFailure("node tables could not be allocated");
    }
    g_madeInner = MadeInnerFile();
    StartEditing();
    g_editedInner = ComposeDocumentFile(g_edited->Doc(), true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = fuzz::WriteFuzzFile(QStringLiteral("input.tsd"),
                                             QByteArrayView(data, static_cast<qsizetype>(size)));
    Document& doc = g_edited->Doc();
    if (!OpenDocument(doc, path)) {
        if (!StillEditing(doc)) fuzz::FuzzFailure("a refused file changed the document being edited");
        return 0;
    }
    g_edited->ResetHistory();
    CheckOpened(doc);
    CheckSavedAgain(doc);
    StartEditing();
    return 0;
}
