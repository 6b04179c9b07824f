#pragma once
// Opens an e-mail address ("mailto:...") or a web page with the desktop's
// handler. When the desktop services refuse, xdg-open is started with the
// target as its one argument (never through a shell). A link that opens
// neither way ends silently.

#include <QString>

namespace vantelo::pages {

class LinkOpener {
public:
    // True when a handler took the link.
    static bool Open(const QString& target);
};

}  // namespace vantelo::pages
