#include "support/temp_env.h"

#include <QDir>

namespace tessaly::test {

ScopedTempDir::ScopedTempDir()
    : previous_(qgetenv("TMPDIR")), hadPrevious_(qEnvironmentVariableIsSet("TMPDIR")) {
    qputenv("TMPDIR", QFile::encodeName(dir_.path()));
}

ScopedTempDir::~ScopedTempDir() {
    if (hadPrevious_) {
        qputenv("TMPDIR", previous_);
    } else {
        qunsetenv("TMPDIR");
    }
}

QString ScopedTempDir::WorkingFolderPath() const { return QDir(dir_.path()).filePath(QStringLiteral("Tessaly")); }

}  // namespace tessaly::test
