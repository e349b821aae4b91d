#pragma once
// TEMPORARY STAND-IN until the web branch lands; replaced by its file on merge.
#include "text/text.h"
namespace ondrel {
struct DirectWebRequestOptions {
    Text* headersOut = nullptr;
    int* statusOut = nullptr;
};
Bytes DirectWebRequest(const Text& url, const DirectWebRequestOptions& options = {});
}  // namespace ondrel
