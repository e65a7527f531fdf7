#include "core/runtime/random.h"

namespace orvanta {

void RandomSource::skip(uint64_t count) {
    // Composes the step x -> a x + c with itself by squaring: after k rounds (mul, add)
    // is the map of 2^k steps.
    uint32_t mul = 214013u, add = 2531011u;
    uint32_t accMul = 1u, accAdd = 0u;
    for (; count != 0; count >>= 1) {
        if ((count & 1u) != 0) {
            accMul = accMul * mul;
            accAdd = accAdd * mul + add;
        }
        add = add * mul + add;
        mul = mul * mul;
    }
    state_ = state_ * accMul + accAdd;
}

} // namespace orvanta
