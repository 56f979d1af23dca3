#pragma once
// Reads the game's text data files as a stream of comma-separated fields: a line end
// also ends a field, double quotes protect commas, blanks before a field are skipped
// and blanks after an unquoted one dropped. Works on decoded (UTF-8) text.

#include <cstddef>
#include <string>
#include <string_view>

namespace dalvo {

// The text without the blanks (spaces and tabs) at either end.
std::string trim_blanks(const std::string& s);

class FieldReader {
public:
    explicit FieldReader(std::string_view text) : text_(text) {}

    // Reads the next field; false when the text has no more fields.
    bool next(std::string& field);
    // Skips empty and blank lines; call only between records.
    void skip_blank_lines();
    // True when nothing but blanks and line ends remains.
    bool at_end() const;
    // The line (from 1) on which the last field read began.
    int line() const { return field_line_; }

private:
    bool at_line_end() const;
    void take_line_end();

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int field_line_ = 1;
    bool after_comma_ = false;  // a comma was read, so a (maybe empty) field follows
};

}  // namespace dalvo
