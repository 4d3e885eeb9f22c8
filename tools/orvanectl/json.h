// A minimal streaming JSON writer for orvanectl's --json output: compact, one document per run.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace orvanectl {

class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    JsonWriter& Key(std::string_view key);
    JsonWriter& String(std::string_view utf8);
    JsonWriter& String(std::u16string_view text);
    JsonWriter& Number(std::int64_t value);
    JsonWriter& Number(double value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();

    // Shorthands for a key and its value.
    template <typename T>
    JsonWriter& Field(std::string_view key, const T& value) {
        Key(key);
        return Value(value);
    }

    const std::string& Text() const { return out_; }

private:
    JsonWriter& Value(std::string_view v) { return String(v); }
    JsonWriter& Value(const std::string& v) { return String(std::string_view(v)); }
    JsonWriter& Value(const char* v) { return String(std::string_view(v)); }
    JsonWriter& Value(const std::u16string& v) { return String(std::u16string_view(v)); }
    JsonWriter& Value(std::u16string_view v) { return String(v); }
    JsonWriter& Value(bool v) { return Bool(v); }
    JsonWriter& Value(double v) { return Number(v); }
    template <typename T>
    JsonWriter& Value(T v) requires std::is_integral_v<T> {
        return Number(static_cast<std::int64_t>(v));
    }

    void BeforeValue();
    std::string out_;
    std::vector<bool> needsComma_;  // one per open container
    bool afterKey_ = false;
};

}  // namespace orvanectl
