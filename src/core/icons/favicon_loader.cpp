#include "icons/favicon_loader.h"

#include "icons/blank_icon.h"
#include "icons/bmp_conversion.h"
#include "icons/tab_image_list.h"

namespace ondrel {
namespace {

constexpr int iconSide = 16;

// Error pages are text; picture data has a NUL within its first bytes, which ends its text long
// before a "404" could appear.
bool isErrorPage(const Bytes& body) { return textFromBytes(body).find("404") != Text::npos; }

bool stopped(const Cancellation* stop) { return stop != nullptr && stop->cancelled(); }

}  // namespace

Text faviconUrl(const Text& siteUrl) { return siteUrl + "/favicon.ico"; }

void loadTabIcons(const EngineTable& engines, TabIconSink& sink, const IconFetch& fetch, const Cancellation* stop) {
    TabImageList list;
    const Bytes blank = convertImageToBmp(blankIconPng(), iconSide, iconSide);
    list.add(blank);
    for (int engine = 1; engine <= engines.count(); ++engine) {
        if (stopped(stop)) return;
        const Bytes body = fetch(faviconUrl(engines.engine(engine).siteUrl));
        if (stopped(stop)) return;
        if (isErrorPage(body)) {
            list.add(blank);
            continue;
        }
        list.add(convertImageToBmp(body, iconSide, iconSide));
        sink.setImageList(list.images());
        sink.setTabImage(engine, engine);
    }
}

bool startTabIcons(TaskPool& pool, std::shared_ptr<const EngineTable> engines, std::shared_ptr<TabIconSink> sink,
                   CancellationToken stop, IconFetch fetch) {
    auto iconTask = [engines = std::move(engines), sink = std::move(sink), stop = std::move(stop),
                     fetch = std::move(fetch)](std::uint32_t) -> std::uint32_t {
        const CancellationScope scope(stop);
        loadTabIcons(*engines, *sink, fetch, stop.get());
        return 0;
    };
    return pool.start(std::move(iconTask));
}

}  // namespace ondrel
