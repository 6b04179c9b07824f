#include "notify/SmtpSender.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

#include "SmtpConversation.h"
#include "platform/Translate.h"

namespace notify {

namespace {

struct CurlDeleter {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
    void operator()(curl_mime* m) const { curl_mime_free(m); }
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
template <typename T>
using CurlPtr = std::unique_ptr<T, CurlDeleter>;

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

int Progress(void* stop, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* flag = static_cast<const std::atomic<bool>*>(stop);
    return flag && *flag ? 1 : 0;
}

std::string HostOf(const std::string& server) {
    std::string rest = server.substr(server.find("://") + 3);
    return rest.substr(0, rest.find('/'));
}

std::string Seconds(std::chrono::milliseconds ms) {
    return vt::Translate("notify", QT_TRANSLATE_NOOP("notify", "%1초"),
                         {std::to_string((ms.count() + 999) / 1000)});
}

// A failure before any server is asked, as one line of the mail notices.
SendOutcome LocalFailure(const char* text, std::initializer_list<std::string> args = {}) {
    return {MailFailure::Other, "mail: " + vt::Translate("notify", text, args)};
}

curl_slist* Append(curl_slist* list, const std::string& line) {
    curl_slist* grown = curl_slist_append(list, line.c_str());
    if (!grown)
        throw std::bad_alloc();
    return grown;
}

bool IsTlsError(CURLcode code) {
    switch (code) {
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_ENGINE_NOTFOUND:
        case CURLE_SSL_ENGINE_SETFAILED:
        case CURLE_SSL_ENGINE_INITFAILED:
        case CURLE_SSL_SHUTDOWN_FAILED:
        case CURLE_SSL_CRL_BADFILE:
        case CURLE_SSL_ISSUER_ERROR:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        case CURLE_SSL_INVALIDCERTSTATUS:
        case CURLE_SSL_CLIENTCERT:
        case CURLE_USE_SSL_FAILED:
            return true;
        default:
            return false;
    }
}

}  // namespace

const char* MailFailureName(MailFailure failure) {
    switch (failure) {
        case MailFailure::None:
            return "sent";
        case MailFailure::Settings:
            return "settings";
        case MailFailure::Password:
            return "password";
        case MailFailure::Outbox:
            return "outbox";
        case MailFailure::Connection:
            return "connection";
        case MailFailure::Tls:
            return "TLS";
        case MailFailure::Login:
            return "login";
        case MailFailure::Sender:
            return "sender";
        case MailFailure::Recipient:
            return "recipient";
        case MailFailure::Rejected:
            return "message refused";
        case MailFailure::Closed:
            return "connection closed";
        case MailFailure::Timeout:
            return "time-out";
        case MailFailure::Stopped:
            return "stopped";
        case MailFailure::Other:
            return "other";
    }
    return "other";
}

SmtpSender::SmtpSender(MailSettings settings, std::string password, SendLimits limits)
    : settings_(std::move(settings)), password_(std::move(password)), limits_(limits) {}

namespace {

// One line from libcurl's result and what the server said.
SendOutcome Judge(CURLcode code, const SmtpConversation& talk, const std::string& detail,
                  const MailSettings& settings, const SendLimits& limits, bool stopped) {
    const std::string host = HostOf(settings.server);
    const std::string reply = talk.LastReply().empty() ? detail : talk.LastReply();
    // One line in the user's language: a text of the "notify" context and its arguments.
    const auto out = [](MailFailure f, const char* text, std::initializer_list<std::string> args) {
        return SendOutcome{f, "mail: " + vt::Translate("notify", text, args)};
    };
    const char* kLogin =
        QT_TRANSLATE_NOOP("notify", "%2이(가) %1(으)로 로그인하는 것을 거부했습니다: %3");
    if (code == CURLE_OK)
        return out(MailFailure::None, QT_TRANSLATE_NOOP("notify", "%1(으)로 보냈습니다"), {host});
    if (stopped || code == CURLE_ABORTED_BY_CALLBACK)
        return out(MailFailure::Stopped,
                   QT_TRANSLATE_NOOP("notify", "%1(으)로 보내기를 멈췄습니다"), {host});
    if (code == CURLE_COULDNT_RESOLVE_HOST)
        return out(MailFailure::Connection,
                   QT_TRANSLATE_NOOP("notify", "%1의 서버 이름을 찾을 수 없습니다 (%2)"),
                   {settings.server, detail});
    if (code == CURLE_COULDNT_CONNECT)
        return out(MailFailure::Connection,
                   QT_TRANSLATE_NOOP("notify", "%1에 연결할 수 없습니다 (%2)"), {host, detail});
    if (IsTlsError(code))
        return out(MailFailure::Tls,
                   QT_TRANSLATE_NOOP("notify", "%1와(과)의 TLS가 실패했습니다: %2"),
                   {host, detail});
    if (code == CURLE_LOGIN_DENIED || code == CURLE_AUTH_ERROR)
        return out(MailFailure::Login, kLogin, {settings.user, host, reply});
    if (code == CURLE_OPERATION_TIMEDOUT) {
        if (talk.Connecting())
            return out(MailFailure::Connection,
                       QT_TRANSLATE_NOOP("notify", "%1이(가) %2 안에 응답하지 않았습니다%3"),
                       {host, Seconds(limits.connect),
                        talk.LastCommand().empty()
                            ? std::string()
                            : vt::Translate("notify", QT_TRANSLATE_NOOP("notify", " (%1 다음)"),
                                            {talk.LastCommand()})});
        return out(MailFailure::Timeout,
                   QT_TRANSLATE_NOOP("notify", "%1이(가) 응답을 멈췄습니다 (%2 다음; 모두 %3)"),
                   {host, talk.LastCommand(), Seconds(limits.total)});
    }
    if (code == CURLE_READ_ERROR)
        return out(MailFailure::Other,
                   QT_TRANSLATE_NOOP("notify", "첨부 파일을 읽을 수 없습니다 (%1)"), {detail});
    // The server answered a step with a refusal.
    if (talk.LastReplyCode() >= 400) {
        if (talk.FinalReply())
            return out(MailFailure::Rejected,
                       QT_TRANSLATE_NOOP("notify", "%1이(가) 메시지를 거부했습니다: %2"),
                       {host, reply});
        if (talk.LastCommand() == "RCPT")
            return out(MailFailure::Recipient,
                       QT_TRANSLATE_NOOP("notify", "%2이(가) 받는 사람 %1을(를) 거부했습니다: %3"),
                       {talk.Recipient(), host, reply});
        if (talk.LastCommand() == "MAIL")
            return out(
                MailFailure::Sender,
                QT_TRANSLATE_NOOP("notify", "%2이(가) 보내는 사람 %1을(를) 거부했습니다: %3"),
                {settings.from, host, reply});
        if (talk.LastCommand() == "AUTH")
            return out(MailFailure::Login, kLogin, {settings.user, host, reply});
        if (talk.LastCommand() == "STARTTLS")
            return out(MailFailure::Tls,
                       QT_TRANSLATE_NOOP("notify", "%1이(가) STARTTLS를 거부했습니다: %2"),
                       {host, reply});
        if (talk.Connecting())
            return out(MailFailure::Connection,
                       QT_TRANSLATE_NOOP("notify", "%1이(가) 연결을 거부했습니다: %2"),
                       {host, reply});
    }
    if (!talk.FinalReply() && talk.AnyReply())
        return out(
            MailFailure::Closed,
            QT_TRANSLATE_NOOP("notify", "%1이(가) 메시지를 받기 전에 연결을 끝냈습니다 (%2)"),
            {host, detail});
    if (!talk.AnyReply())
        return out(MailFailure::Connection,
                   QT_TRANSLATE_NOOP("notify", "%1이(가) 인사 없이 연결을 닫았습니다 (%2)"),
                   {host, detail});
    return out(MailFailure::Other, QT_TRANSLATE_NOOP("notify", "%1(으)로 보내지 못했습니다: %2"),
               {host, detail});
}

}  // namespace

SendOutcome SmtpSender::Send(const OutgoingMail& mail, const std::atomic<bool>* stop) const {
    InitCurlOnce();
    CurlPtr<CURL> curl(curl_easy_init());
    if (!curl)
        return LocalFailure(QT_TRANSLATE_NOOP("notify", "libcurl을 시작할 수 없습니다"));
    SmtpConversation talk;
    char errorText[CURL_ERROR_SIZE] = {};
    CurlPtr<curl_slist> recipients;
    CurlPtr<curl_slist> headers;
    CurlPtr<curl_mime> mime(curl_mime_init(curl.get()));
    try {
        for (const auto& to : settings_.to)
            recipients.reset(Append(recipients.release(), "<" + to + ">"));
        std::string toHeader;
        for (const auto& to : settings_.to) toHeader += (toHeader.empty() ? "" : ", ") + to;
        const std::string domain = settings_.from.substr(settings_.from.find('@') + 1);
        for (const std::string& h :
             {"Date: " + MailDate(std::chrono::system_clock::now()), "From: " + settings_.from,
              "To: " + toHeader, "Subject: " + EncodeHeaderText(mail.subject),
              "Message-ID: <" + mail.messageId + ".vantelo@" + domain + ">"})
            headers.reset(Append(headers.release(), h));
    } catch (const std::bad_alloc&) {
        return LocalFailure(QT_TRANSLATE_NOOP("notify", "메모리가 부족합니다"));
    }

    curl_mimepart* text = curl_mime_addpart(mime.get());
    curl_mime_data(text, mail.body.data(), mail.body.size());
    curl_mime_type(text, "text/plain; charset=UTF-8");
    curl_mime_encoder(text, "quoted-printable");
    if (!mail.attachment.empty()) {
        curl_mimepart* file = curl_mime_addpart(mime.get());
        if (curl_mime_filedata(file, mail.attachment.c_str()) != CURLE_OK)
            return LocalFailure(QT_TRANSLATE_NOOP("notify", "첨부 파일 %1을(를) 읽을 수 없습니다"),
                                {mail.attachment.string()});
        curl_mime_filename(file, mail.attachmentName.c_str());
        curl_mime_type(file, mail.attachmentType.c_str());
        curl_mime_encoder(file, "base64");
    }

    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, settings_.server.c_str());
    // smtp:// upgrades with STARTTLS where the server offers it; smtps://
    // is TLS from the start.
    curl_easy_setopt(c, CURLOPT_USE_SSL,
                     static_cast<long>(settings_.ImplicitTls() ? CURLUSESSL_ALL : CURLUSESSL_TRY));
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, ("<" + settings_.from + ">").c_str());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients.get());
    if (!settings_.user.empty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, settings_.user.c_str());
        curl_easy_setopt(c, CURLOPT_PASSWORD, password_.c_str());
    }
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(c, CURLOPT_MIMEPOST, mime.get());
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits_.connect.count()));
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(limits_.total.count()));
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, Progress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, stop);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, SmtpConversation::Debug);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &talk);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);

    const CURLcode code = curl_easy_perform(c);
    const std::string detail = errorText[0] ? errorText : curl_easy_strerror(code);
    // The handle goes before the MIME tree and the lists it points to.
    curl.reset();
    return Judge(code, talk, detail, settings_, limits_, stop && *stop);
}

}  // namespace notify
