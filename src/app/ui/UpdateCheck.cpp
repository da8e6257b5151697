#include "app/ui/UpdateCheck.h"

#include <QDesktopServices>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace tsl {

UrlOpener DesktopUrlOpener()
{
    return [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

UpdateCheck::UpdateCheck(Prompter& prompter, const std::string& ownVersion, UrlOpener open, QObject* parent)
    : QObject(parent), prompter_(prompter), ownVersion_(ownVersion), open_(std::move(open))
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &UpdateCheck::onTimeout);
}

void UpdateCheck::Run(const std::string& checkFileURL, const std::string& downloadURL, bool silent)
{
    if (Running()) {
        silent_ = silent_ && silent;
        return;
    }
    if (checkFileURL.empty() || downloadURL.empty()) {
        prompter_.Show(kUpdateAddressesMissing);
        Finish();
        return;
    }
    if (!ParseVersion(ownVersion_)) {
        prompter_.Show(kOwnVersionMissing);
        Finish();
        return;
    }
    silent_ = silent;
    timedOut_ = false;
    downloadURL_ = QUrl(QString::fromStdString(downloadURL));
    QNetworkRequest request(QUrl(QString::fromStdString(checkFileURL)));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    reply_ = network_.get(request);
    connect(reply_, &QNetworkReply::finished, this, &UpdateCheck::onReplyFinished);
    timer_.start(timeoutMs_);
}

void UpdateCheck::onTimeout()
{
    if (QNetworkReply* reply = reply_.data()) {
        timedOut_ = true;
        reply->abort(); // finishes the reply, with an error
    }
}

void UpdateCheck::onReplyFinished()
{
    timer_.stop();
    QNetworkReply* reply = reply_;
    reply_.clear();
    reply->deleteLater();
    if (reply->error() != QNetworkReply::NoError) {
        if (!silent_) {
            const QString text = timedOut_ ? QString("The server did not answer within %1 seconds.")
                                                 .arg(static_cast<double>(timeoutMs_) / 1000.0)
                                           : reply->errorString();
            prompter_.Message(text.toStdString(), kUpdateErrorCaption, MessageIcon::Error, Buttons::Ok);
        }
        Finish();
        return;
    }
    Conclude(reply->readAll());
}

void UpdateCheck::Conclude(const QByteArray& body)
{
    switch (JudgeRemoteVersion(body.toStdString(), *ParseVersion(ownVersion_))) {
    case RemoteVersion::Unreadable:
        // A captive portal or a moved page answers with HTML: at start-up that
        // is no news worth a box, and it would come back at every start.
        if (!silent_)
            prompter_.Show(kRemoteVersionUnreadable);
        break;
    case RemoteVersion::Newer:
        prompter_.Show(kNewVersionAvailable);
        if (prompter_.Message(kDownloadQuestion.text, kDownloadQuestion.caption, kDownloadQuestion.icon,
                              Buttons::YesNo) == Answer::Yes &&
            !open_(downloadURL_))
            prompter_.Message("Couldn't open the download page " + downloadURL_.toString().toStdString() + "!",
                              kCurrentVersionCaption, MessageIcon::Warning, Buttons::Ok);
        break;
    case RemoteVersion::NotNewer:
        if (!silent_)
            prompter_.Show(kLatestVersion);
        break;
    }
    Finish();
}

void UpdateCheck::Finish()
{
    emit finished();
}

} // namespace tsl
