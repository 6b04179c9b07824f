// The words of a message mail: encoded header text, subject, body, date.

#include <gtest/gtest.h>

#include <regex>

#include "notify/MailText.h"

namespace {

// Decodes "=?UTF-8?B?...?=" words separated by spaces (the test's own
// reading, independent of the encoder).
std::string DecodeWords(const std::string& header) {
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::regex word("=\\?UTF-8\\?B\\?([A-Za-z0-9+/=]*)\\?=");
    for (std::sregex_iterator it(header.begin(), header.end(), word), end; it != end; ++it) {
        const std::string b64 = (*it)[1];
        unsigned buffer = 0;
        int bits = 0;
        for (char c : b64) {
            if (c == '=')
                break;
            buffer = (buffer << 6) | static_cast<unsigned>(alphabet.find(c));
            bits += 6;
            if (bits >= 8) {
                bits -= 8;
                out += static_cast<char>((buffer >> bits) & 0xff);
            }
        }
    }
    return out;
}

bool ValidUtf8(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += n;
    }
    return true;
}

TEST(MailTextTest, HeaderTextIsEncodedInWholeCharactersWithinTheWordLimit) {
    struct Case {
        std::string text;
        bool encoded;
        std::string decoded;  // what a reader shows
    };
    const Case cases[] = {
        {"Vantelo test", false, "Vantelo test"},
        {"새 메시지: 홍길동 (0212345678), 2026-12-09 10:00:00", true,
         "새 메시지: 홍길동 (0212345678), 2026-12-09 10:00:00"},
        // Long enough for several words; each must decode on its own.
        {std::string(40, 'a') + "가나다라마바사아자차카타파하가나다라마바사아자차카타파하", true,
         std::string(40, 'a') + "가나다라마바사아자차카타파하가나다라마바사아자차카타파하"},
        // A line break in a caller's name must not start a new header.
        {"Kim\r\nBcc: x@example.org", false, "Kim  Bcc: x@example.org"},
        // Plain text that looks like the start of an encoded word.
        {"=?x", true, "=?x"},
    };
    for (const auto& c : cases) {
        const std::string header = notify::EncodeHeaderText(c.text);
        EXPECT_EQ(header.find_first_of("\r\n"), std::string::npos) << c.text;
        if (!c.encoded) {
            EXPECT_EQ(header, c.decoded);
            continue;
        }
        std::regex word("=\\?UTF-8\\?B\\?([A-Za-z0-9+/=]*)\\?=");
        std::size_t words = 0;
        for (std::sregex_iterator it(header.begin(), header.end(), word), end; it != end; ++it) {
            ++words;
            EXPECT_LE(it->length(), 75) << c.text;
            EXPECT_TRUE(ValidUtf8(DecodeWords(it->str()))) << "word cut inside a character";
        }
        EXPECT_GE(words, 1u);
        EXPECT_EQ(DecodeWords(header), c.decoded);
    }
}

TEST(MailTextTest, LengthsReadAsMinutesAndSeconds) {
    const std::pair<int, std::string> cases[] = {{0, "0초"},         {12, "12초"},
                                                 {60, "1분 0초"},    {65, "1분 5초"},
                                                 {3725, "62분 5초"}, {-3, "0초"}};
    for (const auto& [seconds, text] : cases) EXPECT_EQ(notify::LengthText(seconds), text);
}

TEST(MailTextTest, SubjectAndBodyNameCallerNumberTimeAndLength) {
    struct Case {
        notify::MessageMail message;
        notify::AttachKind attach;
        std::string subject;
        std::vector<std::string> inBody;
    };
    const Case cases[] = {
        {{7, "0212345678", "홍길동", "2026-12-09 10:00:00", 65, "/r/a.wav"},
         notify::AttachKind::Mp3,
         "새 메시지: 홍길동 (0212345678), 2026-12-09 10:00:00",
         {"발신자: 홍길동", "번호: 0212345678", "시각: 2026-12-09 10:00:00", "길이: 1분 5초",
          "(MP3)"}},
        {{8, "0311112222", "", "2026-12-09 11:00:00", 9, ""},
         notify::AttachKind::None,
         "새 메시지: 0311112222, 2026-12-09 11:00:00",
         {"이름 없음", "길이: 9초"}},
        {{9, "", "", "2026-12-09 12:00:00", 3, ""},
         notify::AttachKind::Wav,
         "새 메시지: 번호 없음, 2026-12-09 12:00:00",
         {"번호: 번호 없음", "(WAV)"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(notify::MessageSubject(c.message), c.subject);
        const std::string body = notify::MessageBody(c.message, c.attach);
        for (const auto& part : c.inBody) EXPECT_NE(body.find(part), std::string::npos) << part;
    }
}

TEST(MailTextTest, MailOfAMessageNamesItsAttachmentByTimeAndNumber) {
    const notify::MessageMail m{1, "02-123 45", "Lee", "2026-12-09 10:00:00", 5, "/r/a.vrc"};
    const auto mp3 = notify::MessageToMail(m, notify::AttachKind::Mp3, "/o/x.mp3", "x");
    EXPECT_EQ(mp3.attachmentName, "message-2026-12-09-10-00-00-02-123-45.mp3");
    EXPECT_EQ(mp3.attachmentType, "audio/mpeg");
    const auto wav = notify::MessageToMail(m, notify::AttachKind::Wav, "/o/x.wav", "x");
    EXPECT_EQ(wav.attachmentType, "audio/wav");
    // An item whose attachment is gone is still mailed, saying nothing of one.
    const auto none = notify::MessageToMail(m, notify::AttachKind::Mp3, "", "x");
    EXPECT_TRUE(none.attachment.empty());
    EXPECT_EQ(none.body.find("첨부"), std::string::npos);
}

TEST(MailTextTest, DatesAreInTheMailFormatWhateverTheLocale) {
    const auto date = notify::MailDate(std::chrono::system_clock::from_time_t(1797000000));
    EXPECT_TRUE(std::regex_match(
        date, std::regex("(Mon|Tue|Wed|Thu|Fri|Sat|Sun), \\d\\d (Jan|Feb|Mar|Apr|May|Jun|Jul|"
                         "Aug|Sep|Oct|Nov|Dec) \\d{4} \\d\\d:\\d\\d:\\d\\d [+-]\\d{4}")))
        << date;
}

}  // namespace
