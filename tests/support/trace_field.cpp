#include "support/trace_field.h"

namespace dalvo::test {

std::string field(const std::string& line, const std::string& key) {
    const std::string tag = "\"" + key + "\":";
    std::size_t at = line.find(tag);
    if (at == std::string::npos) return {};
    at += tag.size();
    if (line[at] != '"') return line.substr(at, line.find_first_of(",}", at) - at);
    std::string out;
    for (std::size_t i = at + 1; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        out += line[i];
    }
    return out;
}

}  // namespace dalvo::test
