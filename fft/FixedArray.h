#ifndef TOVIK_FFT_FIXEDARRAY_H
#define TOVIK_FFT_FIXEDARRAY_H

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace fft {

// An owning array whose length is chosen at construction or by resize() and
// never grows on its own. Element access checks the index; the transform's
// inner loops work on data() to keep those checks out of the hot path.
//
// The storage starts on a cache-line boundary, so that the transform's
// 32-byte vector loads and stores never straddle two lines.
template <typename T> class FixedArray {
public:
    static constexpr std::size_t alignment = 64;

    FixedArray() = default;
    explicit FixedArray(long size) { resize(size); }
    ~FixedArray() { release(); }

    // One owner per block: a copy would free the storage twice.
    FixedArray(const FixedArray&) = delete;
    FixedArray& operator=(const FixedArray&) = delete;

    // Replaces the storage; the old contents are not kept. A size too large
    // for new[] throws std::bad_array_new_length, and the array is unchanged.
    void resize(long size) {
        assert(size >= 0);
        T* fresh = allocate(size);
        release();
        elements = fresh;
        count = size;
    }

    T& operator[](long pos) {
        assert(pos >= 0);
        assert(pos < count);
        return elements[pos];
    }
    const T& operator[](long pos) const {
        assert(pos >= 0);
        assert(pos < count);
        return elements[pos];
    }

    long size() const { return count; }
    T* data() { return elements; }
    const T* data() const { return elements; }

private:
    // Like new T[size], default-initialised (so doubles are left as they are),
    // but aligned.
    static T* allocate(long size) {
        if (std::size_t(size) > std::size_t(PTRDIFF_MAX) / sizeof(T))
            throw std::bad_array_new_length();
        void* raw = ::operator new[](std::size_t(size) * sizeof(T), std::align_val_t(alignment));
        T* first = static_cast<T*>(raw);
        try {
            std::uninitialized_default_construct_n(first, size);
        } catch (...) {
            ::operator delete[](raw, std::align_val_t(alignment));
            throw;
        }
        return first;
    }

    void release() {
        if (elements == nullptr)
            return;
        std::destroy_n(elements, count);
        ::operator delete[](elements, std::align_val_t(alignment));
    }

    T* elements = nullptr;
    long count = 0;
};

} // namespace fft

#endif
