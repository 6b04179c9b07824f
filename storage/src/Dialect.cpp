#include "storage/Dialect.h"

namespace storage {

bool IsServerUri(std::string_view database) {
    return database.starts_with("postgresql://") || database.starts_with("postgres://");
}

std::string DisplayName(std::string_view database) {
    if (!IsServerUri(database))
        return std::string(database);
    const size_t scheme = database.find("://") + 3;
    std::string_view rest = database.substr(scheme);
    rest = rest.substr(0, rest.find('?'));
    const size_t slash = rest.find('/');
    std::string_view authority = rest.substr(0, slash);
    const size_t at = authority.rfind('@');
    if (at != std::string_view::npos)
        authority = authority.substr(at + 1);
    std::string out = "postgresql://" + std::string(authority);
    if (slash != std::string_view::npos)
        out += rest.substr(slash);
    return out;
}

}  // namespace storage
