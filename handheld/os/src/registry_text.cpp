#include "handheld/os/src/registry_text.h"

#include <optional>

#include "handheld/registry.h"
#include "handheld/text.h"
#include "handheld/trace.h"

namespace handheld::detail {

const RegistryNode* RegistryNode::FindSubkey(std::u16string_view name) const {
    const auto found = subkeyIndex_.find(ToUpper(name));
    return found == subkeyIndex_.end() ? nullptr : subkeys_[found->second].get();
}

const RegistryValue* RegistryNode::FindValue(std::u16string_view name) const {
    const auto found = valueIndex_.find(ToUpper(name));
    return found == valueIndex_.end() ? nullptr : &values_[found->second];
}

RegistryNode& RegistryNode::SubkeyForWriting(std::u16string_view name) {
    auto [slot, inserted] = subkeyIndex_.try_emplace(ToUpper(name), subkeys_.size());
    if (inserted) subkeys_.push_back(std::make_unique<RegistryNode>(std::u16string(name)));
    return *subkeys_[slot->second];
}

void RegistryNode::SetValue(RegistryValue value) {
    auto [slot, inserted] = valueIndex_.try_emplace(ToUpper(value.name), values_.size());
    if (inserted) {
        values_.push_back(std::move(value));
    } else {
        values_[slot->second].type = value.type;
        values_[slot->second].data = std::move(value.data);
    }
}

namespace {

constexpr char kChannel[] = "registry";
constexpr std::u16string_view kHeaderVersion5 = u"Windows Registry Editor Version 5.00";
constexpr std::u16string_view kHeaderVersion4 = u"REGEDIT4";
constexpr std::u16string_view kLocalMachine = u"HKEY_LOCAL_MACHINE";
// The handheld's limit for one key name, in characters.
constexpr std::size_t kMaxKeyNameChars = 255;

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    if (bytes.size() % 2 != 0) HH_TRACE(kChannel, "UTF-16 text with an odd byte count; last byte ignored");
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        text.push_back(bigEndian ? static_cast<char16_t>(first << 8 | second)
                                 : static_cast<char16_t>(second << 8 | first));
    }
    return text;
}

