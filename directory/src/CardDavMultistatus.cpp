#include "CardDavMultistatus.h"

#include <QXmlStreamReader>

namespace directory {

namespace {

constexpr const char* kDav = "DAV:";
constexpr const char* kCardDav = "urn:ietf:params:xml:ns:carddav";

// "HTTP/1.1 404 Not Found" -> 404.
int StatusCode(const QString& line) {
    const QStringList parts = line.simplified().split(' ');
    return parts.size() >= 2 ? parts[1].toInt() : 0;
}

bool Is(const QXmlStreamReader& x, const char* ns, const char* name) {
    return x.namespaceUri() == QLatin1String(ns) && x.name() == QLatin1String(name);
}

}  // namespace

Multistatus ParseMultistatus(const std::string& xml) {
    Multistatus out;
    QXmlStreamReader x(QByteArray::fromRawData(xml.data(), static_cast<qsizetype>(xml.size())));
    bool sawRoot = false;
    DavMember member;
    bool inResponse = false, inPropstat = false;
    int propstatStatus = 0;
    DavMember props;  // of the current propstat
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            if (Is(x, kDav, "multistatus")) {
                sawRoot = true;
            } else if (Is(x, kDav, "response")) {
                inResponse = true;
                member = DavMember();
            } else if (inResponse && Is(x, kDav, "propstat")) {
                inPropstat = true;
                propstatStatus = 0;
                props = DavMember();
            } else if (inResponse && !inPropstat && Is(x, kDav, "href")) {
                member.href = x.readElementText().trimmed().toStdString();
            } else if (Is(x, kDav, "status")) {
                const int code = StatusCode(x.readElementText());
                (inPropstat ? propstatStatus : member.status) = code;
            } else if (inPropstat && Is(x, kDav, "getetag")) {
                props.etag = x.readElementText().trimmed().toStdString();
            } else if (inPropstat && Is(x, kCardDav, "address-data")) {
                props.card = x.readElementText().toStdString();
                props.hasCard = true;
            } else if (inPropstat && Is(x, kDav, "collection")) {
                props.collection = true;
            } else if (!inResponse && Is(x, kDav, "sync-token")) {
                out.syncToken = x.readElementText().trimmed().toStdString();
            }
        } else if (x.isEndElement()) {
            if (Is(x, kDav, "propstat")) {
                inPropstat = false;
                if (propstatStatus / 100 == 2) {
                    if (!props.etag.empty())
                        member.etag = props.etag;
                    if (props.hasCard) {
                        member.card = std::move(props.card);
                        member.hasCard = true;
                    }
                    member.collection = member.collection || props.collection;
                    if (member.status == 0)
                        member.status = propstatStatus;
                } else if (member.status == 0 && !props.etag.empty()) {
                    member.status = propstatStatus;
                }
            } else if (Is(x, kDav, "response")) {
                inResponse = false;
                if (member.status == 0)
                    member.status = 200;  // only properties it could not give
                out.members.push_back(std::move(member));
            }
        }
    }
    if (x.hasError()) {
        out.error = x.errorString().toStdString();
        return out;
    }
    if (!sawRoot) {
        out.error = "no multistatus";
        return out;
    }
    out.ok = true;
    return out;
}

}  // namespace directory
