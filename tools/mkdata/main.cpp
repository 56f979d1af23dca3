// dalvo-mkdata: builds the playable data folder from the sources in content/.

#include <cstdio>
#include <cstring>
#include <string>

#include "mkdata/icons.h"
#include "mkdata/mkdata.h"

namespace {

int usage(const char* message) {
    if (message) std::fprintf(stderr, "dalvo-mkdata: %s\n", message);
    std::fprintf(stderr, "usage: dalvo-mkdata --content DIR --out DIR\n"
                         "       dalvo-mkdata --icons DIR [--icon-source FILE]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string content, out, icons, icon_source;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0) {
            usage(nullptr);
            return 0;
        }
        if (i + 1 >= argc) return usage((std::string(arg) + " needs a value").c_str());
        if (std::strcmp(arg, "--content") == 0) {
            content = argv[++i];
        } else if (std::strcmp(arg, "--out") == 0) {
            out = argv[++i];
        } else if (std::strcmp(arg, "--icons") == 0) {
            icons = argv[++i];
        } else if (std::strcmp(arg, "--icon-source") == 0) {
            icon_source = argv[++i];
        } else {
            return usage((std::string("unknown option ") + arg).c_str());
        }
    }
    std::string error;
    if (!icons.empty()) {
        if (!dalvo::mkdata::write_icons(icons, icon_source, error)) {
            std::fprintf(stderr, "dalvo-mkdata: %s\n", error.c_str());
            return 1;
        }
        if (content.empty() && out.empty()) return 0;
    }
    if (content.empty() || out.empty()) return usage("--content and --out are both needed");

    dalvo::mkdata::DataFiles files;
    if (!dalvo::mkdata::build_data(content, files, error) ||
        !dalvo::mkdata::write_data_folder(files, out, error)) {
        std::fprintf(stderr, "dalvo-mkdata: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
