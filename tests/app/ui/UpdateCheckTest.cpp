// The update check against a version file served on 127.0.0.1: every answer
// of the server, silent (start-up) and on demand, with the exact messages.

#include "UiTestUtil.h"
#include "app/ui/UpdateCheck.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <memory>

using namespace tsl;
using namespace tsl::test;

namespace {

enum class Serve { Body, Hang, Down, NoAddresses };

// Answers every GET with `body`, or (Hang) reads the request and never answers.
class VersionServer : public QTcpServer {
public:
    VersionServer(Serve serve, QByteArray body) : serve_(serve), body_(std::move(body))
    {
        listen(QHostAddress::LocalHost, 0);
        url_ = QString("http://127.0.0.1:%1/version.txt").arg(serverPort()).toStdString();
        if (serve == Serve::Down)
            close(); // nothing listens on the port any more
        connect(this, &QTcpServer::newConnection, this, &VersionServer::Accept);
    }
    std::string Url() const { return url_; }

private:
    void Accept()
    {
        while (QTcpSocket* socket = nextPendingConnection()) {
            auto request = std::make_shared<QByteArray>();
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
                *request += socket->readAll();
                if (serve_ == Serve::Hang || !request->contains("\r\n\r\n"))
                    return;
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\nContent-Length: " +
                              QByteArray::number(body_.size()) + "\r\n\r\n" + body_);
                socket->disconnectFromHost();
            });
        }
    }

    Serve serve_;
    QByteArray body_;
    std::string url_;
};

struct Box {
    std::string text;
    std::string caption;
    MessageIcon icon;
    Buttons buttons;
};

const Box kNewer{"There's a new version of TSL available for download.", "Current Version", MessageIcon::Warning,
                 Buttons::Ok};
const Box kDownload{"Do you wish to download the latest version of TSL now?", "Current Version",
                    MessageIcon::Question, Buttons::YesNo};
const Box kLatest{"You've the latest version of TSL.", "Current Version", MessageIcon::Information, Buttons::Ok};
const Box kUnreadable{"The version information on the server can't be read!", "Error loading information",
                      MessageIcon::Error, Buttons::Ok};
const Box kMissing{"Important version information are missing!\n\nCheck the download URLs in your TSL.ini!",
                   "Error loading information", MessageIcon::Error, Buttons::Ok};
const Box kRefused{"Connection refused", "Error loading information", MessageIcon::Error, Buttons::Ok};
const Box kTimedOut{"The server did not answer within 0.3 seconds.", "Error loading information",
                    MessageIcon::Error, Buttons::Ok};

constexpr const char* kOwnVersion = "0.3.3";
constexpr const char* kDownloadURL = "https://example.org/tesselar/download";

struct CheckCase {
    const char* name;
    Serve serve;
    const char* body;
    bool silent;
    std::vector<Box> boxes;
    bool yes = false; // the answer to the question to download
    const char* download = kDownloadURL;
};

void PrintTo(const CheckCase& c, std::ostream* os)
{
    *os << c.name;
}

class UpdateCheckTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(UpdateCheckTest, ShowsTheMessagesOfTheAnswer)
{
    const CheckCase& c = GetParam();
    VersionServer server(c.serve, c.body);
    ScriptedPrompter prompter;
    prompter.Answer(c.yes ? Answer::Yes : Answer::No);
    std::vector<QUrl> opened;
    UpdateCheck check(prompter, kOwnVersion, [&opened](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    check.SetTimeout(300);
    QSignalSpy done(&check, &UpdateCheck::finished);

    check.Run(c.serve == Serve::NoAddresses ? "" : server.Url(), c.download, c.silent);
    ASSERT_TRUE(done.count() == 1 || done.wait(5000));

    ASSERT_EQ(prompter.Records().size(), c.boxes.size()) << ::testing::PrintToString(prompter.MessageTexts());
    for (std::size_t i = 0; i < c.boxes.size(); ++i) {
        const PromptRecord& r = prompter.Records()[i];
        EXPECT_EQ(r.text, c.boxes[i].text);
        EXPECT_EQ(r.caption, c.boxes[i].caption);
        EXPECT_EQ(r.icon, c.boxes[i].icon);
        EXPECT_EQ(r.buttons, c.boxes[i].buttons);
    }
    EXPECT_EQ(opened, c.yes ? std::vector<QUrl>{QUrl(kDownloadURL)} : std::vector<QUrl>{});
    EXPECT_FALSE(check.Running());
}

INSTANTIATE_TEST_SUITE_P(
    Answers, UpdateCheckTest,
    ::testing::Values(
        CheckCase{"Newer", Serve::Body, "0.4.0", false, {kNewer, kDownload}},
        CheckCase{"NewerSilent", Serve::Body, "0.4.0", true, {kNewer, kDownload}},
        CheckCase{"NewerYesOpensTheDownloadPage", Serve::Body, "1.0", false, {kNewer, kDownload}, true},
        CheckCase{"Equal", Serve::Body, "0.3.3", false, {kLatest}},
        CheckCase{"EqualSilent", Serve::Body, "0.3.3", true, {}},
        CheckCase{"NotANumber", Serve::Body, "<html>Moved</html>", false, {kUnreadable}},
        CheckCase{"NotANumberSilent", Serve::Body, "<html>Moved</html>", true, {}},
        CheckCase{"ServerDown", Serve::Down, "", false, {kRefused}},
        CheckCase{"ServerDownSilent", Serve::Down, "", true, {}},
        CheckCase{"Hangs", Serve::Hang, "", false, {kTimedOut}},
        CheckCase{"HangsSilent", Serve::Hang, "", true, {}},
        CheckCase{"NoAddresses", Serve::NoAddresses, "", false, {kMissing}},
        // Without the download address the check stops before any request.
        CheckCase{"NoDownloadAddressSilent", Serve::Body, "1.0", true, {kMissing}, false, ""}),
    [](const ::testing::TestParamInfo<CheckCase>& param) { return std::string(param.param.name); });

} // namespace
