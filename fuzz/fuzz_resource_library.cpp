// A button or help library from any bytes: the check before registration, then every lookup and bitmap
// decode of what it lets through.
#include <QByteArray>
#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>

#include "handheld/shell/resource_library.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QGuiApplication* application = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "fuzz_resource_library";
        static char* argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    (void)application;

    const auto library =
        handheld::ResourceLibrary::FromBytes(QByteArray(reinterpret_cast<const char*>(data), static_cast<int>(size)));
    if (!library) return 0;
    for (const auto& entry : library->Entries()) {
        library->Find(entry.type, entry.name);
        if (entry.type == u"BITMAP") library->LoadBitmap(entry.name);
    }
    return 0;
}
