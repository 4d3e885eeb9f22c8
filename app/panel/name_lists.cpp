#include "app/panel/name_lists.h"

#include "app/shell/name_list.h"

int LoadNameList(handheld::HMODULE library, NameListKind kind, std::vector<std::u16string>& names) {
    names.clear();
    if (library == nullptr) return 0;
    const auto bytes = library->Find(u"STRINGS", kind == NameListKind::Labels ? u"LABELLIST" : u"BTNLIST");
    if (!bytes) return 0;
    names = ParseNameList(reinterpret_cast<const std::uint8_t*>(bytes->constData()), std::size_t(bytes->size()));
    return static_cast<int>(names.size());
}
