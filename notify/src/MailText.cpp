#include "notify/MailText.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace notify {

namespace {

std::string Base64(const std::string& bytes) {
    static const char* const kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                           (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                           static_cast<unsigned char>(bytes[i + 2]);
        for (int shift : {18, 12, 6, 0}) out += kAlphabet[(v >> shift) & 63];
    }
    if (i < bytes.size()) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? kAlphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

// Length of the UTF-8 sequence a lead byte starts (1 for stray bytes, so
// bad input still moves on).
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8)
        return 4;
    if (lead >= 0xE0)
        return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

// The words of a header value in one line: control characters (a CR or LF
// in a caller's name would start a new header) become spaces.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < ' ' || c == 0x7f)
            c = ' ';
    return text;
}

std::string OrDash(const std::string& s, const char* fallback) {
    return s.empty() ? fallback : s;
}

}  // namespace

std::string EncodeHeaderText(const std::string& utf8) {
    const std::string text = OneLine(utf8);
    bool plain = true;
    for (unsigned char c : text) plain = plain && c >= ' ' && c < 0x7f;
    // "=?" in plain text would be read as the start of an encoded word.
    if (plain && text.find("=?") == std::string::npos)
        return text;
    // "=?UTF-8?B?" + base64 + "?=" within 75 characters: 63 base64
    // characters, so at most 45 bytes of text in a word.
    constexpr std::size_t kMaxBytes = 45;
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = at;
        while (end < text.size()) {
            const std::size_t next =
                std::min(text.size(), end + SequenceLength(static_cast<unsigned char>(text[end])));
            if (next - at > kMaxBytes)
                break;
            end = next;
        }
        if (!out.empty())
            out += ' ';
        out += "=?UTF-8?B?" + Base64(text.substr(at, end - at)) + "?=";
        at = end;
    }
    return out;
}

std::string LengthText(int seconds) {
    if (seconds < 0)
        seconds = 0;
    if (seconds < 60)
        return std::to_string(seconds) + "초";
    return std::to_string(seconds / 60) + "분 " + std::to_string(seconds % 60) + "초";
}

std::string MessageSubject(const MessageMail& m) {
    std::string caller = m.name.empty() ? OrDash(m.number, "번호 없음")
                                        : m.name + " (" + OrDash(m.number, "번호 없음") + ")";
    return OneLine("새 메시지: " + caller + ", " + m.start);
}

std::string MessageBody(const MessageMail& m, AttachKind attach) {
    std::string body = "자동 응답으로 새 메시지가 녹음되었습니다.\n\n";
    body += "발신자: " + OrDash(OneLine(m.name), "이름 없음") + "\n";
    body += "번호: " + OrDash(OneLine(m.number), "번호 없음") + "\n";
    body += "시각: " + OneLine(m.start) + "\n";
    body += "길이: " + LengthText(m.seconds) + "\n";
    switch (attach) {
        case AttachKind::Mp3:
            body += "녹음: 첨부 파일 (MP3)\n";
            break;
        case AttachKind::Wav:
            body += "녹음: 첨부 파일 (WAV)\n";
            break;
        case AttachKind::None:
            break;
    }
    return body;
}

OutgoingMail MessageToMail(const MessageMail& message, AttachKind attach,
                           const std::filesystem::path& attachment, const std::string& id) {
    OutgoingMail mail;
    mail.subject = MessageSubject(message);
    mail.messageId = id;
    const bool hasFile = attach != AttachKind::None && !attachment.empty();
    mail.body = MessageBody(message, hasFile ? attach : AttachKind::None);
    if (hasFile) {
        mail.attachment = attachment;
        // A name that says when and who, in characters every mail reader keeps.
        std::string stem;
        for (char c : message.start + "-" + message.number)
            stem += (std::isalnum(static_cast<unsigned char>(c)) || c == '-') ? c : '-';
        const bool mp3 = attach == AttachKind::Mp3;
        mail.attachmentName = "message-" + stem + (mp3 ? ".mp3" : ".wav");
        mail.attachmentType = mp3 ? "audio/mpeg" : "audio/wav";
    }
    return mail;
}

OutgoingMail TestMail(std::chrono::system_clock::time_point now) {
    OutgoingMail mail;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch());
    mail.subject = "Vantelo 메일 시험";
    mail.body = "Vantelo의 메일 설정이 작동합니다. 새 메시지가 이 주소로 보내집니다.\n";
    mail.messageId = "test-" + std::to_string(seconds.count());
    return mail;
}

std::string MailDate(std::chrono::system_clock::time_point at) {
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::time_t t = std::chrono::system_clock::to_time_t(at);
    std::tm local{};
    ::localtime_r(&t, &local);
    const long offset = local.tm_gmtoff / 60;
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld",
                  kDays[local.tm_wday], local.tm_mday, kMonths[local.tm_mon], local.tm_year + 1900,
                  local.tm_hour, local.tm_min, local.tm_sec, offset < 0 ? '-' : '+',
                  std::labs(offset) / 60, std::labs(offset) % 60);
    return text;
}

}  // namespace notify
