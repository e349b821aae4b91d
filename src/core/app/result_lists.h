#pragma once
// The 99 result lists as the search sees them: list 0 is the combined tab's, list i engine i's.
// The desktop program carries each call to its user-interface thread, in call order; the cli
// and the tests implement it plainly. Every change carries the search it belongs to, so a
// change from a cancelled search can be dropped once a newer search has cleared the list.
#include <cstdint>

#include "text/text.h"

namespace ondrel {

constexpr int resultListCount = 99;

struct ResultRow {
    Text title;
    Text size;
    Text fileCount;
    Text date;
    Text magnetLink;
    bool operator==(const ResultRow&) const = default;
};

using SearchId = std::uint64_t;

class ResultLists {
public:
    virtual ~ResultLists() = default;
    virtual void clearList(int list, SearchId search) = 0;
    // `row` is the index the row gets in its engine's own list (the combined list's rows carry
    // their engine list's index too).
    virtual void appendRow(int list, int row, const ResultRow& cells, SearchId search) = 0;
};

// Where a search reads the keyword from: the main window's edit box, or the cli's argument.
class KeywordSource {
public:
    virtual ~KeywordSource() = default;
    virtual Text keyword() = 0;
};

}  // namespace ondrel
