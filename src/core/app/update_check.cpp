#include "app/update_check.h"

#include "web/web_request.h"

namespace ondrel {

UpdateAddresses builtInUpdateAddresses() { return {ONDREL_VERSION_URL, ONDREL_SHARE_URL}; }

bool announcesNewVersion(int status, const Bytes& body) {
    constexpr int statusOk = 200;
    return status == statusOk && textFromBytes(body) != programVersion;
}

bool newVersionAvailable(const Text& versionUrl) {
    if (versionUrl.empty()) return false;
    int status = 0;
    WebRequestOptions options;
    options.statusOut = &status;
    const Bytes body = WebRequest(versionUrl, options);
    return announcesNewVersion(status, body);
}

}  // namespace ondrel
