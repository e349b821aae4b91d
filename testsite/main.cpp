// ondrel-testsite: the local web site of the tests, the benchmarks and the demo.
// usage: ondrel-testsite [--https] [--port N] [--demo]
#include <csignal>
#include <cstring>
#include <iostream>
#include <string>

#include <unistd.h>

#include "magnet_site.h"
#include "test_site.h"

namespace {
volatile std::sig_atomic_t stopRequested = 0;
void requestStop(int) { stopRequested = 1; }
// The port the engine files of demo/conf name.
constexpr int demoPort = 18470;
}  // namespace

int main(int argc, char** argv) {
    ondrel::testsite::TestSiteOptions options;
    bool demo = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--https") == 0) {
            options.https = true;
        } else if (std::strcmp(argv[i], "--port") == 0 && i + 1 < argc) {
            options.port = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--demo") == 0) {
            demo = true;
        } else {
            std::cerr << "usage: ondrel-testsite [--https] [--port N] [--demo]\n";
            return 2;
        }
    }
    if (demo && options.port == 0) options.port = demoPort;
    ondrel::testsite::MagnetSite magnets;  // outlives the server, whose handlers use it
    ondrel::testsite::TestSite site(options);
    if (demo) magnets.addRoutes(site.server());
    if (!site.start()) {
        std::cerr << "ondrel-testsite: cannot listen on 127.0.0.1" << (options.port ? ":" + std::to_string(options.port) : "") << "\n";
        return 1;
    }
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    std::cout << site.baseUrl() << std::endl;
    if (site.https()) std::cout << "certificate: " << site.certificateFile() << std::endl;
    while (!stopRequested) pause();
    return 0;
}
