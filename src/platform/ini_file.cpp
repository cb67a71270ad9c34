#include "ini_file.h"

#include "ini_document.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace quilo {
namespace {

// What a file looked like when it was parsed; a rename gives a new inode, an
// edit in place a new time or size.
struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    bool operator==(const FileStamp& other) const {
        return exists == other.exists && device == other.device && inode == other.inode &&
               size == other.size && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

FileStamp stampOf(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return {};
    return {true, info.st_dev, info.st_ino, info.st_size, info.st_mtim};
}

bool readWholeFile(const std::string& path, std::string& text) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, got);
    const bool complete = !std::ferror(file);
    std::fclose(file);
    return complete;
}

bool writeAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}

timespec currentTime() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

// File times tick coarsely (a jiffy on local disks, seconds elsewhere): an edit
// that comes soon after we looked can leave inode, size and time as they were.
// A stamp that close to our look proves nothing, and the bytes are compared.
bool closeTogether(const timespec& modified, const timespec& lookedAt) {
    constexpr long margin = 2; // seconds
    return modified.tv_sec + margin >= lookedAt.tv_sec;
}

// One parsed copy and one lock per file, shared by every IniFile of the process.
struct CachedFile {
    std::mutex lock;
    FileStamp stamp;
    timespec lookedAt{}; // when the bytes in `text` were last known to be the file's
    std::string text;
    IniDocument document;

    // Call with the lock held: makes `document` what the file holds now. False
    // when the file is there but cannot be read: a write must then not replace it.
    bool refresh(const std::string& path) {
        const FileStamp now = stampOf(path);
        if (now == stamp && now.exists && !closeTogether(stamp.modified, lookedAt))
            return true;
        const timespec looking = currentTime();
        std::string current;
        if (now.exists && !readWholeFile(path, current)) {
            stamp = {};
            text.clear();
            document = IniDocument{};
            return false;
        }
        if (!(stamp.exists && now.exists && current == text)) {
            document = IniDocument::parse(current);
            text = std::move(current);
        }
        stamp = now;
        lookedAt = looking;
        return true;
    }

    // Call with the lock held.
    bool store(const std::string& path, const IniDocument& changed) {
        const timespec writing = currentTime();
        std::string temporary = path + ".XXXXXX";
        const int fd = mkstemp(temporary.data());
        if (fd < 0)
            return false;
        std::string serialized = changed.serialize();
        const bool written = writeAll(fd, serialized);
        // mkstemp makes the file private; keep the mode the user gave the old one.
        struct stat old {};
        fchmod(fd, stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
        if (::close(fd) != 0 || !written || std::rename(temporary.c_str(), path.c_str()) != 0) {
            ::unlink(temporary.c_str());
            return false;
        }
        document = changed;
        text = std::move(serialized);
        stamp = stampOf(path);
        lookedAt = writing;
        return true;
    }
};

std::shared_ptr<CachedFile> cachedFile(const std::string& path) {
    static std::mutex registryLock;
    static std::map<std::string, std::shared_ptr<CachedFile>> registry;
    std::lock_guard guard(registryLock);
    auto& entry = registry[path];
    if (!entry)
        entry = std::make_shared<CachedFile>();
    return entry;
}

template <typename Result, typename Read>
Result withDocument(const std::string& key, const std::string& path, Read read) {
    auto file = cachedFile(key);
    std::lock_guard guard(file->lock);
    file->refresh(path);
    return read(file->document);
}

template <typename Change>
bool changeDocument(const std::string& key, const std::string& path, Change change) {
    auto file = cachedFile(key);
    std::lock_guard guard(file->lock);
    if (!file->refresh(path))
        return false;
    IniDocument changed = file->document;
    if (!change(changed))
        return true; // nothing to change is not a failure
    return file->store(path, changed);
}

} // namespace

std::optional<long> parseLenientInteger(const std::string& text) {
    const char* cursor = text.c_str();
    while (*cursor == ' ' || *cursor == '\t')
        ++cursor;
    const char* digits = cursor + (*cursor == '+' || *cursor == '-');
    if (*digits < '0' || *digits > '9')
        return std::nullopt;
    const long value = std::strtol(cursor, nullptr, 10);
    return value;
}

namespace {

std::string lockKeyOf(const std::string& path) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

bool validSection(const std::string& name) {
    return name.find_first_of("]\r\n") == std::string::npos;
}

bool validKey(const std::string& name) {
    const size_t first = name.find_first_not_of(" \t");
    return first != std::string::npos && name.find_first_of("=\r\n") == std::string::npos &&
           name[first] != ';' && name[first] != '#' && name[first] != '[';
}

std::string singleLine(std::string value) {
    for (char& c : value) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return value;
}

} // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)), lockKey_(lockKeyOf(path_)) {}

bool IniFile::exists() const {
    return stampOf(path_).exists;
}

std::optional<std::string> IniFile::find(const std::string& section, const std::string& key) const {
    return withDocument<std::optional<std::string>>(
        lockKey_, path_, [&](const IniDocument& document) -> std::optional<std::string> {
            const std::string* value = document.find(section, key);
            return value ? std::optional<std::string>(*value) : std::nullopt;
        });
}

std::string IniFile::readString(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
    return find(section, key).value_or(fallback);
}

long IniFile::readInteger(const std::string& section, const std::string& key, long fallback) const {
    const auto value = find(section, key);
    if (!value)
        return fallback;
    return parseLenientInteger(*value).value_or(fallback);
}

bool IniFile::readBool(const std::string& section, const std::string& key, bool fallback) const {
    return readInteger(section, key, fallback ? 1 : 0) != 0;
}

std::vector<std::string> IniFile::sections() const {
    return withDocument<std::vector<std::string>>(
        lockKey_, path_, [](const IniDocument& document) { return document.sectionNames(); });
}

std::vector<std::string> IniFile::keys(const std::string& section) const {
    return withDocument<std::vector<std::string>>(
        lockKey_, path_, [&](const IniDocument& document) { return document.keyNames(section); });
}

bool IniFile::hasSection(const std::string& section) const {
    return withDocument<bool>(lockKey_, path_,
                              [&](const IniDocument& document) { return document.hasSection(section); });
}

bool IniFile::writeString(const std::string& section, const std::string& key, const std::string& value) {
    if (!validSection(section) || !validKey(key))
        return false;
    const std::string line = singleLine(value);
    return changeDocument(lockKey_, path_, [&](IniDocument& document) {
        const std::string* old = document.find(section, key);
        if (old && *old == line)
            return false;
        document.set(section, key, line);
        return true;
    });
}

bool IniFile::writeInteger(const std::string& section, const std::string& key, long value) {
    return writeString(section, key, std::to_string(value));
}

bool IniFile::writeBool(const std::string& section, const std::string& key, bool value) {
    return writeString(section, key, value ? "1" : "0");
}

bool IniFile::eraseKey(const std::string& section, const std::string& key) {
    return changeDocument(lockKey_, path_,
                          [&](IniDocument& document) { return document.erase(section, key); });
}

bool IniFile::eraseSection(const std::string& section) {
    return changeDocument(lockKey_, path_,
                          [&](IniDocument& document) { return document.eraseSection(section); });
}

} // namespace quilo
