// Any bytes as a remote-signal file (orvanectl ir learn --from): never a crash, and an accepted signal is one
// the receiver can play.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "handheld/soc/remote_signal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    handheld::soc::RemoteSignal signal;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (handheld::soc::ParseRemoteSignal(text, signal, nullptr)) {
        if (!(signal.carrierHz >= 1 && signal.carrierHz <= 1e6) || signal.repeat < 1) std::abort();
    }
    return 0;
}
