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
    // A picture of its own, made from the bytes of the one `ref` names, for
    // a record that copies another. No picture (0) when `ref` names none
    // (it was released) or the bytes no longer make one: two records never
    // share a picture.
    PictureRef AdoptCopyOf(PictureRef ref);
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
