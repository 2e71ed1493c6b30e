// Feeds arbitrary bytes to cabinet extraction, as a downloaded or damaged .tsd
// would. Besides the sanitizers, it checks that extraction only ever writes
// plain files directly inside the destination folder: the destination sits a
// few folders deep in a private tree, and after each run the whole tree must
// hold nothing but the cabinet, those folders and the destination's files
// (and Qt's empty runtime folder).
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <cstddef>
#include <cstdint>

#include "document/cabinet.h"
#include "fuzz_support.h"

using namespace tessaly;

namespace {

// Deep enough that a member named with a run of "..\" still lands in the tree.
constexpr int kDepth = 8;

QString g_root;         // the private tree
QString g_cabinet;      // the input, written as a file
QString g_destination;  // where members go
QSet<QString> g_folders;  // the folders between the root and the destination

void Prepare() {
    g_root = QDir(fuzz::FuzzTempRoot()).filePath(QStringLiteral("tree"));
    g_cabinet = QDir(g_root).filePath(QStringLiteral("input.tsd"));
    QString folder = g_root;
    for (int i = 0; i < kDepth; ++i) {
        folder = QDir(folder).filePath(QStringLiteral("d%1").arg(i));
        g_folders.insert(folder);
    }
    g_destination = QDir(folder).filePath(QStringLiteral("out"));
    if (!QDir().mkpath(folder)) fuzz::FuzzFailure("cannot make the fuzzing tree", folder);
}

void CheckTree(const std::optional<QString>& member) {
    bool memberSeen = false;
    QDirIterator it(QDir(fuzz::FuzzTempRoot()).path(),
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        if (path == g_root || path == g_cabinet || path == g_destination ||
            path == fuzz::FuzzRuntimeFolder() || g_folders.contains(path)) {
            continue;
        }
        if (info.absolutePath() != g_destination) {
            fuzz::FuzzFailure("extraction wrote outside the destination folder", path);
        }
        if (info.isSymLink() || !info.isFile()) {
            fuzz::FuzzFailure("extraction made something other than a plain file", path);
        }
        if (member && info.fileName() == *member) memberSeen = true;
    }
    if (member) {
        if (member->isEmpty() || member->contains(u'/') || member->contains(u'\\') ||
            *member == u"." || *member == u"..") {
            fuzz::FuzzFailure("the member name returned is not a plain file name", *member);
        }
        if (!memberSeen) fuzz::FuzzFailure("the member returned was not extracted", *member);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::InitializeFuzzEnvironment(argc, argv);
    Prepare();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        QFile file(g_cabinet);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) {
            fuzz::FuzzFailure("cannot write the input cabinet", g_cabinet);
        }
    }
    if (!QDir().mkpath(g_destination)) fuzz::FuzzFailure("cannot make the destination", g_destination);

    const std::optional<QString> member = ExtractCabinet(g_cabinet, g_destination);
    CheckTree(member);

    if (!QDir(g_destination).removeRecursively()) {
        fuzz::FuzzFailure("cannot empty the destination", g_destination);
    }
    return 0;
}
