#include "check/check_engines.h"

#include "web/direct_request.h"

namespace ondrel {

bool siteAnswers(const Text& siteUrl) {
    Text headers;
    int status = 0;
    DirectWebRequestOptions options;
    options.headersOut = &headers;
    options.statusOut = &status;
    DirectWebRequest(siteUrl, options);
    return status == 200;
}

Text checkStateText(bool answers) {
    return answers ? "\xC1\xAC\xBD\xD3\xD5\xFD\xB3\xA3"   // "连接正常"
                   : "\xC1\xAC\xBD\xD3\xD2\xEC\xB3\xA3";  // "连接异常"
}

void checkEngines(const std::vector<Text>& siteUrls, const std::function<void(int row, const Text& state)>& report,
                  const Cancellation* stop) {
    // A request in flight is aborted too when the check is stopped (the token is not owned).
    CancellationScope scope(CancellationToken(CancellationToken(), stop));
    for (size_t row = 0; row < siteUrls.size(); ++row) {
        if (stop && stop->cancelled()) return;
        const bool answers = siteAnswers(siteUrls[row]);
        if (stop && stop->cancelled()) return;
        report(int(row), checkStateText(answers));
    }
}

}  // namespace ondrel
