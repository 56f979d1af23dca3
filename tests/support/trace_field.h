#pragma once
// Reading one value out of a trace line or a flat state dump.

#include <string>

namespace dalvo::test {

// The value of `key` in a trace line (the text between the quotes for a string,
// unescaped); empty when the key is absent.
std::string field(const std::string& line, const std::string& key);

}  // namespace dalvo::test
