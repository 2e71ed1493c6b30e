#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace tessaly {

// One member of a cabinet file, read into memory.
struct CabinetMember {
    QString name;  // as stored; never used as a path
    QByteArray data;
};

// Reads the last member of a standard cabinet (one file, no spanning),
// stored without compression or with MSZIP. Nothing for anything else: not a
// cabinet, damaged (including a data block whose non-zero checksum does not
// match it), other compression, or a member above kMaxMemberBytes.
// Reading never allocates more than the member's size and never trusts a
// size or offset without checking it against the data.
std::optional<CabinetMember> ReadCabinetMember(QByteArrayView cabinet);

// The largest member accepted (counting what precedes it in its folder):
// more than any document the program can hold in memory.
inline constexpr qint64 kMaxMemberBytes = 1024LL * 1024 * 1024;

}  // namespace tessaly
