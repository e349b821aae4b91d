#pragma once
// The engine tabs' icons: each engine site's /favicon.ico, fetched in engine-table order on the
// task pool's thread after start-up, turned into a 16 x 16 image and shown on the engine's tab.
#include <functional>
#include <memory>

#include "engines/engine_definition.h"
#include "icons/tab_icons.h"
#include "icons/task_pool.h"
#include "text/text.h"
#include "web/cancellation.h"

namespace ondrel {

// How an icon address is fetched: the response body, empty when the fetch fails.
using IconFetch = std::function<Bytes(const Text& url)>;

// The program's fetch: the general request path with the address alone.
Bytes fetchFavicon(const Text& url);

// The icon address of a site: the site address and "/favicon.ico" joined as they stand.
Text faviconUrl(const Text& siteUrl);

// Image 0 is the blank placeholder; then one image per engine, whatever its site answered.
// An answer whose text (up to its first NUL byte) contains "404" leaves the tab without an
// icon; any other answer, a failed fetch included, becomes the tab's icon, and the sink gets
// the whole list so far. Stops before the next engine once `stop` is cancelled, and gives the
// sink nothing more.
void loadTabIcons(const EngineTable& engines, TabIconSink& sink, const IconFetch& fetch,
                  const Cancellation* stop = nullptr);

// Hands the icon task to `pool` and returns at once. The task keeps the engine table and the
// sink alive until it ends; cancelling `stop` (when the window closes) aborts the request in
// flight and ends the task before it calls the sink again.
bool startTabIcons(TaskPool& pool, std::shared_ptr<const EngineTable> engines, std::shared_ptr<TabIconSink> sink,
                   CancellationToken stop, IconFetch fetch = fetchFavicon);

}  // namespace ondrel
