#pragma once
// What the favicon tests share: a tab icon sink that records every call, from any thread, and
// an engine table made of site addresses alone.
#include <mutex>
#include <utility>
#include <vector>

#include "engines/engine_definition.h"
#include "icons/tab_icons.h"

namespace ondrel::fixtures {

struct RecordingSink : TabIconSink {
    std::mutex lock;
    std::vector<std::vector<TabImage>> lists;
    std::vector<std::pair<int, int>> tabImages;
    void setImageList(const std::vector<TabImage>& images) override {
        std::lock_guard held(lock);
        lists.push_back(images);
    }
    void setTabImage(int tab, int image) override {
        std::lock_guard held(lock);
        tabImages.emplace_back(tab, image);
    }
};

inline EngineTable enginesAt(const std::vector<Text>& siteUrls) {
    std::vector<EngineDefinition> engines;
    for (const Text& url : siteUrls) {
        EngineDefinition e;
        e.siteUrl = url;
        engines.push_back(e);
    }
    return EngineTable(std::move(engines));
}

}  // namespace ondrel::fixtures
