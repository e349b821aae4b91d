#pragma once
// Splits one fuzz input into several texts at NUL bytes, so a target can take a haystack, a
// prefix and a suffix from the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline std::vector<std::string> splitFuzzInput(const uint8_t* data, size_t size, size_t parts) {
    std::vector<std::string> out(parts);
    size_t part = 0;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && part + 1 < parts) {
            ++part;
            continue;
        }
        out[part].push_back(char(data[i]));
    }
    return out;
}
