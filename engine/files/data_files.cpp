#include "engine/files/data_files.h"

#include "engine/files/string_lists.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::string ProgramDir;
std::string DataDir;

namespace {

std::string WithTrailingSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string ErrnoText(const std::string &what, const std::string &path, int code)
{
    return what + " \"" + path + "\": " + std::strerror(code);
}

bool Exists(const std::string &path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

// The entry of folder whose name equals name without regard to case; the
// first in byte order when several do. Empty when none does.
std::string FindEntryIgnoreCase(const std::string &folder, const std::string &name)
{
    DIR *dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return {};
    std::string found;
    while (const dirent *entry = ::readdir(dir)) {
        const std::string_view candidate(entry->d_name);
        if (SameTextIgnoreCase(candidate, name) && (found.empty() || candidate < found))
            found = candidate;
    }
    ::closedir(dir);
    return found;
}

// The temporary file of a save: "." + the file's name + mkstemp's six
// letters or digits.
constexpr char SaveTemporarySuffix[] = ".XXXXXX";
constexpr std::size_t SaveTemporaryRandom = 6;

bool IsSaveTemporaryName(std::string_view name)
{
    // ".", at least one character of the saved file's name, ".", six more.
    if (name.size() < 3 + SaveTemporaryRandom || name.front() != '.' ||
        name[name.size() - SaveTemporaryRandom - 1] != '.')
        return false;
    return std::all_of(name.end() - SaveTemporaryRandom, name.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

// A size limit as the user reads it: "8 MiB", "65024 KiB".
std::string SizeText(std::size_t bytes)
{
    if (bytes % MiB == 0)
        return std::to_string(bytes / MiB) + " MiB";
    if (bytes % KiB == 0)
        return std::to_string(bytes / KiB) + " KiB";
    return std::to_string(bytes) + " bytes";
}

} // namespace

void SetProgramFolders(const std::string &programDir)
{
    ProgramDir = WithTrailingSlash(programDir);
    DataDir = ProgramDir + "data/";
}

bool InitProgramFolders()
{
    std::string target(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", target.data(), target.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= target.size())
        return false;
    target.resize(static_cast<std::size_t>(n));
    SetProgramFolders(FolderPart(target));
    return true;
}

std::string ResolvePath(const std::string &path)
{
    if (path.empty() || Exists(path))
        return path;
    std::string resolved;
    std::size_t pos = 0;
    if (path[0] == '/') {
        resolved = "/";
        pos = 1;
    }
    while (pos < path.size()) {
        std::size_t end = path.find('/', pos);
        if (end == std::string::npos)
            end = path.size();
        const std::string component = path.substr(pos, end - pos);
        if (!component.empty() && component != "." && component != ".." && !Exists(resolved + component)) {
            const std::string match = FindEntryIgnoreCase(resolved, component);
            if (match.empty())
                return resolved + path.substr(pos);
            resolved += match;
        } else {
            resolved += component;
        }
        if (end < path.size())
            resolved += '/';
        pos = end + 1;
    }
    return resolved;
}

ReadStatus ReadWholeFile(const std::string &path, std::string &bytes, std::string *error, std::size_t limit)
{
    bytes.clear();
    const std::string resolved = ResolvePath(path);
    // Opened without waiting, so a FIFO that no one writes to reads as empty
    // instead of blocking the opening for ever.
    const int fd = ::open(resolved.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int code = errno;
        if (code == ENOENT || code == ENOTDIR)
            return ReadStatus::Missing;
        if (error)
            *error = ErrnoText("Cannot open", resolved, code);
        return ReadStatus::Failed;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    auto tooLarge = [&] {
        ::close(fd);
        std::string().swap(bytes);
        if (error)
            *error = "Cannot read \"" + resolved + "\": the file is too large (more than " + SizeText(limit) + ")";
        return ReadStatus::Failed;
    };
    // A regular file's size is known beforehand: one allocation, and a file
    // over the limit is refused without reading it.
    struct stat info;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        if (static_cast<std::uintmax_t>(info.st_size) > limit)
            return tooLarge();
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    }
    char block[65536];
    for (;;) {
        // One byte past the limit tells a file that grew or a stream that
        // goes on.
        const std::size_t want = bytes.size() < limit ? std::min(sizeof block, limit - bytes.size()) : 1;
        const ssize_t got = ::read(fd, block, want);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            if (error)
                *error = ErrnoText("Cannot read", resolved, errno);
            ::close(fd);
            return ReadStatus::Failed;
        }
        if (got == 0)
            break;
        if (bytes.size() + static_cast<std::size_t>(got) > limit)
            return tooLarge();
        bytes.append(block, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return ReadStatus::Ok;
}

bool ReadRequiredFile(const std::string &path, std::string_view what, std::string &bytes, std::string *error,
                      std::size_t limit)
{
    switch (ReadWholeFile(path, bytes, error, limit)) {
    case ReadStatus::Ok:
        return true;
    case ReadStatus::Missing:
        if (error)
            *error = "The " + std::string(what) + " \"" + path + "\" was not found.";
        return false;
    case ReadStatus::Failed:
        return false;
    }
    return false;
}

bool SaveFileAtomically(const std::string &path, std::string_view bytes, std::string *error,
                        bool ownerOnly)
{
    const std::string resolved = ResolvePath(path);
    std::string temp = FolderPart(resolved) + "." + FileNamePart(resolved) + SaveTemporarySuffix;
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        if (error)
            *error = ErrnoText("Cannot create a file beside", resolved, errno);
        return false;
    }
    auto fail = [&](const char *what) {
        const int code = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        if (error)
            *error = ErrnoText(what, resolved, code);
        return false;
    };
    // Keep the permissions of the regular file being replaced; a new one, or
    // one in place of a device (a link to /dev/zero is rw-rw-rw-), gets the
    // usual rw-r--r-- rather than mkstemp's owner-only mode.
    struct stat old;
    const bool replacesFile = ::stat(resolved.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    const mode_t mode = ownerOnly ? 0600 : replacesFile ? (old.st_mode & 0777) : 0644;
    if (::fchmod(fd, mode) != 0)
        return fail("Cannot set the permissions for");
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail("Cannot write");
        }
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0)
        return fail("Cannot flush");
    if (::close(fd) != 0) {
        const int code = errno;
        ::unlink(temp.c_str());
        if (error)
            *error = ErrnoText("Cannot write", resolved, code);
        return false;
    }
    if (::rename(temp.c_str(), resolved.c_str()) != 0) {
        const int code = errno;
        ::unlink(temp.c_str());
        if (error)
            *error = ErrnoText("Cannot replace", resolved, code);
        return false;
    }
    return true;
}

void RemoveInterruptedSaves(const std::string &folder)
{
    const std::string resolved = WithTrailingSlash(ResolvePath(folder));
    DIR *dir = ::opendir(resolved.c_str());
    if (!dir)
        return;
    std::vector<std::string> left;
    while (const dirent *entry = ::readdir(dir)) {
        if (IsSaveTemporaryName(entry->d_name))
            left.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    for (const std::string &name : left) {
        const std::string path = resolved + name;
        struct stat info;
        if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
            ::unlink(path.c_str());
    }
}

bool DeleteDataFile(const std::string &path, std::string *error)
{
    const std::string resolved = ResolvePath(path);
    if (::unlink(resolved.c_str()) == 0)
        return true;
    if (error)
        *error = ErrnoText("Cannot delete", resolved, errno);
    return false;
}

bool FolderExists(const std::string &path)
{
    if (path.empty())
        return false;
    struct stat info;
    return ::stat(ResolvePath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string FileNamePart(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string FolderPart(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::vector<std::string> SplitTextLines(std::string_view text)
{
    std::vector<std::string> lines;
    ForEachTextLine(text, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

std::string_view TrimText(std::string_view text)
{
    auto isSpaceOrControl = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isSpaceOrControl(text[begin]))
        ++begin;
    while (end > begin && isSpaceOrControl(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

bool ParseDecimal(std::string_view text, double &value)
{
    text = TrimText(text);
    if (!text.empty() && text[0] == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text[0] == '-')
            return false;
    }
    if (text.empty())
        return false;
    double parsed = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

std::string TooLongForFieldMessage(std::string_view text, std::size_t capacity)
{
    return "\"" + std::string(text) + "\" is too long: at most " + std::to_string(capacity) +
           " characters can be stored here. Nothing was changed.";
}
