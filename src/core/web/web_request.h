#pragma once
// TEMPORARY STAND-IN until the web branch lands; replaced by its file on merge.
#include "text/text.h"
namespace ondrel {
struct WebRequestOptions {
    Text* headersOut = nullptr;
    int* statusOut = nullptr;
};
Bytes WebRequest(const Text& url, const WebRequestOptions& options = {});
}  // namespace ondrel
