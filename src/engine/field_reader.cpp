#include "engine/field_reader.h"

namespace dalvo {

std::string trim_blanks(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

namespace {
bool is_blank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

bool FieldReader::at_line_end() const {
    return pos_ < text_.size() && (text_[pos_] == '\r' || text_[pos_] == '\n');
}

void FieldReader::take_line_end() {
    if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
    ++pos_;
    ++line_;
}

bool FieldReader::at_end() const {
    if (after_comma_) return false;
    for (std::size_t i = pos_; i < text_.size(); ++i) {
        const char c = text_[i];
        if (!is_blank(c) && c != '\r' && c != '\n') return false;
    }
    return true;
}

void FieldReader::skip_blank_lines() {
    if (after_comma_) return;
    std::size_t p = pos_;
    while (true) {
        std::size_t q = p;
        while (q < text_.size() && is_blank(text_[q])) ++q;
        if (q >= text_.size() || (text_[q] != '\r' && text_[q] != '\n')) return;
        pos_ = q;
        take_line_end();
        p = pos_;
    }
}

bool FieldReader::next(std::string& field) {
    field.clear();
    if (pos_ >= text_.size() && !after_comma_) return false;
    after_comma_ = false;
    while (pos_ < text_.size() && is_blank(text_[pos_])) ++pos_;
    field_line_ = line_;

    if (pos_ < text_.size() && text_[pos_] == '"') {
        ++pos_;
        // A quote left open ends at the line end rather than swallowing the file.
        while (pos_ < text_.size() && text_[pos_] != '"' && !at_line_end()) {
            field += text_[pos_++];
        }
        if (pos_ < text_.size() && text_[pos_] == '"') ++pos_;
        // Anything between the closing quote and the separator is dropped.
        while (pos_ < text_.size() && text_[pos_] != ',' && !at_line_end()) ++pos_;
    } else {
        while (pos_ < text_.size() && text_[pos_] != ',' && !at_line_end()) {
            field += text_[pos_++];
        }
        while (!field.empty() && is_blank(field.back())) field.pop_back();
    }

    if (pos_ < text_.size()) {
        if (text_[pos_] == ',') {
            ++pos_;
            after_comma_ = true;
        } else {
            take_line_end();
        }
    }
    return true;
}

}  // namespace dalvo
