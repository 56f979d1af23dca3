#include "platform/os/data_folder.h"

#include <algorithm>
#include <system_error>

#include "platform/codec/text_codec.h"
#include "platform/os/player_folder.h"

namespace dalvo::platform {

namespace fs = std::filesystem;

namespace {

bool is_separator(char c) { return c == '/' || c == '\\'; }

std::vector<std::string_view> components(std::string_view name) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = start;
        while (end < name.size() && !is_separator(name[end])) ++end;
        if (end > start) parts.push_back(name.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

fs::path join(const fs::path& dir, const std::vector<std::string_view>& parts) {
    fs::path p = dir;
    for (const std::string_view part : parts) p /= utf8_path(part);
    return p;
}

void drop_trailing_blanks_and_dots(std::string& s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '.')) s.pop_back();
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool is_sjis_lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

bool is_utf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (len == 0 || i + len > s.size()) return false;
        for (std::size_t k = 1; k < len; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        }
        i += len;
    }
    return true;
}

bool on_disk(const fs::path& p) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(p, ec)) && !ec;
}

}  // namespace

std::string fold_utf8_name(std::string_view name) {
    std::string key;
    key.reserve(name.size());
    for (const char c : name) key += lower(c);
    drop_trailing_blanks_and_dots(key);
    return key;
}

std::string fold_sjis_name(std::string_view name) {
    std::string key;
    key.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (is_sjis_lead(static_cast<unsigned char>(name[i])) && i + 1 < name.size()) {
            key += name[i];
            key += name[++i];
        } else {
            key += lower(name[i]);
        }
    }
    drop_trailing_blanks_and_dots(key);
    return key;
}

// One folder's names, keyed three ways. Equal keys keep the byte order of the names.
struct DataFolder::Listing {
    std::map<std::string, bool, std::less<>> exact;  // name -> is a folder
    std::multimap<std::string, std::string, std::less<>> by_utf8;
    std::multimap<std::string, std::string, std::less<>> by_sjis;  // names that are not UTF-8
};

DataFolder::DataFolder() = default;
DataFolder::~DataFolder() = default;
DataFolder::DataFolder(DataFolder&&) noexcept = default;
DataFolder& DataFolder::operator=(DataFolder&&) noexcept = default;

DataFolder::DataFolder(fs::path root) : root_(std::move(root)) {}

bool DataFolder::writable() const {
    if (!writable_) writable_ = !root_.empty() && can_create_files_in(root_);
    return *writable_;
}

const DataFolder::Listing& DataFolder::listing(const fs::path& dir) const {
    auto& slot = listings_[dir];
    if (slot) return *slot;
    slot = std::make_unique<Listing>();
    std::vector<FolderEntry> entries = list_folder(dir);
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    for (const FolderEntry& e : entries) {
        slot->exact.emplace(e.name, e.is_folder);
        if (is_utf8(e.name)) {
            slot->by_utf8.emplace(fold_utf8_name(e.name), e.name);
        } else {
            slot->by_sjis.emplace(fold_sjis_name(e.name), e.name);
        }
    }
    return *slot;
}

