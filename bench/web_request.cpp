// Requests to the local test site, one after another on one thread (connections and TLS
// sessions reused) against the same requests each made on a thread of its own (a new
// connection, and a full TLS handshake, every time), for both request paths.
#include <thread>

#include <benchmark/benchmark.h>

#include "test_site.h"
#include "web/direct_request.h"
#include "web/web_request.h"

namespace {

using ondrel::testsite::TestSite;

TestSite& site(bool https) {
    static TestSite plain({.https = false}), secure({.https = true});
    static bool started = plain.start() && secure.start() &&
                          setenv("SSL_CERT_FILE", secure.certificateFile().c_str(), 1) == 0;
    (void)started;
    return https ? secure : plain;
}

ondrel::Bytes fetch(bool direct, const std::string& url) {
    return direct ? ondrel::DirectWebRequest(url) : ondrel::WebRequest(url);
}

// range(0): https; range(1): direct path; range(2): a fresh thread per request; range(3): body size.
void BM_Fetch(benchmark::State& state) {
    const bool https = state.range(0), direct = state.range(1), fresh = state.range(2);
    const std::string url = site(https).baseUrl() + "/binary?size=" + std::to_string(state.range(3));
    size_t bytes = 0;
    for (auto _ : state) {
        if (fresh) {
            std::thread([&] { bytes += fetch(direct, url).size(); }).join();
        } else {
            bytes += fetch(direct, url).size();
        }
    }
    if (bytes != size_t(state.range(3)) * state.iterations()) state.SkipWithError("short body");
    state.SetBytesProcessed(int64_t(bytes));
}

BENCHMARK(BM_Fetch)
    ->ArgNames({"https", "direct", "fresh", "size"})
    ->ArgsProduct({{0, 1}, {0, 1}, {0, 1}, {1000}})
    ->ArgsProduct({{0, 1}, {0}, {0}, {300000, 4000000}})
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
