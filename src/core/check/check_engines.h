#pragma once
// The engine check: does each engine's site answer?
#include <functional>
#include <vector>

#include "text/text.h"
#include "web/cancellation.h"

namespace ondrel {

// Whether the site answers, through the direct request path: the final response (after
// redirects) has the status 200. Decided by the status code rather than by a "200 OK" text in
// the header block, which a status line without a reason phrase lacks and any header line of
// an error page may hold.
bool siteAnswers(const Text& siteUrl);

// "连接正常" when the site answers, "连接异常" otherwise.
Text checkStateText(bool answers);

// Checks the sites one after another and reports each row's state as soon as it is known;
// ends early once `stop` is cancelled.
void checkEngines(const std::vector<Text>& siteUrls, const std::function<void(int row, const Text& state)>& report,
                  const Cancellation* stop = nullptr);

}  // namespace ondrel
