// Any bytes as a device file: the reader must never read outside its input, and whatever it accepted must
// write back and read again to the same device.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "app/model/byte_source.h"
#include "app/model/device.h"
#include "app/model/device_file.h"
#include "handheld/messagebox.h"

namespace {

std::vector<std::uint8_t> Write(const Device& device) {
    std::vector<std::uint8_t> bytes;
    device_file::WriteDevice(device, [&bytes](const std::uint8_t* data, std::size_t count) {
        bytes.insert(bytes.end(), data, data + count);
        return true;
    });
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = [] {
        handheld::SetMessageBoxPresenter([](const handheld::MessageBoxRequest&) { return handheld::IDOK; });
        return true;
    }();
    (void)quiet;
    for (const bool headerOnly : {true, false}) {
        MemoryByteSource source({data, size});
        Device device;
        if (!device_file::LoadFrom(source, device, headerOnly) || headerOnly) continue;
        const std::vector<std::uint8_t> written = Write(device);
        MemoryByteSource again(written);
        Device reread;
        if (!device_file::LoadFrom(again, reread, false) || Write(reread) != written ||
            reread.records.size() != device.records.size()) {
            std::abort();
        }
    }
    return 0;
}
