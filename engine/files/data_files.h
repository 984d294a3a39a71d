// The program's folders and the plumbing every loader and saver of the
// program's own files shares: case-insensitive name resolution, whole-file
// reads, atomic saves, little-endian fields and short strings.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// Record images are stored as they lie in memory; that is only the file
// format on a little-endian machine.
static_assert(std::endian::native == std::endian::little, "record images are little-endian");

// The executable's folder and its "data/" folder, each ending with '/'.
extern std::string ProgramDir;
extern std::string DataDir;

// Sets both folders from the running executable (/proc/self/exe). False, and
// the folders unchanged, when the executable's path cannot be read.
bool InitProgramFolders();
// Sets both folders from an explicit program folder (tests and tools).
void SetProgramFolders(const std::string &programDir);

// The path under which path exists, matching every component that does not
// exist as written without regard to case (an exact match wins; among several
// case variants the first in byte order). Components from the first one that
// matches nothing on are kept as written, so a new file keeps its given name.
std::string ResolvePath(const std::string &path);

enum class ReadStatus { Ok, Missing, Failed };

// Reads the file (resolved) into bytes, at most maxBytes of it. Missing when
// no such file exists, Failed (with a message in *error) when it cannot be
// read; bytes then holds what was read.
ReadStatus ReadWholeFile(const std::string &path, std::string &bytes, std::string *error = nullptr,
                         std::size_t maxBytes = SIZE_MAX);

// ReadWholeFile for a file the caller cannot do without: false when it is
// missing too, with the message "The <what> "<path>" was not found.".
bool ReadRequiredFile(const std::string &path, std::string_view what, std::string &bytes,
                      std::string *error = nullptr, std::size_t maxBytes = SIZE_MAX);

// Replaces the file (resolved) by bytes: writes a temporary file in the same
// folder, flushes it to disk and renames it over the old one, so a crash or a
// full disk leaves either the old or the new file, never a half-written one.
// The file keeps the permissions of the one it replaces (rw-r--r-- when new);
// with ownerOnly it is readable and writable by its owner alone (rw-------),
// as files holding a password must be, from the moment it exists.
bool SaveFileAtomically(const std::string &path, std::string_view bytes, std::string *error = nullptr,
                        bool ownerOnly = false);

// Deletes the file (resolved). False with a message when it cannot.
bool DeleteDataFile(const std::string &path, std::string *error = nullptr);

// Whether path (resolved) names an existing folder.
bool FolderExists(const std::string &path);

// The part of path after its last '/' or '\'.
std::string FileNamePart(std::string_view path);
// The part of path up to and including its last '/' or '\' (empty if none).
std::string FolderPart(std::string_view path);

// Splits text into lines at LF, CR LF or a lone CR; a final line end adds no
// empty line.
std::vector<std::string> SplitTextLines(std::string_view text);

// Calls visit(line) for each line of text as SplitTextLines splits it, the
// line a view into text: large element files are read without a copy of
// each line. Line ends are found with memchr.
template <class Visit>
void ForEachTextLine(std::string_view text, Visit &&visit)
{
    const char *at = text.data();
    const char *const end = at + text.size();
    const char *newline = nullptr; // the next LF at or after `at`, or end
    while (at < end) {
        if (!newline || newline < at) {
            const void *found = std::memchr(at, '\n', static_cast<std::size_t>(end - at));
            newline = found ? static_cast<const char *>(found) : end;
        }
        const void *cr = std::memchr(at, '\r', static_cast<std::size_t>(newline - at));
        const char *lineEnd = cr ? static_cast<const char *>(cr) : newline;
        visit(std::string_view(at, static_cast<std::size_t>(lineEnd - at)));
        if (lineEnd + 1 == newline && newline != end)
            at = newline + 1; // CR LF
        else if (lineEnd == newline)
            at = newline == end ? end : newline + 1; // LF, or the text's end
        else
            at = lineEnd + 1; // a lone CR
    }
}

// text without leading and trailing blanks and control characters.
std::string_view TrimText(std::string_view text);

// Reads a decimal number written with '.' whatever the locale, after
// trimming; an optional leading '+' is accepted. False for anything else,
// for text after the number and for infinities and NaN.
bool ParseDecimal(std::string_view text, double &value);

// Little-endian fields in a byte buffer.
template <class T>
T GetLittleEndian(const void *bytes)
{
    static_assert(std::is_arithmetic_v<T>);
    T value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

template <class T>
void PutLittleEndian(void *bytes, T value)
{
    static_assert(std::is_arithmetic_v<T>);
    std::memcpy(bytes, &value, sizeof value);
}

// A record image taken from, or appended to, a byte buffer.
template <class Record>
void CopyRecordFromBytes(Record &record, const char *bytes)
{
    static_assert(std::is_trivially_copyable_v<Record>);
    std::memcpy(static_cast<void *>(&record), bytes, sizeof(Record));
}

template <class Record>
void AppendRecordBytes(std::string &buffer, const Record &record)
{
    static_assert(std::is_trivially_copyable_v<Record>);
    buffer.append(reinterpret_cast<const char *>(&record), sizeof(Record));
}

// A short string of capacity N as stored in records: one length byte, then N
// character bytes, zero past the length when we write it.
template <std::size_t N>
struct ShortString {
    static_assert(N >= 1 && N <= 255);
    static constexpr std::size_t Capacity = N;

    std::uint8_t length = 0;
    char chars[N] = {};

    // A length byte beyond the capacity (a damaged file) reads as the capacity.
    std::string str() const { return std::string(chars, std::min<std::size_t>(length, N)); }
    bool lengthValid() const { return length <= N; }

    // Stores text; refuses (false, field unchanged) text that does not fit.
    bool assign(std::string_view text)
    {
        if (text.size() > N)
            return false;
        length = static_cast<std::uint8_t>(text.size());
        std::memcpy(chars, text.data(), text.size());
        std::memset(chars + text.size(), 0, N - text.size());
        return true;
    }

    // Stores the first N characters of text, where cutting is the intended
    // rule (names and element lines).
    void assignCut(std::string_view text) { assign(text.substr(0, std::min(text.size(), N))); }
};
// Laid out as stored: the length byte, then the characters, no padding, so a
// short string may sit at any offset of a record.
static_assert(sizeof(ShortString<1>) == 2 && alignof(ShortString<1>) == 1);
static_assert(sizeof(ShortString<64>) == 65 && sizeof(ShortString<255>) == 256);
static_assert(offsetof(ShortString<20>, chars) == 1);

// The message shown when text does not fit a short-string field.
std::string TooLongForFieldMessage(std::string_view text, std::size_t capacity);

// Stores text in field, or refuses text longer than the field with the
// message in *message: a path is never silently cut.
template <std::size_t N>
bool StoreShortText(ShortString<N> &field, std::string_view text, std::string *message = nullptr)
{
    if (field.assign(text))
        return true;
    if (message)
        *message = TooLongForFieldMessage(text, N);
    return false;
}
