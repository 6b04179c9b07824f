#include "vanconv/CommandLine.h"

#include <strings.h>

#include <cstdlib>

namespace vanconv {

namespace {

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
            cl.error = "--map: \"" + item + "\" is not FIELD=COLUMN";
            return false;
        }
        const std::string field = item.substr(0, eq);
        int index = -1;
        for (int f = 0; f < kFieldCount; ++f)
            if (strcasecmp(kConvertFields[f].field, field.c_str()) == 0)
                index = f;
        const long long column = Positive(item.substr(eq + 1));
        if (index < 0) {
            cl.error = "--map: unknown field \"" + field + "\"";
            return false;
        }
        if (column < 0 || column > 16384) {
            cl.error = "--map: \"" + item.substr(eq + 1) + "\" is not a column number";
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
                return fail("give either --export or --import, once");
            if (!value(cl.file))
                return fail(a + " needs a file");
            cl.mode = a == "--export" ? Mode::Export : Mode::Import;
        } else if (a == "--sheet") {
            if (!value(v) || Positive(v) < 0 || Positive(v) > 65535)
                return fail("--sheet needs a sheet number from 1");
            cl.sheet = static_cast<int>(Positive(v));
        } else if (a == "--rows") {
            const size_t dash = value(v) ? v.find('-') : std::string::npos;
            if (dash == std::string::npos)
                return fail("--rows needs FIRST-LAST, for example 2-100");
            cl.firstRow = Positive(v.substr(0, dash));
            cl.lastRow = Positive(v.substr(dash + 1));
            if (cl.firstRow < 0 || cl.lastRow < 0)
                return fail("--rows needs FIRST-LAST with row numbers from 1");
            cl.rowsGiven = true;
        } else if (a == "--map") {
            if (!value(v))
                return fail("--map needs Name=C,Group=C,... or auto");
            if (!ParseMap(v, cl))
                return fail(cl.error);
            mapGiven = true;
        } else if (a == "--replace") {
            cl.replace = true;
        } else {
            return fail("unexpected argument \"" + a + "\"");
        }
    }
    const bool importOptions = cl.rowsGiven || mapGiven || cl.replace || cl.sheet != 1;
    if (cl.mode != Mode::Import && importOptions)
        return fail("--sheet, --rows, --map and --replace go with --import");
    // Without a map the fields come from row 1's texts: every vCard file and
    // export, and a CSV file with a header row, name them there.
    if (cl.mode == Mode::Import && !mapGiven)
        cl.autoMap = true;
    return cl;
}

const char* CommandLine::Usage() {
    return "usage: vanconv                                  open the converter window\n"
           "       vanconv --export FILE.xlsx|FILE.vcf|FILE.csv\n"
           "       vanconv --import FILE [--sheet N] [--rows FIRST-LAST]\n"
           "               [--map Name=C,Group=C,...|auto] [--replace]\n"
           "Fields: Name Group HomePhone HomeAddress CellPhone CompanyName\n"
           "        CompanyDepartment CompanyDuty CompanyAddress1 CompanyAddress2\n"
           "        CompanyPhone1 CompanyPhone2 CompanyInnerLine FaxNum Email WebPage\n"
           "C is a 1-based column number. Without --map (or with auto) each field\n"
           "takes the column whose row-1 text is its name, as in every export and\n"
           "vCard file. --replace empties the contact book first.\n";
}

}  // namespace vanconv
