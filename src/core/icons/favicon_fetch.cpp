#include "icons/favicon_loader.h"
#include "web/web_request.h"

namespace ondrel {

Bytes fetchFavicon(const Text& url) { return WebRequest(url); }

}  // namespace ondrel
