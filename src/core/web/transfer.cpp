#include "web/transfer.h"

#include <chrono>
#include <cstdlib>
#include <mutex>

#include <curl/curl.h>

#include "web/cancellation.h"

namespace ondrel {
namespace {

using Clock = std::chrono::steady_clock;

// How often a transfer looks at its cancellation token and its progress while it waits.
constexpr int pollIntervalMs = 40;
// Bytes that must move before the time without progress starts again. A server that trickles a
// byte a second would otherwise hold the thread for as long as it likes; any real download
// moves this much far faster than the shortest limit.
constexpr size_t progressBytes = 512;

void ensureCurlInitialised() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Each thread keeps its connections (in the multi handle's cache), its resolved names and its
// TLS sessions between requests; nothing else outlives a transfer. Only the owning thread uses
// them, so the share handle needs no locks.
struct ThreadTransport {
    CURLM* multi;
    CURLSH* share;
    ThreadTransport() {
        ensureCurlInitialised();
        multi = curl_multi_init();
        share = curl_share_init();
        curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
    }
    ~ThreadTransport() {
        curl_multi_cleanup(multi);
        curl_share_cleanup(share);
    }
    ThreadTransport(const ThreadTransport&) = delete;
    ThreadTransport& operator=(const ThreadTransport&) = delete;
};

ThreadTransport& threadTransport() {
    thread_local ThreadTransport transport;
    return transport;
}

// What the callbacks of one transfer share with it.
struct Exchange {
    const Bytes* upload = nullptr;
    size_t uploaded = 0;
    Bytes body;
    Text headerBlock;
    size_t headerBytes = 0;  // over every response of the exchange, redirects included
    bool connected = false;
    Clock::time_point lastProgress = Clock::now();
    size_t movedSinceProgress = 0;

    void progressed() {
        lastProgress = Clock::now();
        movedSinceProgress = 0;
    }
    void moved(size_t bytes) {
        movedSinceProgress += bytes;
        if (movedSinceProgress >= progressBytes) progressed();
    }
};

size_t onBody(char* data, size_t size, size_t count, void* context) {
    auto& x = *static_cast<Exchange*>(context);
    size_t length = size * count;
    if (x.body.size() + length > maxResponseBytes) return 0;  // aborts the transfer
    x.body.append(data, length);
    x.moved(length);
    return length;
}

// Collects the header block of the final response: a status line starts a new block, so the
// blocks of redirects and interim responses are dropped. Lines end in CR LF whatever the
// server used.
size_t onHeader(char* data, size_t size, size_t count, void* context) {
    auto& x = *static_cast<Exchange*>(context);
    size_t length = size * count;
    x.headerBytes += length;
    if (x.headerBytes > maxResponseBytes) return 0;
    std::string_view line(data, length);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    if (line.substr(0, 5) == "HTTP/") x.headerBlock.clear();
    x.headerBlock.append(line).append("\r\n");
    x.moved(length);
    return length;
}

size_t onUpload(char* buffer, size_t size, size_t count, void* context) {
    auto& x = *static_cast<Exchange*>(context);
    size_t length = std::min(size * count, x.upload->size() - x.uploaded);
    x.upload->copy(buffer, length, x.uploaded);
    x.uploaded += length;
    x.moved(length);
    return length;
}

// A redirect that keeps the method (307, 308) sends the body again from its start.
int onSeek(void* context, curl_off_t offset, int origin) {
    auto& x = *static_cast<Exchange*>(context);
    if (origin != SEEK_SET || offset < 0 || size_t(offset) > x.upload->size()) return CURL_SEEKFUNC_FAIL;
    x.uploaded = size_t(offset);
    return CURL_SEEKFUNC_OK;
}

// Called once a connection is ready and the request is about to go out: the time without
// progress counts from here, the time to connect is curl's own limit.
int onConnected(void* context, char*, char*, int, int) {
    auto& x = *static_cast<Exchange*>(context);
    x.connected = true;
    x.progressed();
    return CURL_PREREQFUNC_OK;
}

bool hasHeaderNamed(const std::vector<Text>& lines, std::string_view name) {
    for (const Text& line : lines) {
        if (line.size() > name.size() && (line[name.size()] == ':' || line[name.size()] == ';') &&
            curl_strnequal(line.data(), name.data(), name.size())) {
            return true;
        }
    }
    return false;
}

// The caller's lines, and blanks for the headers curl would add on its own to a request with a
// body: the body goes out as given, without a content type nobody asked for and without
// waiting for a 100 Continue.
curl_slist* headerList(const TransferSettings& settings) {
    curl_slist* list = nullptr;
    for (const Text& line : settings.headerLines) list = curl_slist_append(list, line.c_str());
    if (settings.body) {
        if (!hasHeaderNamed(settings.headerLines, "Content-Type")) list = curl_slist_append(list, "Content-Type:");
        if (!hasHeaderNamed(settings.headerLines, "Expect")) list = curl_slist_append(list, "Expect:");
    }
    return list;
}

void setMethodAndBody(CURL* easy, const TransferSettings& settings, Exchange& exchange) {
    const Text& method = settings.method;
    if (method == "HEAD") {
        curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
        return;
    }
    if (settings.body) {
        exchange.upload = &*settings.body;
        curl_easy_setopt(easy, CURLOPT_POST, 1L);
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(settings.body->size()));
        curl_easy_setopt(easy, CURLOPT_READFUNCTION, onUpload);
        curl_easy_setopt(easy, CURLOPT_READDATA, &exchange);
        curl_easy_setopt(easy, CURLOPT_SEEKFUNCTION, onSeek);
        curl_easy_setopt(easy, CURLOPT_SEEKDATA, &exchange);
    } else if (method == "POST") {
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, "");
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(0));
    }
    // A plain POST keeps curl's own redirect rules (a 302 turns it into a GET); any other method
    // is named as it stands.
    if (method != "POST" && (method != "GET" || settings.body)) {
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, method.c_str());
    }
}

