// gen_demo PACKAGEDIR: writes the demo devices into PACKAGEDIR/Devices and the configuration that shows them
// into PACKAGEDIR. The program's writers work on handheld paths, so the files are written in a scratch
// handheld home and copied out of it.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/model/configuration.h"
#include "app/model/device_creation.h"
#include "app/shell/stored_files.h"
#include "handheld/home.h"
#include "handheld/text.h"
#include "tools/gen_demo/demo_devices.h"
#include "tools/host_file/host_file.h"

namespace fs = std::filesystem;

namespace {

// Removes the scratch home however the run ends.
class ScratchHome {
public:
    ScratchHome() {
        std::string pattern = (fs::temp_directory_path() / "gen_demo-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) return;
        directory_ = pattern;
    }
    ~ScratchHome() {
        std::error_code ignored;
        if (!directory_.empty()) fs::remove_all(directory_, ignored);
    }
    ScratchHome(const ScratchHome&) = delete;
    ScratchHome& operator=(const ScratchHome&) = delete;

    bool Open(std::string& reason) {
        if (directory_.empty()) {
            reason = "cannot make a temporary folder";
            return false;
        }
        // A new home holds no program: the package being made here cannot meet an older one.
        return handheld::OpenHome(directory_ / "home", &reason);
    }

private:
    fs::path directory_;
};

bool CopyOut(std::u16string_view handheldPath, const fs::path& target) {
    const auto host = handheld::HostPath(handheldPath);
    std::error_code ec;
    if (!host || !fs::is_regular_file(*host, ec)) {
        std::fprintf(stderr, "gen_demo: %s was not written\n", handheld::ToUtf8(handheldPath).c_str());
        return false;
    }
    // An interrupted build never leaves half a file in the package.
    std::string error;
    if (!host_file::CopyAtomically(*host, target, error)) {
        std::fprintf(stderr, "gen_demo: %s\n", error.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_demo PACKAGEDIR\n");
        return 2;
    }
    const fs::path package = argv[1];

    std::string reason;
    std::vector<Device> devices = demo::MakeDemoDevices(reason);
    if (devices.empty()) {
        std::fprintf(stderr, "gen_demo: %s\n", reason.c_str());
        return 1;
    }
    ScratchHome home;
    if (!home.Open(reason)) {
        std::fprintf(stderr, "gen_demo: cannot open a scratch handheld home: %s\n", reason.c_str());
        return 1;
    }

    bool ok = true;
    for (Device& device : devices) {
        const std::u16string path = DeviceFolder() + device.name + u".kdr";
        if (!SaveDevice(device, false, path)) {
            std::fprintf(stderr, "gen_demo: cannot save the device %s\n", handheld::ToUtf8(device.name).c_str());
            ok = false;
            continue;
        }
        ok &= CopyOut(path, package / "Devices" / (handheld::ToUtf8(device.name) + ".kdr"));
    }
    const std::u16string configPath = configuration::ConfigurationPath();
    if (WriteConfiguration(configPath, demo::MakeDemoSettings(devices))) {
        const std::u16string fileName = configPath.substr(configPath.rfind(u'\\') + 1);
        ok &= CopyOut(configPath, package / handheld::ToUtf8(fileName));
    } else {
        std::fprintf(stderr, "gen_demo: cannot write the configuration\n");
        ok = false;
    }
    return ok ? 0 : 1;
}
