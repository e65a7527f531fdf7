#pragma once
// 32-bit arithmetic as the device does it: sums, differences and products wrap
// modulo 2^32 instead of overflowing, and divisions truncate towards zero.
#include <cstdint>

namespace orvanta {

inline int32_t add32(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t sub32(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
inline int32_t mul32(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}
inline int32_t neg32(int32_t a) {
    return static_cast<int32_t>(0u - static_cast<uint32_t>(a));
}

// Truncating division; the one overflowing case, INT32_MIN / -1, wraps to INT32_MIN
// as the device's 32-bit division would. The caller guarantees b != 0.
inline int32_t div32(int32_t a, int32_t b) {
    return b == -1 ? neg32(a) : a / b;
}

// Remainder with the sign of the dividend; INT32_MIN % -1 is 0. The caller guarantees b != 0.
inline int32_t mod32(int32_t a, int32_t b) {
    return b == -1 ? 0 : a % b;
}

// Truncates a double towards zero into 32 bits without undefined behaviour: values
// beyond the range saturate and NaN gives 0.
inline int32_t truncToInt32(double v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(v);
}

} // namespace orvanta
