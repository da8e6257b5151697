#include "UiTestUtil.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>


namespace tsl::test {

AppFolder::AppFolder()
{
    fs::copy(SourceDir() / "data" / "MapDefs", MapDefs(), fs::copy_options::recursive);
}

fs::path AppFolder::CopySampleGame(const std::string& name) const
{
    const fs::path target = dir_.path() / name;
    fs::create_directories(target);
    for (const auto& entry : fs::directory_iterator(SampleGameDir()))
        fs::copy_file(entry.path(), target / entry.path().filename());
    return target;
}

void WhenModal(std::function<void(QWidget*)> action, int timeoutMs)
{
    // The poller belongs to the application and deletes itself when done.
    auto* poller = new QTimer(qApp);
    auto* elapsed = new QElapsedTimer;
    elapsed->start();
    poller->setInterval(5);
    QObject::connect(poller, &QTimer::timeout, poller, [=]() {
        QWidget* modal = QApplication::activeModalWidget();
        const bool shown = modal && modal->isVisible();
        if (!shown && elapsed->elapsed() <= timeoutMs)
            return;
        poller->stop();
        poller->deleteLater();
        delete elapsed;
        if (shown)
            action(modal);
        else
            ADD_FAILURE() << "no modal dialog was shown";
    });
    poller->start();
}

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

std::string S(const QString& text)
{
    return text.toStdString();
}

} // namespace tsl::test
