#include "app/event_pump.h"

#include <atomic>

namespace ondrel {
namespace {
std::atomic<EventPump> installedPump{nullptr};
}

void setPendingEventPump(EventPump pump) { installedPump.store(pump); }

void pumpPendingMessages() {
    if (EventPump pump = installedPump.load(std::memory_order_relaxed)) pump();
}

}  // namespace ondrel
