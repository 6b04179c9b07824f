#pragma once
// A real CardDAV server for tests: Debian's Radicale (under /usr/bin/python3)
// with a configuration, an htpasswd user and a storage folder of the test's
// own, listening on 127.0.0.1 on a free port; stopped by the destructor.
// Requests to it are made with the curl program, apart from the code under
// test, as another address-book client would make them.

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vt::test {

class ChildProcess;

struct CurlReply {
    long status = 0;  // 0: no answer
    std::string body;
    std::string etag;
};

class RadicaleTestServer {
public:
    // Starts the server with its files in `folder` (created 0700). Throws
    // std::runtime_error when it does not answer within 15 s.
    explicit RadicaleTestServer(const std::filesystem::path& folder, std::string user = "desk",
                                std::string password = "s3cret");
    ~RadicaleTestServer();
    RadicaleTestServer(const RadicaleTestServer&) = delete;
    RadicaleTestServer& operator=(const RadicaleTestServer&) = delete;

    int Port() const { return port_; }
    const std::string& User() const { return user_; }
    const std::string& Password() const { return password_; }
    // http://127.0.0.1:PORT/USER/NAME/
    std::string BookUrl(const std::string& name) const;

    // Makes an address book (extended MKCOL, as clients do); its URL.
    std::string CreateAddressBook(const std::string& name);
    // Writes cards (file name, text) straight into the storage folder of an
    // address book made here: a large book without a request per card.
    void StoreCards(const std::string& book,
                    const std::vector<std::pair<std::string, std::string>>& cards);
    // Puts a member whose text is no vCard into a book made here, as a store
    // that another program damaged would hold it (the server serves it as is).
    void StoreForeignMember(const std::string& book, const std::string& name,
                            const std::string& text);

    // One request with the curl program (as the server's user unless other
    // credentials are given).
    CurlReply Curl(const std::string& method, const std::string& url, const std::string& body = {},
                   const std::vector<std::string>& headers = {}, const std::string& user = {},
                   const std::string& password = {}) const;

private:
    std::filesystem::path folder_;
    std::string user_, password_;
    std::unique_ptr<ChildProcess> process_;
    int port_ = 0;
};

}  // namespace vt::test
