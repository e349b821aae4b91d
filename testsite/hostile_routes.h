#pragma once
// Routes of hostile and broken servers, added to a TestSite (before start) by the tests that
// need them:
//   /trickle?bytes=N        N body bytes (default 1000), one a second
//   /huge?size=N            N bytes (default 100 MB) produced as they are sent, never held whole
//   /loop                   a redirect to itself, for ever
//   /bad-gzip               "Content-Encoding: gzip" over bytes that are not gzip
// and the pages of a hostile search site (see hostileEngine):
//   /h/search?count=C       a search page announcing C result pages ("pages:C</b>")
//   /h/list?links=L&page=N  a result page with L detail links "href="/h/d?i=K"" (L default 20);
//                           with bad=1 they lead to /h/bad-utf8 instead
//   /h/d?i=K                a detail page: title "item K", magnet "magnet:?xt=urn:btih:K"
//   /h/bad-utf8?i=K         the same with invalid UTF-8 around the title's valid characters
// Responses that break the protocol itself come from FixedResponseServer.
#include <httplib.h>

namespace ondrel::testsite {

void addHostileRoutes(httplib::Server& server);

// The 22 lines of an engine file (GBK, CR LF) for the hostile search site at `baseUrl`: its
// search page announces `pageCount` pages, each with `links` detail links; `badUtf8` sends
// detail pages of invalid UTF-8 to an engine that converts them.
std::string hostileEngineFile(const std::string& baseUrl, const std::string& pageCount, int links, bool badUtf8);

}  // namespace ondrel::testsite
