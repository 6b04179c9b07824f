#include "LinkOpener.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace vantelo::pages {

bool LinkOpener::Open(const QString& target) {
    if (target.isEmpty())
        return false;
    // A stored address may lack its scheme ("www.example.com").
    const QUrl url =
        target.startsWith(QStringLiteral("mailto:")) ? QUrl(target) : QUrl::fromUserInput(target);
    if (url.isValid() && QDesktopServices::openUrl(url))
        return true;
    return QProcess::startDetached(QStringLiteral("xdg-open"), {target});
}

}  // namespace vantelo::pages
