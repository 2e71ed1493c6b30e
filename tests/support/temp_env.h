#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace tessaly::test {

// Points the system temporary folder (TMPDIR) at a fresh folder while it
// lives, so the working folder and its files stay inside the test.
class ScopedTempDir {
public:
    ScopedTempDir();
    ~ScopedTempDir();

    QString Path() const { return dir_.path(); }
    // Where the program's working folder lands.
    QString WorkingFolderPath() const;

private:
    QTemporaryDir dir_;
    QByteArray previous_;
    bool hadPrevious_;
};

}  // namespace tessaly::test
