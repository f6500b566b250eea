#include "StoreFixture.h"
#include "TcpTestSupport.h"

#include "control/ClientQt.h"
#include "control/CommandLineBuffer.h"
#include "control/ServerQt.h"
#include "control/ServerTask.h"
#include "core/Output2FILE.h"
#include "elements/VideoFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

::testing::Environment* const qt_environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

const QByteArray kGreeting = "Orvane V0.1\nType help\nOrvane: ";
const QByteArray kPrompt = "\nZuvazer: ";

class ServerQtTest : public ::testing::Test, public StoreFixture {
protected:
    void SetUp() override
    {
        server = std::make_unique<ServerQt>(hub, nullptr);
        ASSERT_TRUE(server->listen(QHostAddress::LocalHost, 0));
        Output2FILE::Drain();
    }
    void TearDown() override { server.reset(); }

    QByteArray Reply(const std::string& line) { return QByteArray::fromStdString(Command(line)) + kPrompt; }

    int Clients() const { return server->findChildren<ClientQt*>().size(); }
    int Tasks() const { return server->findChildren<ServerTask*>().size(); }

    std::unique_ptr<ServerQt> server;
};

TEST_F(ServerQtTest, SessionAnswersEveryLineInOrder)
{
    Session session(server->serverPort());
    ASSERT_TRUE(session.WaitConnected());
    ASSERT_TRUE(PumpUntil([&] { return session.received.size() >= kGreeting.size(); }));
    EXPECT_EQ(session.received, kGreeting);

    QByteArray expected = Reply("help");
    session.Send("help\r\n");
    ASSERT_TRUE(session.WaitForPrompts(1));
    EXPECT_EQ(session.Replies(), expected);

    expected += "Unrecognised command : frobnicate x\n" + kPrompt;
    session.Send("frobnicate x\n");
    ASSERT_TRUE(session.WaitForPrompts(2));
    EXPECT_EQ(session.Replies(), expected);

    // Two lines in one write, each answered.
    expected += "b1" + kPrompt + "Elements:b1\n" + kPrompt;
    session.Send("make Blur b1\nlist-elements\n");
    ASSERT_TRUE(session.WaitForPrompts(4));
    EXPECT_EQ(session.Replies(), expected);

    // A line split over two writes waits for its end.
    session.Send("list-");
    PumpUntil([&] { return session.socket.bytesToWrite() == 0; });
    PumpTurns(20);
    EXPECT_EQ(session.Replies(), expected);
    expected += "Elements:b1\n" + kPrompt;
    session.Send("elements\n");
    ASSERT_TRUE(session.WaitForPrompts(5));
    EXPECT_EQ(session.Replies(), expected);

    // An over-long line is dropped; the line after it is served.
    expected += "Error, command failed" + kPrompt + "Elements:b1\n" + kPrompt;
    session.Send("make Blur " + QByteArray(CommandLineBuffer::kMaxLineBytes, 'x') + "\nlist-elements\n");
    ASSERT_TRUE(session.WaitForPrompts(7));
    EXPECT_EQ(session.Replies(), expected);
    EXPECT_EQ(session.received.count("Orvane V0.1"), 1);

    const std::string log = Output2FILE::Drain();
    for (const char* line :
         {"Incomming connections: Handle ", "client connected\n", "client connected event\n",
          "Recieved data : help\n", "Parsing data : help\n", "Recieved data : frobnicate x\n"})
        EXPECT_NE(log.find(line), std::string::npos) << line;
    EXPECT_TRUE(PumpUntil([&] { return Tasks() == 0; }));

    session.socket.disconnectFromHost();
    ASSERT_TRUE(PumpUntil([&] { return Clients() == 0; }));
    EXPECT_NE(Output2FILE::Drain().find("client disconnected\n"), std::string::npos);
}

