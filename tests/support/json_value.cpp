#include "support/json_value.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>

#include "platform/codec/json.h"
#include "support/fixture.h"

namespace dalvo::test {

class JsonParser {
public:
    explicit JsonParser(std::string_view text) : s_(text) {}

    Json document() {
        Json j = value();
        if (skip(), i_ != s_.size()) fail("text after the value");
        return ok_ ? j : Json();
    }

private:
    void fail(const char* what) {
        if (ok_) ADD_FAILURE() << "bad JSON (" << what << ") at " << i_ << ": " << s_;
        ok_ = false;
        i_ = s_.size();
    }
    void skip() { i_ = std::min(s_.size(), s_.find_first_not_of(" \n\r\t", i_)); }
    bool take(std::string_view w) {
        skip();
        if (s_.substr(i_, w.size()) != w) return false;
        i_ += w.size();
        return true;
    }

    Json value() {
        Json j;
        if (take("{")) {
            j.kind_ = Json::Kind::Object;
            while (ok_ && !take("}")) {
                if (!j.fields_.empty() && !take(",")) fail("',' expected");
                std::string key = (skip(), string());
                if (!take(":")) fail("':' expected");
                j.fields_.emplace_back(std::move(key), value());
            }
            std::sort(j.fields_.begin(), j.fields_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        } else if (take("[")) {
            j.kind_ = Json::Kind::Array;
            while (ok_ && !take("]")) {
                if (!j.items_.empty() && !take(",")) fail("',' expected");
                j.items_.push_back(value());
            }
        } else if (i_ < s_.size() && s_[i_] == '"') {
            j.kind_ = Json::Kind::String;
            j.str_ = string();
        } else if (take("true") || take("false")) {
            j.kind_ = Json::Kind::Bool;
            j.bool_ = s_[i_ - 2] == 'u';  // "true", not "false"
        } else if (!take("null")) {
            const std::string rest(s_.substr(i_, 40));
            char* end = nullptr;
            j.kind_ = Json::Kind::Number;
            j.num_ = std::strtod(rest.c_str(), &end);
            if (end == rest.c_str()) fail("a value expected");
            i_ += static_cast<std::size_t>(end - rest.c_str());
        }
        return j;
    }

    // The trace writes text as UTF-8 and escapes only control characters and stray
    // bytes, so a \u escape never needs a surrogate pair.
    std::string string() {
        std::string out;
        if (i_ >= s_.size() || s_[i_] != '"') fail("a string expected");
        for (++i_; i_ < s_.size() && s_[i_] != '"'; ++i_) {
            const char c = s_[i_];
            if (c != '\\' || ++i_ >= s_.size()) {
                out += c;
            } else if (const auto at = std::string_view("\"\\/bfnrt").find(s_[i_]); at != std::string_view::npos) {
                out += "\"\\/\b\f\n\r\t"[at];
            } else if (s_[i_] == 'u' && i_ + 4 < s_.size()) {
                const auto cp = std::strtoul(std::string(s_.substr(i_ + 1, 4)).c_str(), nullptr, 16);
                i_ += 4;
                if (cp < 0x80) out += static_cast<char>(cp);
                else if (cp < 0x800) out += {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F))};
                else out += {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                             static_cast<char>(0x80 | (cp & 0x3F))};
            } else {
                fail("bad escape");
            }
        }
        if (i_ >= s_.size()) fail("unterminated string");
        ++i_;
        return out;
    }

    std::string_view s_;
    std::size_t i_ = 0;
    bool ok_ = true;
};

Json Json::parse(std::string_view text) { return JsonParser(text).document(); }

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
