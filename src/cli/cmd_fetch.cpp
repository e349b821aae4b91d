// fetch [--direct] [--dump-headers FILE] URL: one request with only the address given, through
// the general or the direct request path; the body bytes go to stdout unchanged.
#include <cstdio>
#include <fstream>
#include <iostream>

#include "command.h"
#include "web/direct_request.h"
#include "web/web_request.h"

namespace ondrel::cli {
namespace {

constexpr const char* usage = "[--direct] [--dump-headers FILE] URL";

int runFetch(const std::vector<std::string>& args) {
    bool direct = false;
    std::string headersFile;
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-') {
            operands.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--direct") {
            direct = true;
        } else if (arg == "--dump-headers") {
            if (++i == args.size()) return usageError("fetch", "--dump-headers needs a file");
            headersFile = args[i];
        } else {
            return usageError("fetch", "unknown option " + arg);
        }
    }
    if (operands.size() != 1) return usageError("fetch", "one URL expected");
    const Text& url = operands[0];

    Text headers;
    int status = 0;
    Bytes body;
    if (direct) {
        DirectWebRequestOptions options;
        options.headersOut = &headers;
        options.statusOut = &status;
        body = DirectWebRequest(url, options);
    } else {
        WebRequestOptions options;
        options.headersOut = &headers;
        options.statusOut = &status;
        body = WebRequest(url, options);
    }

    if (!headersFile.empty()) {
        std::ofstream out(headersFile, std::ios::binary);
        out << headers;
        if (!out) {
            std::cerr << "ondrel-cli fetch: cannot write " << headersFile << "\n";
            return exitFailed;
        }
    }
    if (std::fwrite(body.data(), 1, body.size(), stdout) != body.size() || std::fflush(stdout) != 0) {
        std::cerr << "ondrel-cli fetch: cannot write the body\n";
        return exitFailed;
    }
    if (status == 0) {
        std::cerr << "ondrel-cli fetch: no response from " << url << "\n";
        return exitFailed;
    }
    return exitDone;
}

const bool registered = registerCommand({"fetch", usage,
                                         "one request with only the address given (the direct path with --direct); "
                                         "body bytes to stdout, the header block to FILE",
                                         runFetch});

}  // namespace
}  // namespace ondrel::cli
