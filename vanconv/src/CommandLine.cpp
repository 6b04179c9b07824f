#include "vanconv/CommandLine.h"

#include <strings.h>

#include <cstdlib>

#include "i18n/Translations.h"

namespace vanconv {

namespace {

// The command line's texts: Korean, English through the "vanconv" catalog.
std::string T(const char* text, std::initializer_list<std::string> args = {}) {
    return vt::i18n::Tr("vanconv", text, args);
}

// A whole positive number, or -1.
long long Positive(const std::string& s) {
    if (s.empty() || s.size() > 12 || s.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    const long long v = std::atoll(s.c_str());
    return v > 0 ? v : -1;
}

bool ParseMap(const std::string& text, CommandLine& cl) {
    if (text == "auto") {
        cl.autoMap = true;
        return true;
    }
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, comma - start);
        const size_t eq = item.find('=');
        if (eq == std::string::npos) {
            cl.error =
                T(QT_TRANSLATE_NOOP("vanconv", "--map: \"%1\"은(는) 필드=열이 아닙니다"), {item});
            return false;
        }
        const std::string field = item.substr(0, eq);
        int index = -1;
        for (int f = 0; f < kFieldCount; ++f)
            if (strcasecmp(kConvertFields[f].field, field.c_str()) == 0)
                index = f;
        const long long column = Positive(item.substr(eq + 1));
        if (index < 0) {
            cl.error = T(QT_TRANSLATE_NOOP("vanconv", "--map: 알 수 없는 필드 \"%1\""), {field});
            return false;
        }
        if (column < 0 || column > 16384) {
            cl.error = T(QT_TRANSLATE_NOOP("vanconv", "--map: \"%1\"은(는) 열 번호가 아닙니다"),
                         {item.substr(eq + 1)});
            return false;
        }
        cl.columns[index] = static_cast<int>(column);
        start = comma + 1;
    }
    return true;
}

}  // namespace

CommandLine CommandLine::Parse(const std::vector<std::string>& args) {
    CommandLine cl;
    const auto fail = [&cl](std::string message) {
        cl.mode = Mode::Error;
        cl.error = std::move(message);
        return cl;
    };
    bool mapGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&](std::string& out) {
            if (i + 1 >= args.size())
                return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            cl.mode = Mode::Help;
            return cl;
        } else if (a == "--export" || a == "--import") {
            if (cl.mode != Mode::Window)
                return fail(T(QT_TRANSLATE_NOOP(
                    "vanconv", "--export 또는 --import 중 하나를 한 번만 쓰십시오")));
            if (!value(cl.file))
                return fail(T(QT_TRANSLATE_NOOP("vanconv", "%1에는 파일이 필요합니다"), {a}));
            cl.mode = a == "--export" ? Mode::Export : Mode::Import;
        } else if (a == "--sheet") {
            if (!value(v) || Positive(v) < 0 || Positive(v) > 65535)
                return fail(T(
                    QT_TRANSLATE_NOOP("vanconv", "--sheet에는 1부터 세는 시트 번호가 필요합니다")));
            cl.sheet = static_cast<int>(Positive(v));
        } else if (a == "--rows") {
            const size_t dash = value(v) ? v.find('-') : std::string::npos;
            if (dash == std::string::npos)
                return fail(
                    T(QT_TRANSLATE_NOOP("vanconv", "--rows에는 처음-끝이 필요합니다. 예: 2-100")));
            cl.firstRow = Positive(v.substr(0, dash));
            cl.lastRow = Positive(v.substr(dash + 1));
            if (cl.firstRow < 0 || cl.lastRow < 0)
                return fail(T(QT_TRANSLATE_NOOP(
                    "vanconv", "--rows에는 1부터 세는 행 번호로 처음-끝이 필요합니다")));
            cl.rowsGiven = true;
        } else if (a == "--map") {
            if (!value(v))
                return fail(T(QT_TRANSLATE_NOOP(
                    "vanconv", "--map에는 Name=C,Group=C,... 또는 auto가 필요합니다")));
            if (!ParseMap(v, cl))
                return fail(cl.error);
            mapGiven = true;
        } else if (a == "--replace") {
            cl.replace = true;
        } else {
            return fail(T(QT_TRANSLATE_NOOP("vanconv", "예상하지 못한 인수 \"%1\""), {a}));
        }
    }
    const bool importOptions = cl.rowsGiven || mapGiven || cl.replace || cl.sheet != 1;
    if (cl.mode != Mode::Import && importOptions)
        return fail(T(QT_TRANSLATE_NOOP(
            "vanconv", "--sheet, --rows, --map, --replace는 --import와 함께 씁니다")));
    // Without a map the fields come from row 1's texts: every vCard file and
    // export, and a CSV file with a header row, name them there.
    if (cl.mode == Mode::Import && !mapGiven)
        cl.autoMap = true;
    return cl;
}

std::string CommandLine::Usage() {
    return T(QT_TRANSLATE_NOOP(
        "vanconv",
        "사용법: vanconv                                  변환기 창을 엽니다\n"
        "       vanconv --export 파일.xlsx|파일.vcf|파일.csv\n"
        "       vanconv --import 파일 [--sheet N] [--rows 처음-끝]\n"
        "               [--map Name=C,Group=C,...|auto] [--replace]\n"
        "필드: Name Group HomePhone HomeAddress CellPhone CompanyName\n"
        "      CompanyDepartment CompanyDuty CompanyAddress1 CompanyAddress2\n"
        "      CompanyPhone1 CompanyPhone2 CompanyInnerLine FaxNum Email WebPage\n"
        "C는 1부터 세는 열 번호입니다. --map이 없거나 auto이면 각 필드는 1행의 글자가\n"
        "그 필드 이름인 열을 씁니다(모든 내보내기와 vCard 파일이 그렇듯이).\n"
        "--replace는 먼저 연락처를 비웁니다.\n"));
}

}  // namespace vanconv
