#include "web/cancellation.h"

namespace ondrel {
namespace {
thread_local const Cancellation* innermost = nullptr;
}

const Cancellation* currentCancellation() { return innermost; }

bool currentlyCancelled() { return innermost && innermost->cancelled(); }

CancellationScope::CancellationScope(CancellationToken token) : token_(std::move(token)), outer_(innermost) {
    innermost = token_.get();
}

CancellationScope::~CancellationScope() { innermost = outer_; }

}  // namespace ondrel
