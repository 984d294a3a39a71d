// A program folder with an update folder, a local web server whose files the
// test writes, download settings short enough for tests, and the user's
// messages recorded instead of shown.
#pragma once

#include "engine/program_folder_fixture.h"
#include "engine/satellite_test_support.h"
#include "http_fixture/local_http_server.h"

#include "engine/downloads/download_settings.h"
#include "engine/files/download_list.h"
#include "engine/runtime/ui_hooks.h"

#include <mutex>
#include <zip.h>
#include <zlib.h>

inline const std::string IssText = "ISS (ZARYA)\r\n" + IssLine1 + "\r\n" + IssLine2 + "\r\n";

// text as a gzip stream (window bits 31) or a zlib stream (15).
inline std::string Deflate(const std::string &text, int windowBits)
{
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, text.size()) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

// Writes a ZIP archive of (name, content) members; a name ending with '/'
// is a folder.
inline void WriteZip(const std::string &path, const std::vector<std::pair<std::string, std::string>> &members)
{
    int error = 0;
    zip_t *archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const auto &[name, content] : members) {
        if (name.ends_with('/')) {
            zip_dir_add(archive, name.c_str(), ZIP_FL_ENC_UTF_8);
            continue;
        }
        zip_source_t *source = zip_source_buffer(archive, content.data(), content.size(), 0);
        ASSERT_GE(zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8), 0) << name;
    }
    ASSERT_EQ(zip_close(archive), 0);
}

class DownloadTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        saved_ = DownloadConfig();
        DownloadSettings &settings = DownloadConfig();
        settings.connected = [] { return true; };
        settings.connectTimeout = std::chrono::seconds(10);
        // Loose enough for a sanitizer build on a busy machine; the tests of
        // slow servers set their own.
        settings.lowSpeedTime = std::chrono::seconds(10);
        settings.totalTimeout = std::chrono::seconds(20);
        settings.maxBytes = std::size_t{1} << 20;
        settings.localNow = [this] { return now_; };
        DownloadStop = false;
        Hooks().showMessage = [this](const std::string &text, const std::string &caption, MessageKind) {
            std::lock_guard lock(mutex_);
            messages_.push_back(caption + ": " + text);
            return true;
        };
        serverRoot_ = root_.parent_path() / (root_.filename().string() + "-www");
        updateFolder_ = root_.string() + "/tle/";
    }

    void TearDown() override
    {
        server_.Stop();
        Hooks().showMessage = nullptr;
        DownloadConfig() = saved_;
        std::filesystem::remove_all(serverRoot_);
        std::filesystem::remove_all(serverRoot_.string() + "-tls");
        ProgramFolderTest::TearDown();
    }

    void Serve(const LocalServerOptions &options = {})
    {
        server_.Start(serverRoot_, options);
        if (options.tls)
            DownloadConfig().caFile = server_.CaFile();
    }

    void ServeFile(const std::string &name, const std::string &bytes)
    {
        std::filesystem::create_directories(serverRoot_);
        WriteFile((serverRoot_ / name).string(), bytes);
    }

    // A selected list line of the kind for a path of the server.
    std::string Line(const std::string &name, int kind, const std::string &path,
                     const std::string &tag = "(Ot)") const
    {
        return "1 " + std::to_string(kind) + "  " + tag + " " + name + " " + server_.Url(path);
    }

    std::string Stored(const std::string &name) const { return ReadFile(updateFolder_ + name + ".tle"); }

    std::vector<std::string> Messages()
    {
        std::lock_guard lock(mutex_);
        return messages_;
    }

    LocalHttpServer server_;
    std::filesystem::path serverRoot_;
    std::string updateFolder_;
    double now_ = 45000.0;

private:
    DownloadSettings saved_;
    std::mutex mutex_;
    std::vector<std::string> messages_;
};
