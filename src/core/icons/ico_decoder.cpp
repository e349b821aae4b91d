// ICO and CUR files: a 6-byte header (0, type 1 for icons or 2 for cursors, entry count), a
// directory of 16-byte entries, and each entry's picture: a device-independent bitmap with its
// AND mask, or a whole PNG file.
#include <cstdlib>

#include "icons/byte_order.h"
#include "icons/dib_decoder.h"
#include "icons/picture_formats.h"

namespace ondrel {
namespace {

constexpr size_t headerSize = 6;
constexpr size_t entrySize = 16;
constexpr int tabIconSide = 16;

struct Entry {
    int width = 0;
    int height = 0;
    int depth = 0;
    std::string_view data;
};

// PNG entries are stored at full colour with alpha.
int entryDepth(std::string_view data) { return looksLikePng(data) ? 32 : dibBitsPerPixel(data); }

int distanceToTabIcon(const Entry& e) { return std::abs(e.width - tabIconSide) + std::abs(e.height - tabIconSide); }

}  // namespace

bool looksLikeIco(std::string_view data) {
    return data.size() >= headerSize && le16(data, 0) == 0 && (le16(data, 2) == 1 || le16(data, 2) == 2);
}

std::optional<Picture> decodeIco(std::string_view data) {
    if (!looksLikeIco(data)) return std::nullopt;  // the header's fields must lie inside the data
    const size_t count = le16(data, 4);
    if (count == 0 || headerSize + count * entrySize > data.size()) return std::nullopt;
    // The entry closest in size to a tab icon, the deepest among equally close ones; entries
    // whose picture lies outside the data are not candidates.
    std::optional<Entry> best;
    for (size_t i = 0; i < count; ++i) {
        const size_t at = headerSize + i * entrySize;
        const std::uint32_t length = le32(data, at + 8), offset = le32(data, at + 12);
        if (offset > data.size() || length > data.size() - offset || length == 0) continue;
        Entry e;
        e.width = byteAt(data, at) == 0 ? 256 : int(byteAt(data, at));
        e.height = byteAt(data, at + 1) == 0 ? 256 : int(byteAt(data, at + 1));
        e.data = data.substr(offset, length);
        e.depth = entryDepth(e.data);
        if (!best || distanceToTabIcon(e) < distanceToTabIcon(*best) ||
            (distanceToTabIcon(e) == distanceToTabIcon(*best) && e.depth > best->depth))
            best = e;
    }
    if (!best) return std::nullopt;
    if (looksLikePng(best->data)) return decodePng(best->data);
    return decodeDib(best->data, DibKind::iconEntry);
}

}  // namespace ondrel
