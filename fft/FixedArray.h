#ifndef TOVIK_FFT_FIXEDARRAY_H
#define TOVIK_FFT_FIXEDARRAY_H

#include <cassert>

namespace fft {

// An owning array whose length is chosen at construction or by resize() and
// never grows on its own. Element access checks the index; the transform's
// inner loops work on data() to keep those checks out of the hot path.
template <typename T> class FixedArray {
public:
    FixedArray() = default;
    explicit FixedArray(long size) { resize(size); }
    ~FixedArray() { delete[] elements; }

    // One owner per block: a copy would free the storage twice.
    FixedArray(const FixedArray&) = delete;
    FixedArray& operator=(const FixedArray&) = delete;

    // Replaces the storage; the old contents are not kept. A size too large
    // for new[] throws std::bad_array_new_length, and the array is unchanged.
    void resize(long size) {
        assert(size >= 0);
        T* const fresh = new T[size];
        delete[] elements;
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
    T* elements = nullptr;
    long count = 0;
};

} // namespace fft

#endif
