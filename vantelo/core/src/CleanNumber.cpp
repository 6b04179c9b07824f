#include "vantelo/core/CleanNumber.h"

namespace vantelo {

std::string CleanNumber(std::string_view text) {
    std::string out;
    for (char c : text)
        if ((c >= '0' && c <= '9') || c == '*' || c == '#')
            out.push_back(c);
    return out;
}

}  // namespace vantelo
