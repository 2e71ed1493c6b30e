#pragma once

#include <cstdint>

namespace tessaly {

// The 64-bit picture field of the saved structures. In memory it names a
// picture held by the document's picture pool; 0 means "no picture". Files
// only record whether it is zero.
struct PictureRef {
    std::uint64_t id = 0;

    explicit operator bool() const { return id != 0; }
    friend bool operator==(PictureRef, PictureRef) = default;
};
static_assert(sizeof(PictureRef) == 8);

}  // namespace tessaly
