#include "CardDavHttp.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <mutex>

#include "platform/Translate.h"

namespace directory {

namespace {

size_t Collect(char* data, size_t size, size_t count, void* out) {
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

size_t Header(char* data, size_t size, size_t count, void* out) {
    const std::string line(data, size * count);
    const auto colon = line.find(':');
    if (colon != std::string::npos) {
        std::string name = line.substr(0, colon);
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (name == "etag") {
            std::string value = line.substr(colon + 1);
            const auto first = value.find_first_not_of(" \t");
            const auto last = value.find_last_not_of(" \t\r\n");
            *static_cast<std::string*>(out) =
                first == std::string::npos ? "" : value.substr(first, last - first + 1);
        }
    }
    return size * count;
}

int Progress(void* stop, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* flag = static_cast<const std::atomic<bool>*>(stop);
    return flag && flag->load() ? 1 : 0;  // non-zero aborts the transfer
}

void GlobalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

struct CardDavHttp::Impl {
    CURL* curl = nullptr;
    std::string user, password;
    long connectSeconds, requestSeconds;
    const std::atomic<bool>* stop = nullptr;
};

CardDavHttp::CardDavHttp(std::string user, std::string password, long connectSeconds,
                         long requestSeconds, const std::atomic<bool>* stop)
    : impl_(std::make_unique<Impl>()) {
    impl_->stop = stop;
    GlobalInit();
    impl_->curl = curl_easy_init();
    impl_->user = std::move(user);
    impl_->password = std::move(password);
    impl_->connectSeconds = connectSeconds;
    impl_->requestSeconds = requestSeconds;
}

CardDavHttp::~CardDavHttp() {
    if (impl_->curl)
        curl_easy_cleanup(impl_->curl);
}

HttpReply CardDavHttp::Send(const std::string& method, const std::string& url,
                            const std::string& body, const std::vector<std::string>& headers) {
    HttpReply reply;
    CURL* c = impl_->curl;
    if (!c) {
        reply.error = vt::Translate(
            "directory", QT_TRANSLATE_NOOP("directory", "libcurl이 시작되지 않았습니다"));
        return reply;
    }
    curl_easy_reset(c);
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, method.c_str());
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);  // threads: no alarm() for name look-ups
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, impl_->connectSeconds);
    curl_easy_setopt(c, CURLOPT_TIMEOUT, impl_->requestSeconds);
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    if (impl_->stop) {
        curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, Progress);
        curl_easy_setopt(c, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(impl_->stop));
    }
    if (!impl_->user.empty()) {
        curl_easy_setopt(c, CURLOPT_HTTPAUTH, CURLAUTH_BASIC);
        curl_easy_setopt(c, CURLOPT_USERNAME, impl_->user.c_str());
        curl_easy_setopt(c, CURLOPT_PASSWORD, impl_->password.c_str());
    }
    if (method == "GET") {
        curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
    } else if (method != "DELETE") {
        curl_easy_setopt(c, CURLOPT_POSTFIELDS, body.data());
        curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    }
    curl_slist* list = nullptr;
    for (const auto& h : headers) list = curl_slist_append(list, h.c_str());
    list = curl_slist_append(list, "Expect:");  // no 100-continue round trip
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, list);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &reply.body);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, Header);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &reply.etag);
    const CURLcode rc = curl_easy_perform(c);
    curl_slist_free_all(list);
    if (rc != CURLE_OK) {
        reply.error = curl_easy_strerror(rc);
        return reply;
    }
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &reply.status);
    return reply;
}

}  // namespace directory
