// Replaces a data folder as a whole: a game started during a build sees the old
// folder or the new one, never a mix.

#include <fstream>
#include <string>
#include <string_view>

#include "mkdata/mkdata.h"
#include "platform/os/process.h"

namespace dalvo::mkdata {
namespace {

namespace fs = std::filesystem;

// Save slots belong to whoever played this folder, not to the build.
bool is_kept(const fs::path& file) {
    const std::string name = file.filename().string();
    return name == "40.dat" || name == "41.dat" || name == "42.dat";
}

bool write_file(const fs::path& file, const Bytes& bytes, std::string& error) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        error = file.string() + ": cannot be written";
        return false;
    }
    return true;
}

// "data" -> "data.new.<pid>" in the same folder: concurrent builds never share one.
fs::path sibling(const fs::path& target, std::string_view tag) {
    std::string name = target.filename().string();
    name += tag;
    name += '.';
    name += std::to_string(platform::process_id());
    return target.parent_path() / name;
}

bool fail(std::string& error, const fs::path& where, const std::error_code& ec) {
    error = where.string() + ": " + ec.message();
    return false;
}

}  // namespace

bool write_data_folder(const DataFiles& files, const fs::path& dir, std::string& error) {
    std::error_code ec;
    fs::path target = fs::absolute(dir, ec).lexically_normal();
    if (ec) return fail(error, dir, ec);
    if (!target.has_filename()) target = target.parent_path();  // "out/data/"
    const fs::path parent = target.parent_path();
    fs::create_directories(parent, ec);
    if (ec) return fail(error, parent, ec);

    const fs::path fresh = sibling(target, ".new");
    const fs::path old = sibling(target, ".old");
    fs::remove_all(fresh, ec);
    fs::create_directory(fresh, ec);
    if (ec) return fail(error, fresh, ec);

    for (const auto& [name, bytes] : files) {
        if (!write_file(fresh / name, bytes, error)) {
            fs::remove_all(fresh, ec);
            return false;
        }
    }
    if (fs::is_directory(target)) {
        for (const auto& entry : fs::directory_iterator(target, ec)) {
            if (entry.is_regular_file() && is_kept(entry.path()) && !files.contains(entry.path().filename().string()))
                fs::copy_file(entry.path(), fresh / entry.path().filename(), ec);
            if (ec) {
                fs::remove_all(fresh, ec);
                return fail(error, entry.path(), ec);
            }
        }
        // One atomic swap where the file system offers it, else two quick renames.
        if (platform::exchange_folders(fresh, target)) {
            fs::remove_all(fresh, ec);
            return true;
        }
        fs::rename(target, old, ec);
        if (ec) {
            fs::remove_all(fresh, ec);
            return fail(error, target, ec);
        }
    } else if (fs::exists(target)) {
        fs::remove_all(fresh, ec);
        error = target.string() + ": exists and is not a folder";
        return false;
    }
    fs::rename(fresh, target, ec);
    if (ec) return fail(error, target, ec);
    fs::remove_all(old, ec);
    return true;
}

}  // namespace dalvo::mkdata
