#include "directory/LdapClient.h"

#include <ldap.h>

#include <vector>

#include "directory/LdapFilter.h"
#include "directory/PhoneNumber.h"
#include "platform/Translate.h"

namespace directory {

namespace {

std::string NoAnswerInTime() {
    return vt::Translate("directory", QT_TRANSLATE_NOOP("directory", "제때 응답이 없습니다"));
}

// Enough entries to find the one that holds the number among those that
// end alike; the rest is the directory's problem, not the caller's.
constexpr int kSizeLimit = 50;

timeval Remaining(LdapClient::Deadline deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::microseconds>(
        deadline - std::chrono::steady_clock::now());
    const long long us = left.count() > 0 ? left.count() : 0;
    return timeval{static_cast<time_t>(us / 1000000), static_cast<suseconds_t>(us % 1000000)};
}

std::vector<std::string> Values(LDAP* ld, LDAPMessage* entry, const std::string& attribute) {
    std::vector<std::string> out;
    berval** values = ldap_get_values_len(ld, entry, attribute.c_str());
    if (!values)
        return out;
    for (berval** v = values; *v; ++v) out.emplace_back((*v)->bv_val, (*v)->bv_len);
    ldap_value_free_len(values);
    return out;
}

}  // namespace

LdapClient::LdapClient(LdapSettings settings, std::string password)
    : settings_(std::move(settings)), password_(std::move(password)) {}

LdapClient::~LdapClient() {
    Drop();
}

void LdapClient::Drop() {
    if (ld_)
        ldap_unbind_ext(ld_, nullptr, nullptr);  // closes the socket, sends no wait
    ld_ = nullptr;
}

std::string LdapClient::LastError() const {
    int code = LDAP_OTHER;
    if (ld_)
        ldap_get_option(ld_, LDAP_OPT_RESULT_CODE, &code);
    return ldap_err2string(code);
}

bool LdapClient::WaitResult(int msgid, Deadline deadline, int& code, std::string& error) {
    LDAPMessage* message = nullptr;
    timeval wait = Remaining(deadline);
    const int rc = ldap_result(ld_, msgid, LDAP_MSG_ALL, &wait, &message);
    if (rc == 0) {
        error = NoAnswerInTime();
        return false;
    }
    if (rc < 0) {
        error = LastError();
        return false;
    }
    char* text = nullptr;
    const int parsed = ldap_parse_result(ld_, message, &code, nullptr, &text, nullptr, nullptr, 1);
    if (parsed != LDAP_SUCCESS) {
        error = ldap_err2string(parsed);
        return false;
    }
    if (code != LDAP_SUCCESS)
        error =
            std::string(ldap_err2string(code)) + (text && *text ? std::string(": ") + text : "");
    ldap_memfree(text);
    return true;
}

bool LdapClient::Connect(Deadline deadline, std::string& error) {
    int rc = ldap_initialize(&ld_, settings_.server.c_str());
    if (rc != LDAP_SUCCESS) {
        ld_ = nullptr;
        error = std::string("server ") + settings_.server + ": " + ldap_err2string(rc);
        return false;
    }
    const int version = LDAP_VERSION3;
    ldap_set_option(ld_, LDAP_OPT_PROTOCOL_VERSION, &version);
    ldap_set_option(ld_, LDAP_OPT_REFERRALS, LDAP_OPT_OFF);
    // The connect (and a TLS handshake) inside the first request, and any
    // call the library makes synchronously itself, end by the deadline too.
    const timeval left = Remaining(deadline);
    ldap_set_option(ld_, LDAP_OPT_NETWORK_TIMEOUT, &left);
    ldap_set_option(ld_, LDAP_OPT_TIMEOUT, &left);
    int msgid = 0;
    int code = LDAP_SUCCESS;
    if (settings_.startTls) {
        rc = ldap_start_tls(ld_, nullptr, nullptr, &msgid);
        if (rc != LDAP_SUCCESS || !WaitResult(msgid, deadline, code, error) ||
            code != LDAP_SUCCESS) {
            if (error.empty())
                error = ldap_err2string(rc);
            error = "StartTLS: " + error;
            Drop();
            return false;
        }
        rc = ldap_install_tls(ld_);
        if (rc != LDAP_SUCCESS) {
            error = std::string("StartTLS: ") + ldap_err2string(rc);
            Drop();
            return false;
        }
    }
    if (!settings_.bindDn.empty()) {
        berval credentials{static_cast<ber_len_t>(password_.size()), password_.data()};
        rc = ldap_sasl_bind(ld_, settings_.bindDn.c_str(), LDAP_SASL_SIMPLE, &credentials, nullptr,
                            nullptr, &msgid);
        if (rc != LDAP_SUCCESS || !WaitResult(msgid, deadline, code, error) ||
            code != LDAP_SUCCESS) {
            if (error.empty())
                error = rc != LDAP_SUCCESS ? LastError() : ldap_err2string(code);
            error = "bind as " + settings_.bindDn + ": " + error;
            Drop();
            return false;
        }
    }
    return true;
}

LdapAnswer LdapClient::Find(const std::string& number, Deadline deadline) {
    LdapAnswer answer;
    const std::string national = NationalNumber(number);
    const std::string filter = NumberFilter(settings_.numberAttributes, national);
    if (filter.empty())
        return answer;
    const auto failed = [&](const std::string& why) {
        Drop();
        answer.outcome = LdapAnswer::Outcome::Failed;
        answer.error = settings_.server + ": " + why;
        return answer;
    };
    std::string error;
    if (!ld_ && !Connect(deadline, error))
        return failed(error);

    std::vector<std::string> wanted = settings_.numberAttributes;
    wanted.insert(wanted.end(), settings_.nameAttributes.begin(), settings_.nameAttributes.end());
    std::vector<char*> attributes;
    for (std::string& a : wanted) attributes.push_back(a.data());
    attributes.push_back(nullptr);
    int msgid = 0;
    int rc = ldap_search_ext(ld_, settings_.base.c_str(), LDAP_SCOPE_SUBTREE, filter.c_str(),
                             attributes.data(), 0, nullptr, nullptr, nullptr, kSizeLimit, &msgid);
    if (rc != LDAP_SUCCESS)
        return failed(ldap_err2string(rc));

    for (;;) {
        LDAPMessage* message = nullptr;
        timeval wait = Remaining(deadline);
        rc = ldap_result(ld_, msgid, LDAP_MSG_ONE, &wait, &message);
        if (rc == 0) {
            ldap_abandon_ext(ld_, msgid, nullptr, nullptr);
            return failed(NoAnswerInTime());
        }
        if (rc < 0)
            return failed(LastError());
        if (rc == LDAP_RES_SEARCH_ENTRY && answer.outcome != LdapAnswer::Outcome::Found) {
            bool holds = false;
            for (const std::string& attribute : settings_.numberAttributes)
                for (const std::string& value : Values(ld_, message, attribute))
                    holds = holds || NationalNumber(value) == national;
            for (const std::string& attribute : settings_.nameAttributes) {
                if (!holds)
                    break;
                const auto names = Values(ld_, message, attribute);
                if (!names.empty() && !names.front().empty()) {
                    answer.outcome = LdapAnswer::Outcome::Found;
                    answer.name = names.front();
                    break;
                }
            }
        }
        if (rc != LDAP_RES_SEARCH_RESULT) {
            ldap_msgfree(message);
            continue;
        }
        int code = LDAP_SUCCESS;
        rc = ldap_parse_result(ld_, message, &code, nullptr, nullptr, nullptr, nullptr, 1);
        if (rc != LDAP_SUCCESS)
            return failed(ldap_err2string(rc));
        // More entries than the limit: those read may still hold the number.
        if (code != LDAP_SUCCESS && code != LDAP_SIZELIMIT_EXCEEDED &&
            answer.outcome != LdapAnswer::Outcome::Found)
            return failed(ldap_err2string(code));
        return answer;
    }
}

}  // namespace directory
