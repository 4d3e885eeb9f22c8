#include "handheld/hotkeys.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "handheld/text.h"

namespace handheld {

namespace {

struct Registration {
    HWND owner;
    int id;
    UINT modifiers;
    UINT virtualKey;
};

std::vector<Registration>& Table() {
    static std::vector<Registration> table;
    return table;
}

std::set<std::u16string>& HiddenCalls() {
    static std::set<std::u16string> hidden;
    return hidden;
}

}  // namespace

struct SystemLibrary {};

BOOL RegisterHotKey(HWND owner, int id, UINT modifiers, UINT virtualKey) {
    auto& table = Table();
    const auto heldByOther = std::find_if(table.begin(), table.end(), [&](const Registration& r) {
        return r.virtualKey == virtualKey && !(r.owner == owner && r.id == id);
    });
    if (heldByOther != table.end()) {
        SetLastError(ERROR_HOTKEY_ALREADY_REGISTERED);
        return FALSE;
    }
    std::erase_if(table, [&](const Registration& r) { return r.owner == owner && r.id == id; });
    table.push_back({owner, id, modifiers, virtualKey});
    return TRUE;
}

BOOL UnregisterHotKey(HWND owner, int id) {
    if (std::erase_if(Table(), [&](const Registration& r) { return r.owner == owner && r.id == id; }) == 0) {
        SetLastError(ERROR_HOTKEY_NOT_REGISTERED);
        return FALSE;
    }
    return TRUE;
}

BOOL UnregisterFunc1(UINT modifiers, int virtualKey) {
    std::erase_if(Table(), [&](const Registration& r) {
        return r.modifiers == modifiers && r.virtualKey == static_cast<UINT>(virtualKey);
    });
    return TRUE;
}

std::optional<HotKeyTarget> FindHotKey(UINT virtualKey) {
    for (const Registration& r : Table()) {
        if (r.virtualKey == virtualKey) return HotKeyTarget{r.owner, r.id};
    }
    return std::nullopt;
}

void ClearHotKeys() {
    Table().clear();
}

HINSTANCE LoadLibraryW(LPCWSTR libraryName) {
    static SystemLibrary coredll;
    if (libraryName == nullptr || ToUpper(std::u16string_view(libraryName)) != u"COREDLL.DLL") {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return &coredll;
}

FARPROC GetProcAddressW(HINSTANCE library, LPCWSTR procName) {
    if (library == nullptr || procName == nullptr) return nullptr;
    const std::u16string name(procName);
    if (HiddenCalls().contains(name)) return nullptr;
    if (name == u"UnregisterFunc1") return reinterpret_cast<FARPROC>(&UnregisterFunc1);
    if (name == u"RegisterHotKey") return reinterpret_cast<FARPROC>(&RegisterHotKey);
    if (name == u"UnregisterHotKey") return reinterpret_cast<FARPROC>(&UnregisterHotKey);
    return nullptr;
}

BOOL FreeLibrary(HINSTANCE library) {
    return library != nullptr ? TRUE : FALSE;
}

void HideSystemCall(LPCWSTR procName, bool hidden) {
    if (hidden) {
        HiddenCalls().insert(procName);
    } else {
        HiddenCalls().erase(procName);
    }
}

}  // namespace handheld
