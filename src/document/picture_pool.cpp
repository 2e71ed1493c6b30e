#include "document/picture_pool.h"

namespace tessaly {

PictureRef PicturePool::Adopt(ImageBlob picture) {
    const PictureRef ref{nextId_++};
    pictures_.emplace(ref.id, std::move(picture));
    return ref;
}

const ImageBlob* PicturePool::Find(PictureRef ref) const {
    if (!ref) return nullptr;
    const auto it = pictures_.find(ref.id);
    return it == pictures_.end() ? nullptr : &it->second;
}

void PicturePool::Release(PictureRef& ref) {
    if (ref) pictures_.erase(ref.id);
    ref = PictureRef{};
}

}  // namespace tessaly
