#include "CUrlCatcher.h"

#include <QDesktopServices>
#include <QFileInfo>

CUrlCatcher::CUrlCatcher() {
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open");
}

CUrlCatcher::~CUrlCatcher() {
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

QStringList CUrlCatcher::Pages() const {
    QStringList pages;
    for (const QUrl& url : urls) {
        pages << QFileInfo(url.toLocalFile()).completeBaseName();
    }
    return pages;
}

void CUrlCatcher::Open(const QUrl& url) {
    urls << url;
}

#include "moc_CUrlCatcher.cpp"
