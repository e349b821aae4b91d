#include "test_site.h"

#include <filesystem>
#include <fstream>

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "certificate.h"
#include "route_params.h"

namespace ondrel::testsite {
namespace {

using std::chrono::milliseconds;

std::string writeCertificateFile(const std::string& pem) {
    static std::atomic<int> serial{0};
    auto path = std::filesystem::temp_directory_path() /
                ("ondrel-testsite-" + std::to_string(getpid()) + "-" + std::to_string(++serial) + ".pem");
    std::ofstream(path, std::ios::binary) << pem;
    return path.string();
}

std::string echoOf(const httplib::Request& req) {
    std::string out = req.method + " " + req.target + "\n";
    for (const auto& [name, value] : req.headers) {
        if (name.starts_with("REMOTE_") || name.starts_with("LOCAL_")) continue;  // added by the server
        out += name + ": " + value + "\n";
    }
    return out + "\n" + req.body;
}

// Shuts down the site's open connections (sockets bound to its port). A worker of the server
// waits on an idle keep-alive connection until the client sends again or the keep-alive time
// runs out; clients keep their connections for reuse, so without this every stop would wait
// out that time.
void shutDownConnectionsOnPort(int port) {
#ifdef __linux__
    DIR* fds = opendir("/proc/self/fd");
    if (!fds) return;
    while (dirent* entry = readdir(fds)) {
        int fd = std::atoi(entry->d_name);
        if (fd <= 2 || fd == dirfd(fds)) continue;
        sockaddr_in local{};
        socklen_t length = sizeof local;
        if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length) == 0 && local.sin_family == AF_INET &&
            ntohs(local.sin_port) == port) {
            shutdown(fd, SHUT_RDWR);
        }
    }
    closedir(fds);
#else
    (void)port;
#endif
}

}  // namespace

std::string binaryPattern(size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    unsigned state = seed;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        // Every 61st byte is a NUL, so no stretch of the body is free of them for long.
        bytes[i] = i % 61 == 0 ? '\0' : char(state >> 16);
    }
    return bytes;
}

TestSite::TestSite(TestSiteOptions options) : options_(options) {
    if (options_.https) {
        SelfSignedCertificate made = makeSelfSignedCertificate();
        if (made.certificate) {
            server_ = std::make_unique<httplib::SSLServer>(made.certificate.get(), made.key.get());
            certificateFile_ = writeCertificateFile(made.pem);
        }
    }
    if (!server_) server_ = std::make_unique<httplib::Server>();
    // Enough workers for the stalled routes of a test not to starve the next request.
    server_->new_task_queue = [] { return new httplib::ThreadPool(32); };
    server_->set_keep_alive_timeout(1);
    // Without it the head and the body of a response, written separately, wait out the
    // client's delayed acknowledgement on a reused connection.
    server_->set_tcp_nodelay(true);
    server_->set_socket_options([this](int sock) {
        httplib::default_socket_options(sock);
        listeningSocket_ = sock;
    });
    server_->set_pre_routing_handler([this](const httplib::Request&, httplib::Response&) {
        if (long long ms = latencyMs_.load()) waitUnlessStopping(milliseconds(ms));
        return httplib::Server::HandlerResponse::Unhandled;
    });
    addFaultRoutes();
}

TestSite::~TestSite() {
    stop();
    if (!certificateFile_.empty()) std::filesystem::remove(certificateFile_);
}

bool TestSite::start() {
    if (thread_.joinable()) return true;
    if (options_.https && certificateFile_.empty()) return false;  // no certificate could be made
    if (options_.port == 0) {
        port_ = server_->bind_to_any_port("127.0.0.1");
    } else if (server_->bind_to_port("127.0.0.1", options_.port)) {
        port_ = options_.port;
    } else {
        port_ = -1;
    }
    if (port_ <= 0) return false;
    // The server listens with a backlog of 5; a burst of concurrent clients (a search runs many
    // requests at once) would see connections dropped and retried a second later.
    ::listen(listeningSocket_, SOMAXCONN);
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() only reaches a server that is running; until then connections wait in the backlog.
    for (int i = 0; i < 5000 && !server_->is_running(); ++i) std::this_thread::sleep_for(milliseconds(1));
    return server_->is_running();
}

void TestSite::stop() {
    {
        std::lock_guard lock(stopMutex_);
        stopping_ = true;
    }
    stopSignal_.notify_all();
    if (thread_.joinable()) {
        server_->stop();
        shutDownConnectionsOnPort(port_);
        thread_.join();
    }
}

std::string TestSite::baseUrl() const {
    return std::string(options_.https ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_);
}