TEST_F(ServerQtTest, HostileClientHarmsNoOtherClient)
{
    Session good(server->serverPort());
    Session bad(server->serverPort());
    ASSERT_TRUE(good.WaitConnected());
    ASSERT_TRUE(bad.WaitConnected());
    ASSERT_TRUE(PumpUntil([&] { return Clients() == 2; }));

    std::mt19937 random(7);
    QByteArray noise(200000, '\0');
    for (char& byte : noise)
        byte = static_cast<char>(random());
    bad.Send(noise);
    bad.Send("make Blur half-a-li");
    PumpUntil([&] { return bad.socket.bytesToWrite() == 0; });
    bad.socket.abort();

    good.Send("make Blur b1\nlist-elements\n");
    ASSERT_TRUE(good.WaitForPrompts(2));
    EXPECT_EQ(good.Replies(), "b1" + kPrompt + "Elements:b1\n" + kPrompt);
    ASSERT_TRUE(PumpUntil([&] { return Clients() == 1; }));
    EXPECT_FALSE(commander->GetElementTable()->Exists("half-a-li"));
}

TEST_F(ServerQtTest, ClientThatReadsNoRepliesIsDropped)
{
    QTcpSocket silent;
    silent.setReadBufferSize(1);  // takes in next to nothing, so replies pile up
    silent.connectToHost(QHostAddress::LocalHost, server->serverPort());
    ASSERT_TRUE(PumpUntil([&] { return Clients() == 1; }));
    // Each short line asks for the long help text.
    QByteArray lines;
    for (int i = 0; i < 30000; ++i)
        lines += "help\n";
    silent.write(lines);
    EXPECT_TRUE(PumpUntil([&] { return Clients() == 0; }));
    EXPECT_NE(Output2FILE::Drain().find("Dropped a client that does not read its replies"),
              std::string::npos);
}

QByteArray ShortLines(int bytes)
{
    QByteArray lines;
    while (lines.size() < bytes)
        lines += "x\n";
    return lines;
}

// The lines the server ran since the last drain of the log, in the order it ran them.
std::vector<std::string> LinesRun()
{
    std::vector<std::string> lines;
    const std::string log = Output2FILE::Drain();
    const std::string mark = "Parsing data : ";
    for (std::size_t at = log.find(mark); at != std::string::npos; at = log.find(mark, at)) {
        at += mark.size();
        lines.push_back(log.substr(at, log.find('\n', at) - at));
    }
    return lines;
}

// How many lines other than the polite one ran before the last polite line.
int LinesAheadOfTheLastPolite(const std::vector<std::string>& lines, const std::string& polite)
{
    int ahead = 0;
    int ahead_of_last = -1;
    for (const std::string& line : lines) {
        if (line == polite)
            ahead_of_last = ahead;
        else
            ++ahead;
    }
    return ahead_of_last;
}

// Lines are answered one at a time for all clients together, so a flood holds up nobody else.
TEST_F(ServerQtTest, OtherClientIsAnsweredWhileOneFloods)
{
    Session good(server->serverPort());
    Session flood(server->serverPort());
    ASSERT_TRUE(good.WaitConnected());
    ASSERT_TRUE(flood.WaitConnected());
    ASSERT_TRUE(PumpUntil([&] { return Clients() == 2; }));
    ASSERT_TRUE(PumpUntil([&] { return good.received.size() >= kGreeting.size(); }));

    // Below the limit of unanswered input, so the flood is served, not dropped.
    const QByteArray lines = ShortLines(64 * 1024);
    flood.socket.write(lines);
    ASSERT_TRUE(PumpUntil([&] { return flood.socket.bytesToWrite() == 0; }));
    ASSERT_TRUE(flood.WaitForPrompts(1));
    Output2FILE::Drain();
    good.Send("help\n");
    ASSERT_TRUE(good.WaitForPrompts(1));
    EXPECT_LE(LinesAheadOfTheLastPolite(LinesRun(), "help"), 1);
    EXPECT_EQ(good.Replies(), Reply("help"));
    // Every line of the flood is answered in the end.
    const int answer_bytes = kGreeting.size() + lines.count('\n') * Reply("x").size();
    EXPECT_TRUE(PumpUntil([&] { return flood.received.size() >= answer_bytes; }, 120000));
    EXPECT_EQ(Clients(), 2);
}

