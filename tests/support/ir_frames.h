// Remote-control frames for learning tests and benchmarks, in microseconds (>= 0 burst, < 0 pause).
#pragma once

#include <cstdint>
#include <vector>

namespace orvane_test {

// The common pulse-distance shape: a 9 ms header burst and 4.5 ms pause, 32 bits least significant first
// (560 us burst, then 560 us pause for 0 or 1690 us for 1), and a closing burst.
inline std::vector<std::int32_t> PulseDistanceFrame(std::uint32_t bits) {
    std::vector<std::int32_t> frame = {9000, -4500};
    for (int i = 0; i < 32; ++i) {
        frame.push_back(560);
        frame.push_back((bits >> i) & 1u ? -1690 : -560);
    }
    frame.push_back(560);
    return frame;
}

}  // namespace orvane_test
