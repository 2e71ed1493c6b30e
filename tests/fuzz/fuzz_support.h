#pragma once

#include <QByteArrayView>
#include <QString>

namespace tessaly {
class Document;
}

namespace tessaly::fuzz {

// Prepares the process for fuzzing: a private temporary folder, in /dev/shm
// when there is one (or in TESSALY_FUZZ_TMPDIR), made the system temporary
// folder (TMPDIR) and removed again at exit; the offscreen Qt platform and an
// application object, so image plugins load; no message boxes and no Qt
// chatter on stderr.
void InitializeFuzzEnvironment(int* argc, char*** argv);

// The private temporary folder made by InitializeFuzzEnvironment, and the
// runtime folder (XDG_RUNTIME_DIR) made inside it for Qt.
QString FuzzTempRoot();
QString FuzzRuntimeFolder();

// Writes `bytes` as the file `name` in the private temporary folder,
// replacing what was there, and returns its path.
QString WriteFuzzFile(const QString& name, QByteArrayView bytes);

// Prints what went wrong and aborts, so that libFuzzer records the input.
[[noreturn]] void FuzzFailure(const char* what, const QString& detail = {});

// Fails unless the node count is in range, the background and every record
// refer to pictures the pool holds, and the pool holds nothing else.
void CheckReferences(const Document& doc);

}  // namespace tessaly::fuzz