// Clients that keep costly lines in flight hold up a polite client's line by one costly
// line at most, however many of them there are.
TEST_F(ServerQtTest, PoliteClientsWaitBehindOneCostlyLineAtMost)
{
    const std::string video = Folder() + "/clip.avi";
    ASSERT_FALSE(videofixtures::WriteLosslessVideo(video, 30, 30.0).empty());
    const std::vector<std::string> pipeline = {"make \"Video Read\" v", "set v _file_path \"" + video + "\"",
                                               "make Blur b", "connect v b", "start"};
    for (const std::string& line : pipeline)
        ASSERT_NE(Command(line), "Error, command failed") << line;

    const std::vector<QByteArray> costly_lines = {"restart", "save busy", "restart", "save busy"};
    constexpr int kPolite = 20;
    std::vector<std::unique_ptr<Session>> costly;
    std::vector<std::unique_ptr<Session>> polite;
    for (std::size_t i = 0; i < costly_lines.size(); ++i)
        costly.push_back(std::make_unique<Session>(server->serverPort()));
    for (int i = 0; i < kPolite; ++i)
        polite.push_back(std::make_unique<Session>(server->serverPort()));
    const auto all_received = [](const std::vector<std::unique_ptr<Session>>& sessions, int prompts) {
        return PumpUntil([&] {
            for (const auto& session : sessions) {
                if (session->received.count(kPrompt) < prompts || session->received.size() < kGreeting.size())
                    return false;
            }
            return true;
        });
    };
    ASSERT_TRUE(PumpUntil([&] { return Clients() == static_cast<int>(costly.size()) + kPolite; }));
    ASSERT_TRUE(all_received(polite, 0));

    // Each costly client keeps two lines in flight.
    std::vector<int> sent(costly.size(), 0);
    std::vector<QMetaObject::Connection> topping;
    for (std::size_t i = 0; i < costly.size(); ++i) {
        const auto top_up = [&, i] {
            while (sent[i] - costly[i]->received.count(kPrompt) < 2) {
                costly[i]->Send(costly_lines[i] + "\n");
                ++sent[i];
            }
        };
        topping.push_back(QObject::connect(&costly[i]->socket, &QTcpSocket::readyRead, top_up));
        top_up();
    }
    ASSERT_TRUE(all_received(costly, 1));

    Output2FILE::Drain();
    for (const auto& session : polite)
        session->Send("help\n");
    ASSERT_TRUE(all_received(polite, 1));
    const std::vector<std::string> lines = LinesRun();
    std::vector<int> answered_before(costly.size());
    for (std::size_t i = 0; i < costly.size(); ++i)
        answered_before[i] = costly[i]->received.count(kPrompt);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "help"), kPolite);
    EXPECT_LE(LinesAheadOfTheLastPolite(lines, "help"), 1) << ::testing::PrintToString(lines);
    for (const auto& session : polite)
        EXPECT_EQ(session->Replies(), Reply("help"));
    // The costly clients go on being served.
    EXPECT_TRUE(PumpUntil([&] {
        for (std::size_t i = 0; i < costly.size(); ++i) {
            if (costly[i]->received.count(kPrompt) <= answered_before[i])
                return false;
        }
        return true;
    }));
    for (const QMetaObject::Connection& connection : topping)
        QObject::disconnect(connection);
}

TEST_F(ServerQtTest, ClientWhoseLinesPileUpUnansweredIsDropped)
{
    Session flood(server->serverPort());
    ASSERT_TRUE(flood.WaitConnected());
    ASSERT_TRUE(PumpUntil([&] { return Clients() == 1; }));
    flood.socket.write(ShortLines(3 * 1024 * 1024));
    EXPECT_TRUE(PumpUntil([&] { return Clients() == 0; }));
    EXPECT_NE(Output2FILE::Drain().find("Dropped a client that sends more than it is answered"),
              std::string::npos);
    // Far fewer lines were answered than were sent.
    EXPECT_LT(flood.received.count(kPrompt), 500000);
}

TEST_F(ServerQtTest, TaskWithoutCommanderRepliesFailure)
{
    ServerTask task(boost::make_shared<ControlAndStatus>(), nullptr);
    task.SetInput("help");
    QString result;
    QObject::connect(&task, &ServerTask::Result, [&](QString text) { result = text; });
    task.run();
    EXPECT_EQ(result, "Error, command failed" + QString(kPrompt));
}

}  // namespace