std::u16string DecodeText(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) return FromUtf8(bytes.substr(3));
    if (bytes.starts_with("\xFF\xFE")) return DecodeUtf16(bytes.substr(2), false);
    if (bytes.starts_with("\xFE\xFF")) return DecodeUtf16(bytes.substr(2), true);
    return FromUtf8(bytes);
}

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string_view Trim(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool StartsWithIgnoreCase(std::u16string_view text, std::u16string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

void AppendUtf16Le(std::vector<BYTE>& data, std::u16string_view text) {
    for (char16_t c : text) {
        data.push_back(static_cast<BYTE>(c & 0xFF));
        data.push_back(static_cast<BYTE>(c >> 8));
    }
}

class RegTextReader {
public:
    explicit RegTextReader(std::u16string text) : text_(std::move(text)) {}

    ParsedRegistry Read() {
        auto root = std::make_shared<RegistryNode>(std::u16string(kLocalMachine));
        root_ = root.get();
        ParsedRegistry result;
        if (!ReadHeader()) {
            HH_TRACE(kChannel,
                     "no \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\" header: registry left empty");
            result.root = std::move(root);
            return result;
        }
        summary_.headerFound = true;
        while (auto line = NextLine()) ReadLine(Trim(*line));
        result.root = std::move(root);
        result.summary = summary_;
        return result;
    }

private:
    std::optional<std::u16string_view> NextLine() {
        if (position_ >= text_.size()) return std::nullopt;
        ++lineNumber_;
        const std::u16string_view rest = std::u16string_view(text_).substr(position_);
        const std::size_t end = rest.find_first_of(u"\r\n");
        if (end == std::u16string_view::npos) {
            position_ = text_.size();
            return rest;
        }
        position_ += end + 1;
        if (rest[end] == u'\r' && end + 1 < rest.size() && rest[end + 1] == u'\n') ++position_;
        return rest.substr(0, end);
    }

    bool ReadHeader() {
        while (auto line = NextLine()) {
            const std::u16string_view trimmed = Trim(*line);
            if (trimmed.empty()) continue;
            return trimmed == kHeaderVersion5 || trimmed == kHeaderVersion4;
        }
        return false;
    }

    void Skip(const char* reason) {
        ++summary_.skippedLines;
        HH_TRACE(kChannel, "line %d skipped: %s", lineNumber_, reason);
    }

    void ReadLine(std::u16string_view line) {
        if (line.empty() || line.front() == u';') return;
        if (line.front() == u'[') return ReadSection(line);
        if (line.front() == u'"' || line.front() == u'@') return ReadValue(line);
        Skip("neither a key, a value nor a comment");
    }

    void ReadSection(std::u16string_view line) {
        current_ = nullptr;  // values after a bad or ignored section must not land in the previous key
        if (line.back() != u']') return Skip("key line without a closing ']'");
        std::u16string_view path = line.substr(1, line.size() - 2);
        if (!path.empty() && path.front() == u'-') return Skip("removing keys is not supported");
        const std::size_t rootEnd = path.find(u'\\');
        const std::u16string_view rootName = path.substr(0, rootEnd);
        if (!EqualsIgnoreCase(rootName, kLocalMachine)) {
            HH_TRACE(kChannel, "line %d: key outside HKEY_LOCAL_MACHINE ignored", lineNumber_);
            return;
        }
        std::vector<std::u16string_view> components;
        if (rootEnd != std::u16string_view::npos) {
            std::u16string_view rest = path.substr(rootEnd + 1);
            while (true) {
                const std::size_t end = rest.find(u'\\');
                const std::u16string_view component = rest.substr(0, end);
                if (component.empty()) return Skip("empty key name in the path");
                if (component.size() > kMaxKeyNameChars) return Skip("key name longer than 255 characters");
                if (component.find(u'\0') != std::u16string_view::npos) return Skip("key name with a null character");
                components.push_back(component);
                if (end == std::u16string_view::npos) break;
                rest.remove_prefix(end + 1);
            }
        }
        RegistryNode* node = root_;
        for (std::u16string_view component : components) {
            const std::size_t before = node->Subkeys().size();
            RegistryNode* parent = node;
            node = &parent->SubkeyForWriting(component);
            if (parent->Subkeys().size() != before) ++summary_.keys;
        }
        current_ = node;
    }

    // A quoted text starting at text[0] == '"'; returns the characters after the closing quote.
    std::optional<std::u16string_view> ReadQuoted(std::u16string_view text, std::u16string& out) {
        for (std::size_t i = 1; i < text.size(); ++i) {
            const char16_t c = text[i];
            if (c == u'"') return text.substr(i + 1);
            if (c == u'\\' && i + 1 < text.size()) {
                const char16_t next = text[i + 1];
                if (next == u'\\' || next == u'"') {
                    out.push_back(next);
                    ++i;
                    continue;
                }
                // Kept as written: a lone backslash in a hand-edited path loses nothing.
                HH_TRACE(kChannel, "line %d: unknown escape kept as written", lineNumber_);
            }
            out.push_back(c);
        }
        return std::nullopt;
    }

    void ReadValue(std::u16string_view line) {
        RegistryValue value;
        std::u16string_view rest;
        if (line.front() == u'@') {
            rest = line.substr(1);
        } else {
            const auto afterName = ReadQuoted(line, value.name);
            if (!afterName) return Skip("value name without its closing quote");
            // Such a name could never be asked for through the calls, which take terminated names.
            if (value.name.find(u'\0') != std::u16string::npos) return Skip("value name with a null character");
            rest = *afterName;
        }
        rest = Trim(rest);
        if (rest.empty() || rest.front() != u'=') return Skip("value without '='");
        rest = Trim(rest.substr(1));

        bool ok = false;
        if (!rest.empty() && rest.front() == u'"') {
            ok = ReadStringData(rest, value);
        } else if (StartsWithIgnoreCase(rest, u"dword:")) {
            ok = ReadDwordData(rest.substr(6), value);
        } else if (StartsWithIgnoreCase(rest, u"hex")) {
            ok = ReadHexData(rest.substr(3), value);
        } else if (rest == u"-") {
            return Skip("removing values is not supported");
        } else {
            return Skip("value data of an unknown kind");
        }
        if (!ok) return;
        if (current_ == nullptr) return;  // under an ignored or bad key line, already traced
        current_->SetValue(std::move(value));
        ++summary_.values;
    }

    bool ReadStringData(std::u16string_view rest, RegistryValue& value) {
        std::u16string text;
        const auto after = ReadQuoted(rest, text);
        if (!after) {
            Skip("text value without its closing quote");
            return false;
        }
        if (!Trim(*after).empty()) {
            Skip("characters after a text value");
            return false;
        }
        value.type = REG_SZ;
        AppendUtf16Le(value.data, text);
        AppendUtf16Le(value.data, std::u16string_view(u"\0", 1));
        return true;
    }

    bool ReadDwordData(std::u16string_view digits, RegistryValue& value) {
        digits = Trim(digits);
        if (digits.empty() || digits.size() > 8) {
            Skip("dword value needs one to eight hexadecimal digits");
            return false;
        }
        DWORD number = 0;
        for (char16_t c : digits) {
            const int digit = HexDigit(c);
            if (digit < 0) {
                Skip("dword value with a character that is not hexadecimal");
                return false;
            }
            number = number << 4 | static_cast<DWORD>(digit);
        }
        value.type = REG_DWORD;
        for (int shift = 0; shift < 32; shift += 8) value.data.push_back(static_cast<BYTE>(number >> shift));
        return true;
    }

    // After "hex": an optional "(type)", a colon, then bytes separated by commas; a line ending in a
    // backslash continues on the next line.
    bool ReadHexData(std::u16string_view rest, RegistryValue& value) {
        value.type = REG_BINARY;
        if (!rest.empty() && rest.front() == u'(') {
            const std::size_t close = rest.find(u')');
            if (close == std::u16string_view::npos || close == 1 || close > 9) {
                Skip("hex value with a bad type in parentheses");
                return false;
            }
            DWORD type = 0;
            for (char16_t c : rest.substr(1, close - 1)) {
                const int digit = HexDigit(c);
                if (digit < 0) {
                    Skip("hex value with a bad type in parentheses");
                    return false;
                }
                type = type << 4 | static_cast<DWORD>(digit);
            }
            value.type = type;
            rest.remove_prefix(close + 1);
        }
        if (rest.empty() || rest.front() != u':') {
            Skip("hex value without ':'");
            return false;
        }
        std::u16string joined(Trim(rest.substr(1)));
        while (!joined.empty() && joined.back() == u'\\') {
            joined.pop_back();
            const auto next = NextLine();
            if (!next) break;
            joined += Trim(*next);
        }
        std::u16string_view bytes = joined;
        while (true) {
            bytes = Trim(bytes);
            if (bytes.empty()) break;
            const std::size_t comma = bytes.find(u',');
            const std::u16string_view item = Trim(bytes.substr(0, comma));
            const int high = item.size() == 2 ? HexDigit(item[0]) : 0;
            const int low = item.empty() ? -1 : HexDigit(item.back());
            if (item.empty() || item.size() > 2 || high < 0 || low < 0) {
                Skip("hex value with a bad byte");
                return false;
            }
            value.data.push_back(static_cast<BYTE>(high << 4 | low));
            if (comma == std::u16string_view::npos) break;
            bytes.remove_prefix(comma + 1);
        }
        return CheckTypedBytes(value);
    }

    // Readers trust a value's type: a text must end with its terminator, a dword must be four bytes.
    bool CheckTypedBytes(const RegistryValue& value) {
        const std::vector<BYTE>& data = value.data;
        const bool text = value.type == REG_SZ || value.type == REG_EXPAND_SZ || value.type == REG_MULTI_SZ;
        if (text &&
            (data.size() < 2 || data.size() % 2 != 0 || data[data.size() - 1] != 0 || data[data.size() - 2] != 0)) {
            Skip("hex text value without its terminator");
            return false;
        }
        if (value.type == REG_DWORD && data.size() != 4) {
            Skip("hex dword value that is not four bytes");
            return false;
        }
        return true;
    }

    std::u16string text_;
    std::size_t position_ = 0;
    int lineNumber_ = 0;
    RegistryNode* root_ = nullptr;
    RegistryNode* current_ = nullptr;
    RegistryLoadReport summary_;
};

}  // namespace

ParsedRegistry ParseRegistryText(std::string_view bytes) {
    return RegTextReader(DecodeText(bytes)).Read();
}

}  // namespace handheld::detail