DataFolder::Found DataFolder::find(std::string_view name) const {
    Found found;
    if (root_.empty()) return found;
    const std::vector<std::string_view> parts = components(name);
    if (parts.empty()) return found;
    // The common case, and a file made after its folder was listed (a new save).
    if (fs::path as_written = join(root_, parts); on_disk(as_written)) {
        return {std::move(as_written), Match::Exact, false};
    }
    // An unzip on Linux can keep "\" inside one name.
    if (name.find('\\') != std::string_view::npos && on_disk(root_ / utf8_path(name))) {
        return {root_ / utf8_path(name), Match::Exact, false};
    }
    fs::path dir = root_;
    found.how = Match::Exact;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        const Listing& list = listing(dir);
        const std::string part(parts[i]);
        auto usable = [&](const std::string& disk) { return last || list.exact.at(disk); };
        if (auto it = list.exact.find(part); it != list.exact.end() && usable(part)) {
            dir /= utf8_path(part);
            continue;
        }
        const std::string* chosen = nullptr;
        bool several = false;
        auto pick = [&](const auto& index, const std::string& key) {
            auto [from, to] = index.equal_range(key);
            for (auto it = from; it != to; ++it) {
                if (!usable(it->second)) continue;
                if (chosen) {
                    several = true;
                    break;
                }
                chosen = &it->second;
            }
        };
        pick(list.by_utf8, fold_utf8_name(part));
        Match how = Match::Case;
        if (!chosen) {
            const std::optional<std::string> sjis = utf8_to_sjis(part);
            if (sjis && *sjis != part) pick(list.by_sjis, fold_sjis_name(*sjis));
            how = Match::ShiftJis;
        }
        if (!chosen) return Found{};
        if (static_cast<int>(how) > static_cast<int>(found.how)) found.how = how;
        found.ambiguous = found.ambiguous || several;
        dir /= utf8_path(*chosen);
    }
    found.file = std::move(dir);
    return found;
}

fs::path DataFolder::path(std::string_view name) const {
    Found found = find(name);
    return found.how == Match::None ? shown(name) : std::move(found.file);
}

std::string path_text(const fs::path& path) {
    const std::u8string bytes = path.u8string();
    std::string text(bytes.begin(), bytes.end());
    return is_utf8(text) ? text : sjis_to_utf8(text);
}

fs::path DataFolder::shown(std::string_view name) const { return root_ / utf8_path(name); }

fs::path DataFolder::write_path(std::string_view name) const {
    Found found = find(name);
    if (found.how != Match::None) return std::move(found.file);
    std::vector<std::string_view> parts = components(name);
    if (parts.empty()) return root_;
    const std::string leaf(parts.back());
    parts.pop_back();
    if (parts.empty()) return root_ / utf8_path(leaf);
    // A new file in a folder that exists by another case goes into that folder.
    std::string parent;
    for (const std::string_view part : parts) parent.append(part).push_back('/');
    Found folder = find(parent);
    return (folder.how != Match::None ? folder.file : join(root_, parts)) / utf8_path(leaf);
}

std::vector<fs::path> DataFolder::matches(std::string_view name) const {
    std::vector<fs::path> out;
    std::vector<std::string_view> parts = components(name);
    if (root_.empty() || parts.empty()) return out;
    const std::string leaf(parts.back());
    parts.pop_back();
    fs::path dir = root_;
    if (!parts.empty()) {
        std::string parent;
        for (const std::string_view part : parts) parent.append(part).push_back('/');
        Found folder = find(parent);
        if (folder.how == Match::None) return out;
        dir = std::move(folder.file);
    }
    const Listing& list = listing(dir);
    std::vector<std::string> names;
    if (list.exact.contains(leaf)) names.push_back(leaf);
    for (auto [it, end] = list.by_utf8.equal_range(fold_utf8_name(leaf)); it != end; ++it) names.push_back(it->second);
    if (const std::optional<std::string> sjis = utf8_to_sjis(leaf); sjis && *sjis != leaf) {
        for (auto [it, end] = list.by_sjis.equal_range(fold_sjis_name(*sjis)); it != end; ++it) {
            names.push_back(it->second);
        }
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    for (const std::string& n : names) out.push_back(dir / utf8_path(n));
    return out;
}

ReadFault DataFolder::read(std::string_view name, std::string& out, std::size_t limit) const {
    return read_whole_file(path(name), out, limit);
}

fs::path DataFolder::save_folder() const { return writable() ? root_ : player_data_dir(root_); }

fs::path DataFolder::save_path(std::string_view name) const {
    return writable() ? write_path(name) : save_folder() / utf8_path(name);
}

}  // namespace dalvo::platform
