// Finding the repeating part of a learned signal. Products are taken in 64 bits so that long pauses cannot
// overflow; the quotients truncate toward zero as 32-bit division does.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "driver/irdriver/ir_driver_generic.h"

namespace {
constexpr std::int64_t kLongerByPercent = 120;      // a new longest pause is more than 20 % longer
constexpr std::int64_t kSimilarWithinPercent = 20;  // a second long pause, or a matching entry
}  // namespace

void AnalyseRepeat(IrCode& code) {
    const int n = std::clamp(code.count, 0, kIrCodeMaxDurations);
    const std::int32_t* d = code.durations;

    // The longest pause, preferring the earliest of similar ones.
    std::int64_t best = 0;
    int g = 0;
    for (int i = 0; i < n; ++i) {
        if (best * kLongerByPercent / 100 > d[i]) {
            g = i;
            best = d[i];
        }
    }
    if (g <= 0) return;

    // The next entry at least about as long as it.
    const std::int64_t longest = -best;
    int h = n;
    for (int j = g + 1; j < n; ++j) {
        if ((longest - std::llabs(d[j])) * 100 / longest < kSimilarWithinPercent) {
            h = j;
            break;
        }
    }

    bool oneFrameRepeated = (g == h - g - 1);
    for (int k = 0; oneFrameRepeated && k < g; ++k) {
        const std::int64_t a = d[k];
        const std::int64_t c = d[g + 1 + k];
        // A zero entry cannot be compared as a ratio: it counts as a mismatch.
        if (a == 0 || std::llabs(a - c) * 100 / a > kSimilarWithinPercent) oneFrameRepeated = false;
    }
    if (oneFrameRepeated) {
        code.count = g + 1;
        code.repeatStart = 0;
        return;
    }
    code.count = std::min(h + 1, n);
    code.repeatStart = g + 1;
}