bool TestSite::waitUnlessStopping(milliseconds duration) {
    std::unique_lock lock(stopMutex_);
    return !stopSignal_.wait_for(lock, duration, [this] { return stopping_; });
}

void TestSite::addFaultRoutes() {
    httplib::Server& s = *server_;
    s.Get("/binary", [](const httplib::Request& req, httplib::Response& res) {
        res.set_content(binaryPattern(sizeParam(req, "size", 300000), unsigned(sizeParam(req, "seed", 1))),
                        "application/octet-stream");
    });
    s.Get(R"(/redirect/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
        int left = std::stoi(req.matches[1]);
        if (left > 0) {
            res.set_redirect("/redirect/" + std::to_string(left - 1));
        } else {
            res.set_content("done", "text/plain");
        }
    });
    s.Get("/redirect-to", [](const httplib::Request& req, httplib::Response& res) {
        res.set_redirect(req.get_param_value("url"));
    });
    s.Get("/set-cookie", [](const httplib::Request& req, httplib::Response& res) {
        size_t count = req.get_param_value_count("c");
        for (size_t i = 0; i < count; ++i) res.set_header("Set-Cookie", req.get_param_value("c", i));
        res.set_content("cookies", "text/plain");
    });
    s.Get(R"(/status/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
        res.status = std::stoi(req.matches[1]);
        res.set_content("status page " + std::string(req.matches[1]), "text/html");
    });
    auto echo = [](const httplib::Request& req, httplib::Response& res) {
        res.set_content(echoOf(req), "application/octet-stream");
    };
    s.Get("/echo", echo).Post("/echo", echo).Put("/echo", echo).Delete("/echo", echo).Options("/echo", echo);
    s.Get("/slow", [this](const httplib::Request& req, httplib::Response& res) {
        waitUnlessStopping(milliseconds(sizeParam(req, "ms", 1000)));
        res.set_content("slow", "text/plain");
    });
    s.Get("/drip", [this](const httplib::Request& req, httplib::Response& res) {
        size_t pieces = sizeParam(req, "pieces", 5);
        milliseconds pause(sizeParam(req, "ms", 300));
        res.set_content_provider(pieces * 1000, "application/octet-stream",
                                 [this, pause](size_t offset, size_t, httplib::DataSink& sink) {
                                     if (!waitUnlessStopping(pause)) return false;
                                     std::string piece(1000, char('a' + offset / 1000 % 26));
                                     return sink.write(piece.data(), piece.size());
                                 });
    });
    s.Get("/hang", [this](const httplib::Request&, httplib::Response& res) {
        waitUnlessStopping(milliseconds(120000));
        res.set_content("late", "text/plain");
    });
    // Sends the first half of a body, then either waits for ever or gives up on the connection.
    auto halfBody = [this](bool stall) {
        return [this, stall](const httplib::Request& req, httplib::Response& res) {
            size_t half = sizeParam(req, "bytes", 1000);
            res.set_content_provider(half * 2, "application/octet-stream",
                                     [this, half, stall](size_t offset, size_t, httplib::DataSink& sink) {
                                         if (offset == 0) return sink.write(std::string(half, 'h').data(), half);
                                         if (stall) waitUnlessStopping(milliseconds(120000));
                                         return false;
                                     });
        };
    };
    s.Get("/stall", halfBody(true));
    s.Get("/reset", halfBody(false));
    s.Get("/big-header", [](const httplib::Request& req, httplib::Response& res) {
        size_t size = sizeParam(req, "size", 6000);
        // The server's own lines (status, length, type, keep-alive) take about 120 bytes.
        res.set_header("X-Filler", std::string(size > 200 ? size - 140 : 1, 'f'));
        res.set_content("big", "text/plain");
    });
    s.Get("/chunked", [](const httplib::Request& req, httplib::Response& res) {
        size_t pieces = sizeParam(req, "pieces", 10);
        auto sent = std::make_shared<size_t>(0);
        res.set_chunked_content_provider("text/plain", [pieces, sent](size_t, httplib::DataSink& sink) {
            if (*sent == pieces) {
                sink.done();
                return true;
            }
            std::string piece = "piece " + std::to_string((*sent)++) + "\n";
            return sink.write(piece.data(), piece.size());
        });
    });
    s.Get("/text", [](const httplib::Request& req, httplib::Response& res) {
        size_t size = sizeParam(req, "size", 20000);
        std::string text;
        while (text.size() < size) text += "the quick brown fox " + std::to_string(text.size()) + "\n";
        text.resize(size);
        res.set_content(text, "text/plain");
    });
}

}  // namespace ondrel::testsite
