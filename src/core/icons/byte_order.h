#pragma once
// Little-endian fields of binary headers. Readers: the caller checks that the field lies
// inside the data.
#include <cstdint>
#include <string>
#include <string_view>

namespace ondrel {

inline unsigned byteAt(std::string_view data, size_t offset) { return static_cast<unsigned char>(data[offset]); }

inline std::uint16_t le16(std::string_view data, size_t offset) {
    return std::uint16_t(byteAt(data, offset) | byteAt(data, offset + 1) << 8);
}

inline std::uint32_t le32(std::string_view data, size_t offset) {
    return std::uint32_t(le16(data, offset)) | std::uint32_t(le16(data, offset + 2)) << 16;
}

inline std::int32_t le32signed(std::string_view data, size_t offset) { return std::int32_t(le32(data, offset)); }

inline void appendLe16(std::string& out, std::uint32_t value) {
    out.push_back(char(value & 0xFF));
    out.push_back(char((value >> 8) & 0xFF));
}

inline void appendLe32(std::string& out, std::uint32_t value) {
    appendLe16(out, value & 0xFFFF);
    appendLe16(out, value >> 16);
}

}  // namespace ondrel
