#pragma once
// The HTTP requests of the address-book sync over one libcurl handle (the
// connection is kept between requests). Every request has a connect time-out
// and an overall time-out, so a server that stops answering ends it.

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace directory {

struct HttpReply {
    long status = 0;  // 0 when no answer came (see error)
    std::string body;
    std::string etag;   // the ETag header, quotes kept
    std::string error;  // transport failure (refused, time-out ...); empty otherwise
};

class CardDavHttp {
public:
    // `stop` (optional) ends a request in progress as soon as it is set.
    CardDavHttp(std::string user, std::string password, long connectSeconds = 10,
                long requestSeconds = 120, const std::atomic<bool>* stop = nullptr);
    ~CardDavHttp();
    CardDavHttp(const CardDavHttp&) = delete;
    CardDavHttp& operator=(const CardDavHttp&) = delete;

    HttpReply Send(const std::string& method, const std::string& url, const std::string& body,
                   const std::vector<std::string>& headers);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace directory
