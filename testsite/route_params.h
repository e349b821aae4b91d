#pragma once
// Reading the query parameters of the test site's routes.
#include <string>

#include <httplib.h>

namespace ondrel::testsite {

// The number a query parameter gives, or `fallback` when it is missing or not a number.
inline size_t sizeParam(const httplib::Request& req, const char* name, size_t fallback) {
    if (!req.has_param(name)) return fallback;
    try {
        return size_t(std::stoull(req.get_param_value(name)));
    } catch (const std::exception&) {
        return fallback;
    }
}

}  // namespace ondrel::testsite
