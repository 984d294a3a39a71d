#include "engine/downloads/unpack.h"

#include "engine/downloads/download_settings.h"
#include "engine/files/data_files.h"
#include "engine/files/download_list.h"

#include <zip.h>
#include <zlib.h>

#include <array>
#include <climits>
#include <memory>

namespace {

// Inflates every member of a zlib or gzip stream (window bits 15 + 32:
// either header is recognised).
bool Inflate(std::string_view packed, std::size_t maxBytes, std::string &text, std::string &reason)
{
    if (packed.empty()) {
        reason = "empty download";
        return false;
    }
    z_stream stream{};
    if (inflateInit2(&stream, 15 + 32) != Z_OK) {
        reason = "cannot start zlib";
        return false;
    }
    std::unique_ptr<z_stream, int (*)(z_stream *)> guard(&stream, inflateEnd);
    std::array<char, 65536> buffer;
    std::size_t offset = 0;
    while (true) {
        const std::size_t chunk = std::min<std::size_t>(packed.size() - offset, UINT_MAX);
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(packed.data() + offset));
        stream.avail_in = static_cast<uInt>(chunk);
        int status = Z_OK;
        do {
            stream.next_out = reinterpret_cast<Bytef *>(buffer.data());
            stream.avail_out = static_cast<uInt>(buffer.size());
            status = inflate(&stream, Z_NO_FLUSH);
            if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) {
                reason = "not a valid gzip or zlib stream";
                return false;
            }
            const std::size_t produced = buffer.size() - stream.avail_out;
            if (text.size() + produced > maxBytes) {
                reason = "unpacked text larger than the limit";
                return false;
            }
            text.append(buffer.data(), produced);
        } while (status != Z_STREAM_END && stream.avail_out == 0);
        offset += chunk - stream.avail_in;
        if (status == Z_STREAM_END) {
            // Concatenated members (as "gzip a b >c" makes) all belong to the
            // text; zero bytes after the last one are padding, as gzip reads them.
            const std::string_view rest = packed.substr(offset);
            if (rest.find_first_not_of('\0') == std::string_view::npos)
                return true;
            inflateReset(&stream);
            continue;
        }
        if (offset == packed.size() || status == Z_BUF_ERROR) {
            reason = "the gzip or zlib stream is cut short";
            return false;
        }
    }
}

bool Unzip(std::string_view packed, std::size_t maxBytes, std::string &text, std::string &reason)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(packed.data(), packed.size(), 0, &error);
    zip_t *archive = source ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error) : nullptr;
    if (!archive) {
        if (source)
            zip_source_free(source);
        switch (zip_error_code_zip(&error)) {
        case ZIP_ER_NOZIP: reason = "not a ZIP archive"; break;
        case ZIP_ER_EXISTS: reason = "the ZIP archive holds two members of the same name"; break;
        default: reason = std::string("damaged ZIP archive (") + zip_error_strerror(&error) + ")"; break;
        }
        zip_error_fini(&error);
        return false;
    }
    std::unique_ptr<zip_t, void (*)(zip_t *)> guard(archive, zip_discard);
    zip_error_fini(&error);

    const zip_int64_t count = zip_get_num_entries(archive, 0);
    bool any = false;
    std::array<char, 65536> buffer;
    for (zip_int64_t i = 0; i < count; ++i) {
        const char *name = zip_get_name(archive, static_cast<zip_uint64_t>(i), 0);
        if (!name || (*name && std::string_view(name).back() == '/'))
            continue; // a folder
        zip_file_t *member = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        if (!member) {
            reason = "a ZIP member cannot be read";
            return false;
        }
        std::unique_ptr<zip_file_t, int (*)(zip_file_t *)> memberGuard(member, zip_fclose);
        // Members are joined by a line break, so the last line of one never
        // runs into the first line of the next.
        if (any && !text.empty() && text.back() != '\n')
            text += "\r\n";
        any = true;
        zip_int64_t n;
        while ((n = zip_fread(member, buffer.data(), buffer.size())) > 0) {
            if (text.size() + static_cast<std::size_t>(n) > maxBytes) {
                reason = "unpacked text larger than the limit";
                return false;
            }
            text.append(buffer.data(), static_cast<std::size_t>(n));
        }
        if (n < 0) {
            reason = "a ZIP member is damaged";
            return false;
        }
    }
    if (!any) {
        reason = "the ZIP archive holds no file";
        return false;
    }
    return true;
}

} // namespace

bool UnpackBytes(std::string_view packed, int kind, std::size_t maxBytes, std::string &text,
                 std::string &reason)
{
    text.clear();
    reason.clear();
    bool ok = false;
    switch (kind) {
    case DownloadPlainText:
        ok = packed.size() <= maxBytes;
        if (ok)
            text.assign(packed);
        else
            reason = "larger than the limit";
        break;
    case DownloadCompressed: ok = Inflate(packed, maxBytes, text, reason); break;
    case DownloadZipArchive: ok = Unzip(packed, maxBytes, text, reason); break;
    default: reason = "unknown kind " + std::to_string(kind); break;
    }
    if (!ok)
        text.clear();
    return ok;
}

bool UnpackDownload(const std::string &source, const std::string &target, int kind, std::string *reason)
{
    std::string why;
    auto fail = [&](std::string text) {
        if (reason)
            *reason = std::move(text);
        return false;
    };
    if (kind != DownloadCompressed && kind != DownloadZipArchive)
        return fail("unknown kind " + std::to_string(kind));
    const std::size_t maxBytes = DownloadConfig().maxBytes;
    std::string packed, text;
    const ReadStatus read = ReadWholeFile(source, packed, &why, maxBytes + 1);
    DeleteDataFile(source);
    if (read != ReadStatus::Ok)
        return fail(read == ReadStatus::Missing ? "the download is missing" : why);
    if (packed.size() > maxBytes)
        return fail("larger than the limit");
    if (!UnpackBytes(packed, kind, maxBytes, text, why))
        return fail(why);
    if (!SaveFileAtomically(target, text, &why))
        return fail(why);
    return true;
}
