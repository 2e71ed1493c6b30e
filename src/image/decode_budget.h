#pragma once

#include <QString>
#include <QtGlobal>
#include <condition_variable>
#include <mutex>

namespace tessaly {

// Bounds the decoded pixels that threads preparing pictures hold at once: a
// thread reserves a picture's decoded bytes before it decodes it and gives
// them back when it has let the pixels go. Reservations are served in the
// order they were asked for, so a large picture is not starved by small ones.
class DecodeBudget {
public:
    explicit DecodeBudget(qint64 limitBytes);
    DecodeBudget(const DecodeBudget&) = delete;
    DecodeBudget& operator=(const DecodeBudget&) = delete;

    // The budget for loading pictures on several threads: 512 MiB, or a
    // quarter of the memory available when that is less.
    static qint64 DefaultLimit();

    // Waits until `bytes` fit beside the bytes in flight. A picture larger
    // than the whole budget waits until nothing else is in flight and then
    // goes alone.
    void Acquire(qint64 bytes);
    void Release(qint64 bytes);

    qint64 Limit() const { return limit_; }
    // The most bytes that were in flight at once.
    qint64 PeakInFlight() const;

    // Holds a reservation from construction to destruction.
    class Reservation {
    public:
        Reservation(DecodeBudget& budget, qint64 bytes) : budget_(budget), bytes_(bytes) {
            budget_.Acquire(bytes_);
        }
        ~Reservation() { budget_.Release(bytes_); }
        Reservation(const Reservation&) = delete;
        Reservation& operator=(const Reservation&) = delete;

    private:
        DecodeBudget& budget_;
        qint64 bytes_;
    };

private:
    const qint64 limit_;
    mutable std::mutex mutex_;
    std::condition_variable released_;
    qint64 inFlight_ = 0;
    qint64 peak_ = 0;
    quint64 nextTicket_ = 0;  // handed to the next request
    quint64 serving_ = 0;     // the request whose turn it is
};

// The bytes the picture in an image file takes once decoded, four a pixel,
// as its header declares them; 0 when the header cannot be read.
qint64 DecodedBytesOf(const QString& path);

}  // namespace tessaly
