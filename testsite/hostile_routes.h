#pragma once
// Routes of hostile and broken servers, added to a TestSite (before start) by the tests that
// need them:
//   /trickle?bytes=N        N body bytes (default 1000), one a second
//   /huge?size=N            N bytes (default 100 MB) produced as they are sent, never held whole
//   /loop                   a redirect to itself, for ever
//   /bad-gzip               "Content-Encoding: gzip" over bytes that are not gzip
// Routes whose responses break the protocol itself are served by RawSite (raw_site.h).
#include <httplib.h>

namespace ondrel::testsite {

void addHostileRoutes(httplib::Server& server);

}  // namespace ondrel::testsite
