#pragma once
// Once per start the program asks the maker's server for the current version and, when it is
// not ours, the window offers the download share. Both addresses are build settings.
#include "text/text.h"

namespace ondrel {

inline constexpr char programVersion[] = "1.0";

// "有新版本,点击更新，提取码：wqkd"; the last four letters are the share's extraction code.
inline constexpr char updateNotice[] =
    "\xD3\xD0\xD0\xC2\xB0\xE6\xB1\xBE,\xB5\xE3\xBB\xF7\xB8\xFC\xD0\xC2\xA3\xAC"
    "\xCC\xE1\xC8\xA1\xC2\xEB\xA3\xBA"
    "wqkd";

struct UpdateAddresses {
    Text versionUrl;  // its body is the current version as plain text
    Text shareUrl;    // the page a click on the notice opens
};

// The addresses this build was configured with; empty ones mean "no update check".
UpdateAddresses builtInUpdateAddresses();

// Only a successful exchange can tell of a new version: its text (up to the first NUL byte)
// compared as a whole with ours, byte for byte. A failed exchange is not a new version.
bool announcesNewVersion(int status, const Bytes& body);

// Asks versionUrl and decides; false without an address. Blocks for the exchange, so callers
// on a user-interface thread run it elsewhere. A cancellation scope on the calling thread
// aborts it.
bool newVersionAvailable(const Text& versionUrl);

}  // namespace ondrel
