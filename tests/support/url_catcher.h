#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

// Takes the URLs the page hands to the desktop instead of opening them
// (QDesktopServices::setUrlHandler(scheme, &catcher, "open")).
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};
