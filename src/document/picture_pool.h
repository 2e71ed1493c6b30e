#pragma once

#include <cstdint>
#include <unordered_map>

#include "document/picture_ref.h"
#include "image/image_blob.h"

namespace tessaly {

// Owns the pictures of one document. A record or the settings block holds a
// PictureRef; releasing it here ends the picture. References are never reused,
// so a stale one finds nothing instead of another record's picture.
class PicturePool {
public:
    PictureRef Adopt(ImageBlob picture);
    const ImageBlob* Find(PictureRef ref) const;
    // Releases the picture (if any) and sets the reference to 0.
    void Release(PictureRef& ref);
    void Clear() { pictures_.clear(); }
    std::size_t Size() const { return pictures_.size(); }

private:
    std::unordered_map<std::uint64_t, ImageBlob> pictures_;
    std::uint64_t nextId_ = 1;
};

}  // namespace tessaly
