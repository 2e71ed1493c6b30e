#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <functional>

namespace tessaly {

// What the caller of a writer follows and learns. `keepWriting` is asked
// before each write; false stops the writing, and the earlier file stays.
// `error` receives the system's error number of the failure that stopped a
// write (ECANCELED when `keepWriting` said stop).
struct WriteWatch {
    std::function<bool()> keepWriting;
    int error = 0;
};

// Whether an error number means the disk (or the user's quota) is full.
bool IsDiskFullError(int error);
// Whether an error number means the place may not be written.
bool IsAccessError(int error);

// A file replaced whole. Everything is written into a new file beside the
// target, which takes the target's place only once all of it is on the
// disk: every write succeeded, the data is synced and the file has the size
// written. Until then, and after any failure, the earlier file is exactly as
// it was; an unfinished new file is removed with this object.
//
// The file replaced is the one the path names after following links, so a
// link stays a link. Paths are handled as the file system's bytes: a file
// whose name is not text, reached through a link that NativePaths made, is
// written under its own name.
//
// The new file lies in the target's folder as "." + name + ".TSD" and six
// characters, locked while it is written; what an interrupted write of the
// same target left there is removed when the next one starts.
//
// Writes go straight to the system, so the first failure is known with the
// system's reason at the write that met it, never later at a flush.
class SafeFile final : public QIODevice {
public:
    explicit SafeFile(const QString& path);
    // A target given as the file system's bytes.
    explicit SafeFile(const QByteArray& nativePath);
    ~SafeFile() override;
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // Creates the new file for writing (and reading back, which some
    // encoders do). Refuses a target that exists and is not a regular file,
    // or that may not be written.
    bool open(OpenMode mode) override;
    bool isSequential() const override { return false; }
    qint64 size() const override;

    // Follows and reports through `watch` (may be null) from now on.
    void SetWatch(WriteWatch* watch) { watch_ = watch; }

    // Makes sure everything written is on the disk in full. False, with
    // Error() set, when anything failed on the way.
    bool Finish();
    // Finish, then puts the new file in the target's place with the target's
    // permissions (or the usual ones for a new file). Asks `keepWriting` a
    // last time first. False, with the earlier file untouched, otherwise.
    bool Commit();

    // The system's error number of the first failure; 0 without one.
    int Error() const { return error_; }
    bool DiskFull() const { return IsDiskFullError(error_); }
    // The system's text for Error().
    QString Reason() const;
    // The file replaced, after following links, as the file system's bytes.
    const QByteArray& Target() const { return target_; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool Fail(int error);
    void Discard();

    QByteArray target_;
    QByteArray temp_;
    int fd_ = -1;
    int error_ = 0;
    qint64 end_ = 0;  // the size the written data gives the file
    bool finished_ = false;
    bool committed_ = false;
    WriteWatch* watch_ = nullptr;
};

}  // namespace tessaly
