#include "XlsReader.h"

#include <fcntl.h>
#include <freexl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <memory>

#include "NumberText.h"
#include "platform/Translate.h"
#include "workbook/Workbook.h"

namespace workbook {

namespace {

struct FreeXlClose {
    void operator()(const void* handle) const { freexl_close(handle); }
};

std::string Reason(int code) {
    switch (code) {
        case FREEXL_INSUFFICIENT_MEMORY:
            return vt::Translate(
                "workbook", QT_TRANSLATE_NOOP("workbook", "통합 문서를 읽을 메모리가 부족합니다"));
        case FREEXL_FILE_NOT_FOUND:
            return vt::Translate("workbook",
                                 QT_TRANSLATE_NOOP("workbook", "통합 문서를 열 수 없습니다"));
        case FREEXL_UNSUPPORTED_CHARSET:
        case FREEXL_INVALID_CHARACTER:
            return vt::Translate(
                "workbook",
                QT_TRANSLATE_NOOP("workbook", "통합 문서의 문자 인코딩을 읽을 수 없습니다"));
        default:
            return vt::Translate(
                "workbook", QT_TRANSLATE_NOOP(
                                "workbook", "통합 문서가 손상되었거나 Excel 통합 문서가 아닙니다"));
    }
}

// The sheets travel from the reading process as length-prefixed fields.
void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void PutText(std::string& out, const std::string& text) {
    PutU32(out, static_cast<std::uint32_t>(text.size()));
    out += text;
}

class Reader {
public:
    explicit Reader(const std::string& data) : data_(data) {}
    bool U32(std::uint32_t& v) {
        if (data_.size() - pos_ < 4)
            return false;
        v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(data_[pos_ + i]);
        pos_ += 4;
        return true;
    }
    bool Text(std::string& text) {
        std::uint32_t n = 0;
        if (!U32(n) || data_.size() - pos_ < n)
            return false;
        text = data_.substr(pos_, n);
        pos_ += n;
        return true;
    }

private:
    const std::string& data_;
    size_t pos_ = 0;
};

std::string Serialize(const Workbook& book) {
    std::string out = "O";
    PutU32(out, static_cast<std::uint32_t>(book.SheetCount()));
    for (int s = 0; s < book.SheetCount(); ++s) {
        const Sheet& sheet = *book.GetSheet(s);
        PutText(out, sheet.Name());
        const UsedRange used = sheet.Used();
        std::string cells;
        std::uint32_t count = 0;
        for (int r = used.row; r <= used.LastRow(); ++r)
            for (int c = used.column; c <= used.LastColumn(); ++c)
                if (!sheet.Text(r, c).empty()) {
                    PutU32(cells, static_cast<std::uint32_t>(r));
                    PutU32(cells, static_cast<std::uint32_t>(c));
                    PutText(cells, sheet.Text(r, c));
                    ++count;
                }
        PutU32(out, count);
        out += cells;
    }
    return out;
}

bool Deserialize(const std::string& data, Workbook& book, std::string& error) {
    if (!data.empty() && data[0] == 'E') {
        error = data.substr(1);
        return false;
    }
    std::uint32_t sheets = 0;
    bool ok = !data.empty() && data[0] == 'O';
    const std::string rest = ok ? data.substr(1) : std::string();
    Reader body(rest);
    ok = ok && body.U32(sheets);
    for (std::uint32_t s = 0; ok && s < sheets; ++s) {
        std::string name;
        std::uint32_t count = 0;
        ok = body.Text(name) && body.U32(count);
        Sheet& sheet = book.AddSheet(std::move(name));
        for (std::uint32_t i = 0; ok && i < count; ++i) {
            std::uint32_t r = 0, c = 0;
            std::string text;
            ok = body.U32(r) && body.U32(c) && body.Text(text) &&
                 sheet.SetText(static_cast<int>(r), static_cast<int>(c), std::move(text));
        }
    }
    if (!ok)
        error = vt::Translate(
            "workbook",
            QT_TRANSLATE_NOOP("workbook", "통합 문서가 손상되었습니다 (읽기가 실패했습니다)"));
    return ok;
}

}  // namespace

// Reads in this process; the sheets go into `book`.
bool ReadXlsHere(const std::filesystem::path& file, Workbook& book, std::string& error) {
    const void* raw = nullptr;
    int rc = freexl_open(file.c_str(), &raw);
    std::unique_ptr<const void, FreeXlClose> handle(raw);
    if (rc != FREEXL_OK || !raw) {
        error = Reason(rc);
        return false;
    }
    unsigned int info = 0;
    if (freexl_get_info(raw, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
        info == FREEXL_BIFF_OBFUSCATED) {
        error = vt::Translate(
            "workbook", QT_TRANSLATE_NOOP("workbook", "통합 문서가 비밀번호로 보호되어 있습니다"));
        return false;
    }
    unsigned int count = 0;
    if (freexl_get_info(raw, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK || count == 0) {
        error = Reason(FREEXL_ILLEGAL_CELL_ROW_COL);
        return false;
    }
    for (unsigned int i = 0; i < count; ++i) {
        const char* name = nullptr;
        unsigned int rows = 0;
        unsigned short columns = 0;
        if (freexl_get_worksheet_name(raw, static_cast<unsigned short>(i), &name) != FREEXL_OK ||
            freexl_select_active_worksheet(raw, static_cast<unsigned short>(i)) != FREEXL_OK ||
            freexl_worksheet_dimensions(raw, &rows, &columns) != FREEXL_OK) {
            error = Reason(FREEXL_ILLEGAL_CELL_ROW_COL);
            return false;
        }
        Sheet& sheet = book.AddSheet(name ? name : "");
        if (rows > static_cast<unsigned>(Sheet::kMaxRows) ||
            columns > static_cast<unsigned>(Sheet::kMaxColumns)) {
            error = Reason(FREEXL_ILLEGAL_CELL_ROW_COL);
            return false;
        }
        for (unsigned int r = 0; r < rows; ++r) {
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue v;
                if (freexl_get_cell_value(raw, r, c, &v) != FREEXL_OK)
                    continue;
                std::string text;
                switch (v.type) {
                    case FREEXL_CELL_INT:
                        text = std::to_string(v.value.int_value);
                        break;
                    case FREEXL_CELL_DOUBLE:
                        text = NumberText(v.value.double_value);
                        break;
                    case FREEXL_CELL_TEXT:
                    case FREEXL_CELL_SST_TEXT:
                    case FREEXL_CELL_DATE:
                    case FREEXL_CELL_DATETIME:
                    case FREEXL_CELL_TIME:
                        if (v.value.text_value)
                            text = v.value.text_value;
                        break;
                    default:
                        break;
                }
                sheet.SetText(static_cast<int>(r) + 1, c + 1, std::move(text));
            }
        }
    }
    return true;
}

// FreeXL is not safe against every crafted file, so it runs in a child
// process: a crash or a hang there is a damaged workbook here, never the
// end of the program. The child only reads and writes its answer.
bool ReadXls(const std::filesystem::path& file, Workbook& book, std::string& error) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        error = vt::Translate("workbook",
                              QT_TRANSLATE_NOOP("workbook", "통합 문서를 읽을 수 없습니다: %1"),
                              {std::strerror(errno)});
        return false;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        error = vt::Translate("workbook",
                              QT_TRANSLATE_NOOP("workbook", "통합 문서를 읽을 수 없습니다: %1"),
                              {std::strerror(errno)});
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return false;
    }
    if (child == 0) {
        ::close(pipeFds[0]);
        Workbook read;
        std::string why;
        const std::string answer = ReadXlsHere(file, read, why) ? Serialize(read) : "E" + why;
        size_t done = 0;
        while (done < answer.size()) {
            const ssize_t n = ::write(pipeFds[1], answer.data() + done, answer.size() - done);
            if (n <= 0 && errno != EINTR)
                ::_exit(1);
            if (n > 0)
                done += static_cast<size_t>(n);
        }
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string data;
    bool complete = false, tooLarge = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        pollfd p{pipeFds[0], POLLIN, 0};
        if (left <= 0 || (::poll(&p, 1, static_cast<int>(left)) < 0 && errno != EINTR))
            break;
        char buf[65536];
        const ssize_t n = ::read(pipeFds[0], buf, sizeof buf);
        if (n == 0) {
            complete = true;
            break;
        }
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            break;
        if (n > 0)
            data.append(buf, static_cast<size_t>(n));
        if (data.size() > kMaxPartBytes) {
            tooLarge = true;
            break;
        }
    }
    ::close(pipeFds[0]);
    if (!complete)
        ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!complete || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = tooLarge ? vt::Translate("workbook",
                                         QT_TRANSLATE_NOOP("workbook", "통합 문서가 너무 큽니다"))
                         : vt::Translate(
                               "workbook",
                               QT_TRANSLATE_NOOP(
                                   "workbook", "통합 문서가 손상되었습니다 (읽기가 실패했습니다)"));
        return false;
    }
    return Deserialize(data, book, error);
}

}  // namespace workbook
