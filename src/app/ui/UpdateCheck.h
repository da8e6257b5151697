#pragma once
// Asks the server for the version number of the newest release and offers to
// open the download page when it is newer than the running program. The
// request runs while the event loop goes on; its answer comes through the
// Prompter. A silent check (the one at start-up) says nothing when the
// program is up to date, the server cannot be reached or its answer is not a
// version, but does report missing addresses.

#include "app/Versions.h"
#include "core/Prompter.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <string>

class QNetworkReply;

namespace tsl {

// Opens an address with the desktop's default handler; false when it could
// not.
using UrlOpener = std::function<bool(const QUrl&)>;
UrlOpener DesktopUrlOpener();

class UpdateCheck : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultTimeoutMs = 10000;

    UpdateCheck(Prompter& prompter, const std::string& ownVersion, UrlOpener open, QObject* parent = nullptr);

    void SetTimeout(int milliseconds) { timeoutMs_ = milliseconds; }

    // A check asked for while one runs joins it; an on-demand request then
    // makes the running check speak.
    void Run(const std::string& checkFileURL, const std::string& downloadURL, bool silent);
    bool Running() const { return !reply_.isNull(); }

signals:
    // After the last message of a check, also one that stopped early.
    void finished();

private:
    void onReplyFinished();
    void onTimeout();
    void Conclude(const QByteArray& body);
    void Finish();

    Prompter& prompter_;
    std::string ownVersion_;
    UrlOpener open_;
    int timeoutMs_ = kDefaultTimeoutMs;
    QNetworkAccessManager network_;
    QPointer<QNetworkReply> reply_;
    QTimer timer_;
    bool silent_ = true;
    bool timedOut_ = false;
    QUrl downloadURL_;
};

} // namespace tsl
