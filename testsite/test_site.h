#pragma once
// The local web site of the tests, the benchmarks and the demo, served on 127.0.0.1 over HTTP
// or HTTPS (with a certificate made when the site is created). It starts with the fault routes
// below; other code adds its own routes through server() before start().
//
// Fault routes:
//   /binary?size=N&seed=S   N bytes (default 300000) of a fixed pattern with NULs in it
//   /redirect/N             a chain of N redirects ending at /redirect/0, which answers "done"
//   /redirect-to?url=U      one redirect to U
//   /set-cookie?c=V&c=W     one "Set-Cookie: V" line per c, body "cookies"
//   /status/N               a page with status N (e.g. 404, 500)
//   /echo                   any method; the request line, the header lines and the body as text
//   /slow?ms=N              answers "slow" after N ms
//   /drip?pieces=N&ms=T     N pieces of 1000 bytes, one every T ms (steady but slow)
//   /hang                   never answers (until the site stops)
//   /stall?bytes=N          sends the head and N of 2N body bytes, then nothing more
//   /reset?bytes=N          sends the head and N of 2N body bytes, then drops the connection
//   /big-header?size=N      a header block of about N bytes (default 6000), body "big"
//   /chunked?pieces=N       N chunks of "piece K\n" in chunked transfer coding
//   /text?size=N            N bytes of text, compressed when the client accepts gzip
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include <httplib.h>

namespace ondrel::testsite {

struct TestSiteOptions {
    bool https = false;
    int port = 0;  // 0: any free port
};

// Bytes the /binary route serves for a size and a seed.
std::string binaryPattern(size_t size, unsigned seed = 1);

class TestSite {
public:
    explicit TestSite(TestSiteOptions options = {});
    ~TestSite();  // stops the site and waits for its threads
    TestSite(const TestSite&) = delete;
    TestSite& operator=(const TestSite&) = delete;

    // Add routes here before start().
    httplib::Server& server() { return *server_; }

    // Binds 127.0.0.1 and serves on a thread of its own. False when the port cannot be bound
    // (or, for HTTPS, no certificate could be made).
    bool start();
    // Ends every waiting route and closes the site's connections; a stopped site stays stopped.
    void stop();

    int port() const { return port_; }
    bool https() const { return options_.https; }
    // "http://127.0.0.1:PORT" or "https://127.0.0.1:PORT", without a trailing "/".
    std::string baseUrl() const;
    // The PEM file of the site's certificate (HTTPS only; empty otherwise), for clients that
    // verify certificates: the certificate is its own authority.
    std::string certificateFile() const { return certificateFile_; }

    // Every response is held back this long before it is handled.
    void setLatency(std::chrono::milliseconds latency) { latencyMs_.store(latency.count()); }

private:
    void addFaultRoutes();
    // Sleeps up to `duration`, returning early (false) when the site stops.
    bool waitUnlessStopping(std::chrono::milliseconds duration);

    TestSiteOptions options_;
    std::unique_ptr<httplib::Server> server_;
    std::string certificateFile_;
    std::thread thread_;
    int listeningSocket_ = -1;
    int port_ = 0;
    std::atomic<long long> latencyMs_{0};
    std::mutex stopMutex_;
    std::condition_variable stopSignal_;
    bool stopping_ = false;
};

}  // namespace ondrel::testsite
