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

inline constexpr std::size_t KiB = 1024;
inline constexpr std::size_t MiB = 1024 * KiB;

// The largest file of each kind the program reads, each well above the
// largest real one, so that a damaged file, a device or an endless stream
// costs a bounded time and memory and is refused as too large.
// Settings, observer, internet settings, download list, time zones, map
// places, star list, licence, toolbar images: at most tens of KB.
inline constexpr std::size_t SmallFileLimit = 1 * MiB;
// "qvnames.dat": 49 KB shipped, some 50 bytes a satellite.
inline constexpr std::size_t NamesFileLimit = 8 * MiB;
// Place lists (the full one 2.8 MB) and star catalogues ("Stars.bin" 2.8 MB).
inline constexpr std::size_t LargeListLimit = 32 * MiB;
// Element text: the whole public catalogue is a few MB; downloads are cut
// at the same size.
inline constexpr std::size_t ElementTextLimit = 64 * MiB;
// The DE ephemeris: 9.3 MB for 1957-2050; a DE file of 1550-2650 is about
// 100 MB. Loaded whole and decoded, it takes twice its size in memory.
inline constexpr std::size_t EphemerisLimit = 256 * MiB;

// Reads the file (resolved) into bytes, at most limit bytes of it. Missing
// when no such file exists; Failed, with a message in *error, when it cannot
// be read or holds more than limit bytes (a device or a stream is read up to
// the limit, never further). bytes is empty after a file that is too large,
// else it holds what was read.
ReadStatus ReadWholeFile(const std::string &path, std::string &bytes, std::string *error, std::size_t limit);

// ReadWholeFile for a file the caller cannot do without: false when it is
// missing too, with the message "The <what> "<path>" was not found.".
bool ReadRequiredFile(const std::string &path, std::string_view what, std::string &bytes, std::string *error,
                      std::size_t limit);

// Replaces the file (resolved) by bytes: writes a temporary file in the same
// folder, flushes it to disk and renames it over the old one, so a crash or a
// full disk leaves either the old or the new file, never a half-written one.
// The file keeps the permissions of the regular file it replaces (rw-r--r--
// when new, or in place of a device or other special file);
// with ownerOnly it is readable and writable by its owner alone (rw-------),
// as files holding a password must be, from the moment it exists.
bool SaveFileAtomically(const std::string &path, std::string_view bytes, std::string *error = nullptr,
                        bool ownerOnly = false);

// Removes the temporary files that saves interrupted by a crash or a kill
// left in folder: regular files named as SaveFileAtomically names them
// ("." + file name + "." + six letters or digits). Nothing else is touched.
void RemoveInterruptedSaves(const std::string &folder);

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
