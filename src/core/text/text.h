#pragma once
// The program's text: bytes in its own code page (GB18030, which reads every GBK byte
// string unchanged), without NUL bytes. A byte of 0x80 or above together with the byte
// after it is one double-byte character. Positions count bytes from 1; -1 is "not found".
#include <string>
#include <string_view>

namespace ondrel {

using Text = std::string;
// Raw bytes with their length, NULs included: what a request returns as a body.
using Bytes = std::string;

constexpr int notFound = -1;

// The text a byte string holds: everything before its first NUL byte.
inline Text textFromBytes(std::string_view bytes) {
    return Text(bytes.substr(0, bytes.find('\0')));
}

inline bool isLeadByte(unsigned char b) { return b >= 0x80; }

// Letter case as the program folds it: the 26 ASCII letters change, every other byte stays.
inline char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
inline char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
inline Text lowerAsciiText(std::string_view text) {
    Text out(text);
    for (char& c : out) c = lowerAscii(c);
    return out;
}

}  // namespace ondrel
