#pragma once
// A generated magnet site for the tests, the benchmarks and the demo: search pages, result
// pages and detail pages built from a small data set, in three flavours an engine file can
// describe.
//
//   gbk    GBK pages; relative detail links ("/d/7.html"); result page address with the
//          keyword in the query of the suffix.
//   utf8   UTF-8 pages (both transcoding switches on); absolute detail links; the keyword in
//          the prefix of the result page address.
//   mixed  UTF-8 search and result pages, GBK detail pages; links that begin with "//".
//
// Every flavour's detail page of an item whose number is a multiple of 10 is sent with the
// status 404 (its content is whole), and every result page also links to a page that does
// not exist. Titles of items whose number ends in 3 run over two lines.
#include <httplib.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace ondrel::testsite {

enum class MagnetFlavor { gbk, utf8, mixed };

struct MagnetItem {
    int number = 0;          // from 1
    std::string title;       // UTF-8; may hold a line break
    std::string size;
    int fileCount = 0;
    std::string date;
    std::string hash;        // 40 hex digits
};

struct MagnetSiteOptions {
    int itemCount = 120;        // items of the data set
    int linksPerPage = 20;      // detail links on a result page (the dead link not counted)
    int latencyMs = 0;          // every response waits this long first
    bool deadLinks = true;      // each result page also links to a page that does not exist
    // The page count the search page announces: empty gives the true count; "none" leaves
    // the count out of the page (engines then fetch 5 result pages); anything else is sent as
    // it stands (UTF-8).
    std::string pageCountText;
};

// The data set; the same on every run.
std::vector<MagnetItem> magnetItems(int count);

// The server's handlers use the site: stop the server before the site goes.
class MagnetSite {
public:
    explicit MagnetSite(MagnetSiteOptions options = {});

    // Puts the site's routes on `server`, for every flavour, before the server starts.
    void addRoutes(httplib::Server& server);

    // The site address of a flavour on a server at `baseUrl` (no trailing "/").
    static std::string siteUrl(MagnetFlavor flavor, const std::string& baseUrl);
    // An engine file (GBK, CR LF) for a flavour on a server at `baseUrl`.
    static std::string engineFile(MagnetFlavor flavor, const std::string& baseUrl);
    static std::string flavorName(MagnetFlavor flavor);

    // The items the keyword (UTF-8) finds, in the order the site lists them.
    std::vector<MagnetItem> matches(const std::string& keyword) const;

    int requestCount() const { return requests_.load(); }
    std::vector<std::string> requestLog() const;  // paths with their query, in arrival order
    void resetRequests();
    void setLatency(int milliseconds) { latencyMs_ = milliseconds; }

private:
    void record(const httplib::Request& request);

    MagnetSiteOptions options_;
    std::vector<MagnetItem> items_;
    std::atomic<int> latencyMs_;
    std::atomic<int> requests_{0};
    mutable std::mutex logMutex_;
    std::vector<std::string> log_;
};

}  // namespace ondrel::testsite
