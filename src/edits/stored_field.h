#pragma once

namespace tessaly {

// Stores `value` into `field`; true when it differs from what was there.
template <typename T, typename V>
bool StoreField(T& field, V value) {
    const bool changed = field != static_cast<T>(value);
    field = static_cast<T>(value);
    return changed;
}

}  // namespace tessaly
