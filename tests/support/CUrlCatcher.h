#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

// Takes every file URL the program hands to the desktop (QDesktopServices::openUrl) while it
// lives, instead of a browser.
class CUrlCatcher : public QObject {
    Q_OBJECT
public:
    CUrlCatcher();
    ~CUrlCatcher() override;

    const QList<QUrl>& Urls() const { return urls; }
    // The pages opened, by file name without ".html", in order.
    QStringList Pages() const;

public slots:
    void Open(const QUrl& url);

private:
    QList<QUrl> urls;
};
