#pragma once
// Trace lines and state dumps read back as JSON values, so that checks name keys
// instead of matching text: key order and spacing never matter.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dalvo::test {

class Json {
public:
    enum class Kind { Null, Bool, Number, String, Array, Object };

    // One JSON text; a malformed one gives null and fails the running test.
    static Json parse(std::string_view text);

    bool is_null() const { return kind_ == Kind::Null; }
    // A missing key or index reads as null, so that a chain of lookups never throws.
    const Json& operator[](std::string_view key) const;
    const Json& operator[](std::size_t index) const { return index < items_.size() ? items_[index] : null(); }
    std::size_t size() const { return kind_ == Kind::Object ? fields_.size() : items_.size(); }

    // The value as that type; another type gives the empty value.
    const std::string& str() const { return str_; }
    std::int64_t num() const { return static_cast<std::int64_t>(num_); }
    const std::vector<Json>& items() const { return items_; }
    const std::vector<std::pair<std::string, Json>>& fields() const { return fields_; }

    // Objects compare key by key whatever the order they were written in.
    bool operator==(const Json& o) const = default;
    // Written back as compact JSON with the keys sorted, for failure messages.
    std::string text() const;

private:
    friend class JsonParser;
    static const Json& null();

    Kind kind_ = Kind::Null;
    bool bool_ = false;
    double num_ = 0;
    std::string str_;
    std::vector<Json> items_;
    std::vector<std::pair<std::string, Json>> fields_;  // sorted by key
};

std::ostream& operator<<(std::ostream& os, const Json& j);

// Whether every key of the object `pattern` has the same value in `event`, e.g.
// matches(e, R"({"code":"HC","phase":"start"})").
bool matches(const Json& event, const Json& pattern);
inline bool matches(const Json& event, std::string_view pattern) { return matches(event, Json::parse(pattern)); }
// The same as an assertion that shows both on a failure: EXPECT_TRUE(holds(dump, R"({...})")).
::testing::AssertionResult holds(const Json& value, std::string_view pattern);

// A state dump written by `dump`, and the events of a `--trace` file.
Json read_json(const std::filesystem::path& file);
std::vector<Json> read_json_lines(const std::filesystem::path& file);

}  // namespace dalvo::test
