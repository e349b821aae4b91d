// TEMPORARY STAND-IN until the web branch lands; deleted on merge.
#include <curl/curl.h>

#include <mutex>

#include "web/cancellation.h"
#include "web/direct_request.h"
#include "web/web_request.h"

namespace ondrel {
namespace {
size_t collect(char* p, size_t s, size_t n, void* out) {
    static_cast<std::string*>(out)->append(p, s * n);
    return s * n;
}
int progress(void* token, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* c = static_cast<const Cancellation*>(token);
    return c && c->cancelled() ? 1 : 0;
}
Bytes perform(const Text& url, Text* headersOut, int* statusOut) {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_ALL); });
    if (statusOut) *statusOut = 0;
    if (currentlyCancelled()) return {};
    CURL* h = curl_easy_init();
    if (!h) return {};
    std::string body, headers;
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, 5L);
    curl_easy_setopt(h, CURLOPT_TIMEOUT, 30L);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, collect);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &headers);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, progress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, currentCancellation());
    CURLcode rc = curl_easy_perform(h);
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(h);
    if (rc != CURLE_OK) return {};
    if (statusOut) *statusOut = int(status);
    if (headersOut) *headersOut = headers;
    return body;
}
}  // namespace
Bytes WebRequest(const Text& url, const WebRequestOptions& o) { return perform(url, o.headersOut, o.statusOut); }
Bytes DirectWebRequest(const Text& url, const DirectWebRequestOptions& o) {
    return perform(url, o.headersOut, o.statusOut);
}
}  // namespace ondrel
