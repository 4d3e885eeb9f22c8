// The last error and the table of live kernel objects, shared by every call of the platform.
#include <mutex>
#include <unordered_set>

#include "handheld/files.h"
#include "handheld/trace.h"

namespace handheld {

namespace {

thread_local DWORD lastError = ERROR_SUCCESS;

struct LiveObjects {
    std::mutex mutex;
    std::unordered_set<const KernelObject*> objects;
};

LiveObjects& Live() {
    // Never destroyed: objects may still be deleted by static destructors at exit.
    static LiveObjects* live = new LiveObjects;
    return *live;
}

}  // namespace

DWORD GetLastError() {
    return lastError;
}
void SetLastError(DWORD error) {
    lastError = error;
}

namespace detail {

void TrackKernelObject(KernelObject* object, bool alive) {
    LiveObjects& live = Live();
    std::lock_guard lock(live.mutex);
    if (alive)
        live.objects.insert(object);
    else
        live.objects.erase(object);
}

bool IsLiveKernelObject(const KernelObject* object) {
    LiveObjects& live = Live();
    std::lock_guard lock(live.mutex);
    return live.objects.count(object) != 0;
}

}  // namespace detail

BOOL CloseHandle(HANDLE object) {
    bool wasLive = false;
    if (object != nullptr && object != INVALID_HANDLE_VALUE) {
        // Taken out of the table before deleting, so two threads closing one handle delete it once.
        LiveObjects& live = Live();
        std::lock_guard lock(live.mutex);
        wasLive = live.objects.erase(object) != 0;
    }
    if (!wasLive) {
        HH_TRACE("files", "CloseHandle(%p): not an open handle", static_cast<void*>(object));
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    delete object;
    return TRUE;
}

}  // namespace handheld
