#include "support/json_value.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <ostream>

#include "support/fixture.h"

namespace dalvo::test {

namespace {

const nlohmann::json kNull;
const std::string kNoText;

}  // namespace

Json::Json() : at_(&kNull) {}

Json Json::parse(std::string_view text) {
    // nlohmann::json keeps an object's keys sorted, which is what makes key order not matter.
    auto root = std::make_shared<const nlohmann::json>(nlohmann::json::parse(text, nullptr, false));
    if (root->is_discarded()) {
        ADD_FAILURE() << "bad JSON: " << text;
        return Json();
    }
    return Json(root, root.get());
}

bool Json::is_null() const { return at_->is_null(); }

Json Json::operator[](std::string_view key) const {
    if (!at_->is_object()) return Json();
    const auto it = at_->find(key);
    return Json(root_, it == at_->end() ? &kNull : &*it);
}

Json Json::operator[](std::size_t index) const {
    return Json(root_, at_->is_array() && index < at_->size() ? &(*at_)[index] : &kNull);
}

const std::string& Json::str() const { return at_->is_string() ? at_->get_ref<const std::string&>() : kNoText; }

std::int64_t Json::num() const { return at_->is_number() ? static_cast<std::int64_t>(at_->get<double>()) : 0; }

std::size_t Json::size() const { return at_->is_array() || at_->is_object() ? at_->size() : 0; }

bool Json::operator==(const Json& o) const { return *at_ == *o.at_; }

std::string Json::text() const { return at_->dump(-1, ' ', false, nlohmann::json::error_handler_t::replace); }

std::ostream& operator<<(std::ostream& os, const Json& j) { return os << j.text(); }

bool matches(const Json& event, const Json& pattern) {
    if (!pattern.at_->is_object()) return false;
    for (auto f = pattern.at_->begin(); f != pattern.at_->end(); ++f) {
        if (*event[f.key()].at_ != f.value()) return false;
    }
    return true;
}

::testing::AssertionResult holds(const Json& value, std::string_view pattern) {
    if (matches(value, pattern)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no " << pattern << " in " << value;
}

namespace {

template <class T, class Get>
std::vector<T> collect(const std::vector<Json>& values, std::string_view ev, Get get) {
    std::vector<T> out;
    for (const Json& v : values) {
        if (ev.empty() || v["ev"].str() == ev) out.push_back(get(v));
    }
    return out;
}

}  // namespace

std::vector<std::string> texts(const std::vector<Json>& values, std::string_view key, std::string_view ev) {
    return collect<std::string>(values, ev, [key](const Json& v) { return v[key].str(); });
}

std::vector<std::int64_t> numbers(const std::vector<Json>& values, std::string_view key, std::string_view ev) {
    return collect<std::int64_t>(values, ev, [key](const Json& v) { return v[key].num(); });
}

Json read_json(const std::filesystem::path& file) { return Json::parse(read_file(file)); }

std::vector<Json> read_json_lines(const std::filesystem::path& file) {
    std::vector<Json> out;
    for (const std::string& line : read_lines(file)) out.push_back(Json::parse(line));
    return out;
}

}  // namespace dalvo::test
