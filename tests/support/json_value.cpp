#include "support/json_value.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <ostream>

#include "platform/codec/json.h"
#include "support/fixture.h"

namespace dalvo::test {

// The trace's objects are read into a tree whose fields are sorted by key, so that two
// objects compare equal whatever order they were written in.
class JsonParser {
public:
    static Json from(const nlohmann::json& n) {
        Json j;
        if (n.is_object()) {
            j.kind_ = Json::Kind::Object;
            for (const auto& [key, value] : n.items()) j.fields_.emplace_back(key, from(value));  // map order: sorted
        } else if (n.is_array()) {
            j.kind_ = Json::Kind::Array;
            for (const auto& value : n) j.items_.push_back(from(value));
        } else if (n.is_string()) {
            j.kind_ = Json::Kind::String;
            j.str_ = n.get<std::string>();
        } else if (n.is_boolean()) {
            j.kind_ = Json::Kind::Bool;
            j.bool_ = n.get<bool>();
        } else if (n.is_number()) {
            j.kind_ = Json::Kind::Number;
            j.num_ = n.get<double>();
        }
        return j;
    }
};

Json Json::parse(std::string_view text) {
    const nlohmann::json n = nlohmann::json::parse(text, nullptr, false);
    if (n.is_discarded()) ADD_FAILURE() << "bad JSON: " << text;
    return JsonParser::from(n);
}

const Json& Json::null() {
    static const Json kNull;
    return kNull;
}

const Json& Json::operator[](std::string_view key) const {
    const auto it = std::find_if(fields_.begin(), fields_.end(), [&](const auto& f) { return f.first == key; });
    return it == fields_.end() ? null() : it->second;
}

std::string Json::text() const {
    std::string out;
    switch (kind_) {
        case Kind::Null: return "null";
        case Kind::Bool: return bool_ ? "true" : "false";
        case Kind::Number: return num_ == static_cast<double>(num()) ? std::to_string(num()) : std::to_string(num_);
        case Kind::String: return '"' + platform::json_escape(str_) + '"';
        case Kind::Array:
            for (const Json& e : items_) out.append(out.empty() ? "[" : ",").append(e.text());
            return out.empty() ? "[]" : out + "]";
        case Kind::Object:
            for (const auto& [k, v] : fields_) {
                out.append(out.empty() ? "{\"" : ",\"").append(platform::json_escape(k)).append("\":").append(v.text());
            }
            return out.empty() ? "{}" : out + "}";
    }
    return out;
}

std::ostream& operator<<(std::ostream& os, const Json& j) { return os << j.text(); }

bool matches(const Json& event, const Json& pattern) {
    return std::all_of(pattern.fields().begin(), pattern.fields().end(),
                       [&](const auto& f) { return event[f.first] == f.second; });
}

::testing::AssertionResult holds(const Json& value, std::string_view pattern) {
    if (matches(value, pattern)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no " << pattern << " in " << value;
}

Json read_json(const std::filesystem::path& file) { return Json::parse(read_file(file)); }

std::vector<Json> read_json_lines(const std::filesystem::path& file) {
    std::vector<Json> out;
    for (const std::string& line : read_lines(file)) out.push_back(Json::parse(line));
    return out;
}

}  // namespace dalvo::test
