#pragma once
// Trace lines and state dumps read back as JSON values, so that checks name keys
// instead of matching text: key order and spacing never matter.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dalvo::test {

// A value inside a parsed JSON text, which it shares: copies and lookups are cheap.
class Json {
public:
    Json();  // null
    // One JSON text; a malformed one gives null and fails the running test.
    static Json parse(std::string_view text);

    bool is_null() const;
    // A missing key or index reads as null, so that a chain of lookups never throws.
    Json operator[](std::string_view key) const;
    Json operator[](std::size_t index) const;
    std::size_t size() const;

    // The value as that type; another type gives the empty value.
    const std::string& str() const;
    std::int64_t num() const;

    // Objects compare key by key whatever the order they were written in.
    bool operator==(const Json& o) const;
    // Written back as compact JSON with the keys sorted, for failure messages.
    std::string text() const;

private:
    friend bool matches(const Json& event, const Json& pattern);
    Json(std::shared_ptr<const nlohmann::json> root, const nlohmann::json* at) : root_(std::move(root)), at_(at) {}

    std::shared_ptr<const nlohmann::json> root_;
    const nlohmann::json* at_;  // never null: a missing value points at a shared null
};

std::ostream& operator<<(std::ostream& os, const Json& j);

// Whether every key of the object `pattern` has the same value in `event`, e.g.
// matches(e, R"({"code":"HC","phase":"start"})").
bool matches(const Json& event, const Json& pattern);
inline bool matches(const Json& event, std::string_view pattern) { return matches(event, Json::parse(pattern)); }
// The same as an assertion that shows both on a failure: EXPECT_TRUE(holds(dump, R"({...})")).
::testing::AssertionResult holds(const Json& value, std::string_view pattern);

// The `key` of each of `values` whose "ev" is `ev` (of every one when `ev` is empty), as text
// or as a number: texts(read_json_lines(trace), "op", "mixer").
std::vector<std::string> texts(const std::vector<Json>& values, std::string_view key, std::string_view ev = {});
std::vector<std::int64_t> numbers(const std::vector<Json>& values, std::string_view key, std::string_view ev = {});

// A state dump written by `dump`, and the events of a `--trace` file.
Json read_json(const std::filesystem::path& file);
std::vector<Json> read_json_lines(const std::filesystem::path& file);

}  // namespace dalvo::test
