#include "NumberField.h"

#include <charconv>
#include <cstddef>
#include <system_error>

namespace NumberField {

Result parse(const char* begin, const char* end, double* out) {
    char buffer[512];
    const std::ptrdiff_t length = end - begin;
    if (length <= 0 || length >= std::ptrdiff_t(sizeof buffer))
        return Result::NotANumber;
    int n = 0;
    bool negativeExponent = false;
    for (const char* c = begin; c < end; ++c) {
        char d = *c;
        if (d == 'D' || d == 'd')
            d = 'E';
        if ((d == '-') && n > 0 && (buffer[n - 1] == 'E' || buffer[n - 1] == 'e'))
            negativeExponent = true;
        buffer[n++] = d;
    }
    const char* first = buffer;
    if (*first == '+' && n > 1 && buffer[1] != '+' && buffer[1] != '-')
        ++first;
    double value = 0;
    const auto result = std::from_chars(first, buffer + n, value);
    if (result.ptr != buffer + n)
        return Result::NotANumber;
    if (result.ec == std::errc::result_out_of_range) {
        // Too small for a double reads as zero; too large cannot be carried.
        if (!negativeExponent)
            return Result::TooLarge;
        value = 0;
    } else if (result.ec != std::errc()) {
        return Result::NotANumber;
    }
    *out = value;
    return Result::Ok;
}

} // namespace NumberField
