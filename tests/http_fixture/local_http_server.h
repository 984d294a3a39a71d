// Starts tests/http_fixture/serve.py on 127.0.0.1 at a free port for one
// test (HTTP, or HTTPS with a test CA) and stops it afterwards. Proxy
// settings of the environment are cleared, so requests go straight to it.
// A silent port stands in for a server that is there but never answers.
#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

struct LocalServerOptions {
    bool tls = false;
    std::string user; // the Space-Track stand-in's login
    std::string password;
};

class LocalHttpServer {
public:
    using Options = LocalServerOptions;

    LocalHttpServer() = default;
    LocalHttpServer(const LocalHttpServer &) = delete;
    LocalHttpServer &operator=(const LocalHttpServer &) = delete;
    ~LocalHttpServer()
    {
        Stop();
        std::filesystem::remove_all(tlsDir_);
    }

    // Serves the files of root; certificates are made in the folder root +
    // "-tls" once per folder. Fails the test when it does not start.
    void Start(const std::filesystem::path &root, const Options &options = {})
    {
        for (const char *name : {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy",
                                 "ALL_PROXY"})
            ::unsetenv(name);
        ::setenv("no_proxy", "127.0.0.1,localhost", 1);
        root_ = root;
        std::filesystem::create_directories(root_);
        tlsDir_ = root_.string() + "-tls";
        std::vector<std::string> args = {"/usr/bin/python3", std::string(KYT_TEST_SOURCE_DIR) + "/tests/http_fixture/serve.py",
                                         "--root", root_.string(), "--user", options.user, "--password",
                                         options.password};
        if (options.tls) {
            args.push_back("--tls");
            args.push_back(tlsDir_.string());
        }
        int out[2];
        ASSERT_EQ(::pipe(out), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::vector<char *> argv;
        for (std::string &arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        const int spawned = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        ASSERT_EQ(spawned, 0) << "cannot start " << argv[0];
        // The first line says the port; certificates may take a moment.
        std::string line;
        pollfd wait{out[0], POLLIN, 0};
        char c;
        while (line.find('\n') == std::string::npos && ::poll(&wait, 1, 20000) > 0 && ::read(out[0], &c, 1) == 1)
            line += c;
        ::close(out[0]);
        ASSERT_EQ(line.rfind("PORT ", 0), 0u) << "the test server did not start: " << line;
        port_ = std::stoi(line.substr(5));
        scheme_ = options.tls ? "https" : "http";
    }

    void Stop()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            ::waitpid(pid_, &status, 0);
            pid_ = -1;
        }
    }

    // The address of path ("/x.tle") on this server.
    std::string Url(const std::string &path) const
    {
        return scheme_ + "://127.0.0.1:" + std::to_string(port_) + path;
    }
    int Port() const { return port_; }
    // The test CA that signed the HTTPS server's certificate.
    std::string CaFile() const { return (tlsDir_ / "ca.pem").string(); }

    // The request lines ("GET /x.tle") the server received so far.
    std::vector<std::string> Requests() const
    {
        std::vector<std::string> lines;
        std::ifstream in(root_ / "requests.log");
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    // The raw body of the last login request, empty when none came.
    std::string LoginBody() const
    {
        std::ifstream in(root_ / "login-body.txt", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path root_;
    std::filesystem::path tlsDir_;
    std::string scheme_ = "http";
    int port_ = 0;
    pid_t pid_ = -1;
};

// A port on 127.0.0.1 that accepts connections and never answers (the
// kernel accepts them for the listening socket), as a dead server does.
class SilentPort {
public:
    SilentPort()
    {
        socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (socket_ < 0 || ::bind(socket_, reinterpret_cast<sockaddr *>(&address), size) != 0
            || ::listen(socket_, 16) != 0 || ::getsockname(socket_, reinterpret_cast<sockaddr *>(&address), &size) != 0)
            ADD_FAILURE() << "no silent port";
        port_ = ntohs(address.sin_port);
    }
    ~SilentPort() { ::close(socket_); }
    SilentPort(const SilentPort &) = delete;
    SilentPort &operator=(const SilentPort &) = delete;

    std::string Url(const std::string &scheme, const std::string &path) const
    {
        return scheme + "://127.0.0.1:" + std::to_string(port_) + path;
    }

private:
    int socket_ = -1;
    int port_ = 0;
};
