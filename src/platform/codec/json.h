#pragma once
// A small JSON writer for dumps and the trace.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace dalvo::platform {

class JsonWriter {
public:
    JsonWriter& begin_object();
    JsonWriter& end_object();
    JsonWriter& begin_array();
    JsonWriter& end_array();
    JsonWriter& key(std::string_view k);
    JsonWriter& value(std::int64_t v);
    JsonWriter& value(int v) { return value(static_cast<std::int64_t>(v)); }
    JsonWriter& value(double v);
    JsonWriter& value(bool v);
    JsonWriter& value(std::string_view v);
    JsonWriter& value(const char* v) { return value(std::string_view(v)); }
    JsonWriter& value(const std::string& v) { return value(std::string_view(v)); }
    JsonWriter& value(const std::vector<std::int64_t>& numbers);
    JsonWriter& null();

    template <class T>
    JsonWriter& field(std::string_view k, const T& v) { key(k); return value(v); }
    template <class Range>
    JsonWriter& array_field(std::string_view k, const Range& items) {
        key(k);
        begin_array();
        for (const auto& item : items) value(item);
        return end_array();
    }

    const std::string& str() const { return out_; }

private:
    void separate();
    std::string out_;
    std::vector<bool> first_;  // per open container: no element written yet
    bool after_key_ = false;
};

std::string json_escape(std::string_view s);

// One value of a trace field.
using JsonValue = std::variant<std::int64_t, std::string, bool, std::vector<std::int64_t>>;
struct JsonField {
    std::string_view key;
    JsonValue value;
    JsonField(std::string_view k, std::int64_t v) : key(k), value(v) {}
    JsonField(std::string_view k, int v) : key(k), value(static_cast<std::int64_t>(v)) {}
    JsonField(std::string_view k, unsigned v) : key(k), value(static_cast<std::int64_t>(v)) {}
    JsonField(std::string_view k, std::string v) : key(k), value(std::move(v)) {}
    JsonField(std::string_view k, const char* v) : key(k), value(std::string(v)) {}
    JsonField(std::string_view k, std::string_view v) : key(k), value(std::string(v)) {}
    JsonField(std::string_view k, bool v) : key(k), value(v) {}
    JsonField(std::string_view k, std::vector<std::int64_t> v) : key(k), value(std::move(v)) {}
};

}  // namespace dalvo::platform
