#include "saveload/save_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#include "engine/field_reader.h"
#include "engine/scenario_loader.h"
#include "platform/text_codec.h"

namespace dalvo {

namespace fs = std::filesystem;

namespace {

// A save file is 23 short lines; anything far larger is not one.
constexpr std::uintmax_t kMaxFileBytes = 64 * 1024;
constexpr int kValueCount = 22;  // the time of saving and the 21 entries

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// "yyyy/mm/dd hh:mm" with digits where digits belong.
bool is_saved_at(const std::string& t) {
    static constexpr const char* kShape = "0000/00/00 00:00";
    if (t.size() != std::strlen(kShape)) return false;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (kShape[i] == '0' ? !is_digit(t[i]) : t[i] != kShape[i]) return false;
    }
    return true;
}

bool is_number(const std::string& text, std::int16_t& value) {
    return parse_int16(text, value) == NumberError::None;
}

bool is_truth(const std::string& text) {
    std::int16_t value = 0;
    return text == "True" || text == "False" || is_number(text, value);
}

// What `Continue_game` can turn back into the engine state without guessing.
bool is_resumable(const DayStartRecord& f, std::int32_t script_last) {
    std::int16_t value = 0;
    for (int i : {0, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}) {
        if (!is_number(f[i], value)) return false;
    }
    if (!is_truth(f[3]) || !is_truth(f[4])) return false;
    // The script goes on at the record after the half-day's "g1".
    is_number(f[6], value);
    if (value < 0 || value >= script_last) return false;
    // Music numbers name the entries 1..9 of the names list; 0 is none.
    is_number(f[20], value);
    return value >= 0 && value <= 9;
}

std::string errno_text(int err) { return std::system_category().message(err); }

// Writes all of `bytes` to a new file and makes it durable; 0 or an errno value.
int write_durable(const fs::path& file, const std::string& bytes) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return errno;
    std::size_t done = 0;
    int err = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    return err;
}

// The rename itself survives a power cut only once the folder is on disk.
void sync_folder(const fs::path& dir) {
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

fs::path slot_file(const fs::path& data_dir, int slot) {
    std::string name = "4";
    name += std::to_string(slot);
    name += ".dat";
    return data_dir / name;
}

SlotData read_slot(const fs::path& file, std::int32_t script_last) {
    SlotData slot;
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (!fs::exists(status)) return slot;
    slot.state = SlotState::Damaged;
    if (!fs::is_regular_file(status)) return slot;
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec || size > kMaxFileBytes) return slot;
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) return slot;

    const std::string text = platform::sjis_to_utf8(bytes);
    FieldReader reader(text);
    std::string values[kValueCount];
    for (std::string& value : values) {
        if (!reader.next(value)) return slot;
    }
    if (!is_saved_at(values[0])) return slot;
    for (int i = 0; i < 21; ++i) slot.flags[i] = values[i + 1];
    if (!is_resumable(slot.flags, script_last)) return slot;
    slot.saved_at = values[0];
    slot.state = SlotState::Used;
    return slot;
}

std::optional<std::string> save_file_bytes(const platform::LocalTime& now, const DayStartRecord& flags) {
    char saved_at[32];
    std::snprintf(saved_at, sizeof saved_at, "%04d/%02d/%02d %02d:%02d", now.year, now.month, now.day,
                  now.hour, now.minute);
    std::string text = std::string(saved_at) + "\r\n";
    for (const std::string& value : flags) text += value + "\r\n";
    text += "\\\r\n";
    return platform::utf8_to_sjis(text);
}

std::string write_slot(const fs::path& file, const std::string& bytes,
                       const std::function<void(const fs::path&)>& after_temp) {
    fs::path temp = file;
    temp += ".tmp";
    if (const int err = write_durable(temp, bytes); err != 0) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return errno_text(err);
    }
    if (after_temp) after_temp(temp);
    std::error_code ec;
    fs::rename(temp, file, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return ec.message();
    }
    sync_folder(file.parent_path());
    return {};
}

std::string to_full_width(const std::string& text) {
    std::string out;
    for (const char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c > 0x7E) {
            out += ch;
            continue;
        }
        const char32_t wide = c == ' ' ? U'\u3000' : U'\uFF01' + (c - 0x21);
        // Every full-width form lies in the three-byte range of UTF-8.
        out += static_cast<char>(0xE0 | (wide >> 12));
        out += static_cast<char>(0x80 | ((wide >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (wide & 0x3F));
    }
    return out;
}

std::string slot_caption(const std::string& date_text, const std::string& saved_at) {
    // saved_at is "yyyy/mm/dd hh:mm"; the label leaves out the year.
    return to_full_width(date_text) + "     (" + saved_at.substr(5) + ")";
}

}  // namespace dalvo
