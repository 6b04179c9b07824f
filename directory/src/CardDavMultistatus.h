#pragma once
// A WebDAV multistatus answer (PROPFIND, REPORT) as the sync needs it: per
// member its address, status, ETag and card text, and the collection's
// new sync token.

#include <string>
#include <vector>

namespace directory {

struct DavMember {
    std::string href;
    int status = 0;  // of the member itself (404: removed), else of its properties
    std::string etag;
    std::string card;
    bool hasCard = false;
    bool collection = false;
};

struct Multistatus {
    bool ok = false;
    std::string error;  // why the text could not be read
    std::vector<DavMember> members;
    std::string syncToken;
};

Multistatus ParseMultistatus(const std::string& xml);

}  // namespace directory