void configure(CURL* easy, const TransferSettings& settings, Exchange& exchange, curl_slist* headers) {
    ThreadTransport& transport = threadTransport();
    curl_easy_setopt(easy, CURLOPT_URL, settings.url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, settings.redirectProtocols.c_str());
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, settings.followRedirects ? 1L : 0L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_SHARE, transport.share);
    // An empty proxy also keeps curl from taking one from the environment.
    curl_easy_setopt(easy, CURLOPT_PROXY, settings.proxy.c_str());
    if (!settings.userAgent.empty()) curl_easy_setopt(easy, CURLOPT_USERAGENT, settings.userAgent.c_str());
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, std::max(1L, settings.connectTimeoutMs));
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, settings.verifyPeer ? 1L : 0L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, settings.verifyHost ? 2L : 0L);
    // The usual OpenSSL override of the trusted certificates, for private sites (and the tests).
    if (const char* authorities = std::getenv("SSL_CERT_FILE"); authorities && *authorities) {
        curl_easy_setopt(easy, CURLOPT_CAINFO, authorities);
    }
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &exchange);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &exchange);
    curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, onConnected);
    curl_easy_setopt(easy, CURLOPT_PREREQDATA, &exchange);
    setMethodAndBody(easy, settings, exchange);
}

// Drives one transfer on the thread's multi handle until it ends, is cancelled or stalls.
bool drive(CURL* easy, const Exchange& exchange, long stallTimeoutMs) {
    CURLM* multi = threadTransport().multi;
    if (curl_multi_add_handle(multi, easy) != CURLM_OK) return false;
    bool ok = false;
    for (;;) {
        int running = 0;
        if (curl_multi_perform(multi, &running) != CURLM_OK) break;
        bool done = false;
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
            if (message->msg == CURLMSG_DONE && message->easy_handle == easy) {
                done = true;
                ok = message->data.result == CURLE_OK;
            }
        }
        if (done || currentlyCancelled()) break;
        if (exchange.connected &&
            Clock::now() - exchange.lastProgress > std::chrono::milliseconds(std::max(1L, stallTimeoutMs))) {
            break;
        }
        curl_multi_poll(multi, nullptr, 0, pollIntervalMs, nullptr);
    }
    curl_multi_remove_handle(multi, easy);
    return ok;
}

}  // namespace

Text headerLine(std::string_view name, std::string_view value) {
    // curl drops a header given as "Name:" and sends "Name;" as a header with an empty value.
    return value.empty() ? Text(name) + ";" : Text(name) + ": " + Text(value);
}

bool hasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

TransferResult runTransfer(const TransferSettings& settings) {
    TransferResult result;
    if (currentlyCancelled()) return result;
    ensureCurlInitialised();
    CURL* easy = curl_easy_init();
    if (!easy) return result;
    Exchange exchange;
    curl_slist* headers = headerList(settings);
    configure(easy, settings, exchange, headers);
    bool ok = drive(easy, exchange, settings.stallTimeoutMs);
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(easy);
    curl_slist_free_all(headers);
    if (!ok || status <= 0) return result;

    result.completed = true;
    result.status = int(status);
    result.headerBlock = std::move(exchange.headerBlock);
    result.statusLine = result.headerBlock.substr(0, result.headerBlock.find("\r\n"));
    result.body = std::move(exchange.body);
    return result;
}

}  // namespace ondrel
