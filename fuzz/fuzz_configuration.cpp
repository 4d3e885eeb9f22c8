// Any bytes as a configuration file: the reader must never read outside its input, and what it took must
// write back and read again to the same settings.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "app/model/byte_source.h"
#include "app/model/configuration.h"

namespace {

bool Same(const ApplicationSettings& a, const ApplicationSettings& b) {
    if (a.optionFlags != b.optionFlags || a.currentDevice != b.currentDevice || a.portName != b.portName ||
        a.buttonRotation != b.buttonRotation || a.shownDevices.size() != b.shownDevices.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.shownDevices.size(); ++i) {
        const DeviceSettings& x = a.shownDevices[i];
        const DeviceSettings& y = b.shownDevices[i];
        if (x.flags != y.flags || x.deviceName != y.deviceName || x.backgroundPicture != y.backgroundPicture ||
            x.buttonSound != y.buttonSound || x.backgroundColor != y.backgroundColor) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryByteSource source({data, size});
    ApplicationSettings settings;
    std::optional<std::u16string> port;
    if (configuration::Parse(source, settings, port) != configuration::ParseResult::Read) return 0;
    if (port) settings.portName = *port;
    const std::vector<std::uint8_t> written = configuration::Encode(settings);
    MemoryByteSource again(written);
    ApplicationSettings reread;
    std::optional<std::u16string> rereadPort;
    if (configuration::Parse(again, reread, rereadPort) != configuration::ParseResult::Read || !rereadPort) {
        std::abort();
    }
    reread.portName = *rereadPort;
    if (!Same(settings, reread)) std::abort();
    return 0;
}
