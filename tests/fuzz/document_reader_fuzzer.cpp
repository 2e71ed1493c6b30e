// Feeds arbitrary bytes to the document reader, as an opened .tsd would after
// its member has been read. Besides the sanitizers, it checks what the reader
// promises:
//  - reading from a device and from bytes agree;
//  - a refused file leaves the document exactly as it was;
//  - an accepted file gives a document whose references all resolve;
//  - writing an accepted document and reading it back succeeds, and writing
//    that again gives the very same bytes (nothing drifts across a save).
#include <QBuffer>
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "document/document.h"
#include "document/document_file.h"
#include "fuzz_support.h"

using namespace tessaly;

namespace {

// The two documents of a run. Allocating a node table costs about a megabyte
// of fresh pages under AddressSanitizer, which would dominate every run, so
// the tables are allocated once and each run gets them back in the state of a
// new document with newly allocated tables.
Document* g_first = nullptr;
Document* g_second = nullptr;

Document* MakeDocument() {
    auto* doc = new Document;
    if (!doc->AllocateNodeTables()) fuzz::FuzzFailure("node tables could not be allocated");
    return doc;
}

Document& NewDocument(Document* doc) {
    static const DocState fresh = Document().State();
    doc->ReleaseAllPictures();
    doc->State() = fresh;
    std::memset(static_cast<void*>(doc->Nodes()), 0, sizeof(NodeRecord) * kNodeTableCapacity);
    std::memset(static_cast<void*>(doc->Marks()), 0, sizeof(NodeMark) * kNodeTableCapacity);
    doc->SetModified(false);
    return *doc;
}

bool ReadFromDevice(const QByteArray& bytes, Document& doc) {
    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    return ReadDocumentFile(in, doc, true);
}

QByteArray WriteToDevice(const Document& doc) {
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    if (!WriteDocumentFile(out, doc, true)) fuzz::FuzzFailure("writing a document read back failed");
    return out.data();
}

void CheckUnchanged(const Document& doc, const DocState& before) {
    if (std::memcmp(&before, &doc.State(), sizeof before) != 0) {
        fuzz::FuzzFailure("a refused file changed the settings block");
    }
    if (doc.Pictures().Size() != 0) fuzz::FuzzFailure("a refused file left pictures behind");
}

void Check(QByteArrayView input) {
    // From the bytes themselves (libFuzzer's buffer: a read past the end is
    // caught) and from a device holding a copy.
    Document& doc = NewDocument(g_first);
    Document& viaDevice = NewDocument(g_second);
    const DocState before = doc.State();
    const bool read = ReadDocumentBytes(input, doc, true);
    if (read != ReadFromDevice(input.toByteArray(), viaDevice)) {
        fuzz::FuzzFailure("reading from a device and from bytes disagree");
    }
    if (!read) {
        CheckUnchanged(doc, before);
        CheckUnchanged(viaDevice, before);
        return;
    }
    fuzz::CheckReferences(doc);

    const QByteArray written = WriteToDevice(doc);
    if (ComposeDocumentFile(viaDevice, true) != written) {
        fuzz::FuzzFailure("documents read from a device and from bytes are saved differently");
    }

    Document& again = NewDocument(g_second);
    if (!ReadDocumentBytes(written, again, true)) {
        fuzz::FuzzFailure("a written document could not be read back");
    }
    fuzz::CheckReferences(again);
    if (again.State().nodeCount != doc.State().nodeCount) {
        fuzz::FuzzFailure("node count changed across a save");
    }
    const QByteArray rewritten = ComposeDocumentFile(again, true);
    if (rewritten != written) {
        fuzz::FuzzFailure("a document read back is written differently",
                          QStringLiteral("%1 bytes, then %2").arg(written.size()).arg(rewritten.size()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::InitializeFuzzEnvironment(argc, argv);
    g_first = MakeDocument();
    g_second = MakeDocument();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Check(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    // Nothing of this run outlives it.
    g_first->ReleaseAllPictures();
    g_second->ReleaseAllPictures();
    return 0;
}
