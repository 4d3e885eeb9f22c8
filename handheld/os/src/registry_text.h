// Internal: the registry's tree and the reader of Windows .reg text that builds it.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "handheld/devices.h"
#include "handheld/types.h"

namespace handheld::detail {

struct RegistryValue {
    std::u16string name;  // empty for the default value ("@")
    DWORD type = 0;
    std::vector<BYTE> data;  // as RegQueryValueExW returns it: strings UTF-16LE with their terminator
};

class RegistryNode {
public:
    explicit RegistryNode(std::u16string name) : name_(std::move(name)) {}

    const std::u16string& Name() const { return name_; }
    // Subkeys and values in the order of their first appearance in the file.
    const std::vector<std::unique_ptr<RegistryNode>>& Subkeys() const { return subkeys_; }
    const std::vector<RegistryValue>& Values() const { return values_; }

    // Names compare ignoring case.
    const RegistryNode* FindSubkey(std::u16string_view name) const;
    const RegistryValue* FindValue(std::u16string_view name) const;

    RegistryNode& SubkeyForWriting(std::u16string_view name);
    // A value given twice keeps its first place and takes the later data.
    void SetValue(RegistryValue value);

private:
    std::u16string name_;
    std::vector<std::unique_ptr<RegistryNode>> subkeys_;
    std::vector<RegistryValue> values_;
    std::unordered_map<std::u16string, std::size_t> subkeyIndex_;  // upper-case name -> position
    std::unordered_map<std::u16string, std::size_t> valueIndex_;
};

struct ParsedRegistry {
    std::shared_ptr<const RegistryNode> root;  // HKEY_LOCAL_MACHINE; empty (no subkeys) for a rejected file
    RegistryLoadReport summary;
};

// Never fails: a text without the header line gives an empty registry, damaged lines are skipped.
ParsedRegistry ParseRegistryText(std::string_view bytes);

}  // namespace handheld::detail
