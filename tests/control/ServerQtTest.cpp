#include "StoreFixture.h"
#include "TcpTestSupport.h"

#include "control/ClientQt.h"
#include "control/CommandLineBuffer.h"
#include "control/ServerQt.h"
#include "control/ServerTask.h"
#include "core/Output2FILE.h"
#include "elements/VideoFixtures.h"

#include <gtest/gtest.h>

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

// Lines are answered a few per event-loop turn, so a flood holds up nobody else.
TEST_F(ServerQtTest, OtherClientIsAnsweredWhileOneFloods)
{
    Session good(server->serverPort());
    Session flood(server->serverPort());
    ASSERT_TRUE(good.WaitConnected());
    ASSERT_TRUE(flood.WaitConnected());
    ASSERT_TRUE(PumpUntil([&] { return Clients() == 2; }));
    ASSERT_TRUE(PumpUntil([&] { return good.received.size() >= kGreeting.size(); }));

    // Below the limit of unanswered input, so the flood is served, not dropped.
    const QByteArray lines = ShortLines(900 * 1024);
    flood.socket.write(lines);
    ASSERT_TRUE(PumpUntil([&] { return flood.socket.bytesToWrite() == 0; }));
    QElapsedTimer timer;
    timer.start();
    good.Send("help\n");
    ASSERT_TRUE(good.WaitForPrompts(1));
    EXPECT_LT(timer.elapsed(), 500 * testsupport::kSanitizerSlowdown);
    EXPECT_EQ(good.Replies(), Reply("help"));
    // Every line of the flood is answered in the end.
    const int answer_bytes = kGreeting.size() + lines.count('\n') * Reply("x").size();
    EXPECT_TRUE(PumpUntil([&] { return flood.received.size() >= answer_bytes; }, 120000));
    EXPECT_EQ(Clients(), 2);
}

// A client's turn ends after its first line once that took long, and clients are served
// in turn: a client that keeps costly lines in flight holds up the others by one line.
TEST_F(ServerQtTest, PoliteClientsAreAnsweredWhileOneKeepsRestartsInFlight)
{
    const std::string video = Folder() + "/clip.avi";
    ASSERT_FALSE(videofixtures::WriteLosslessVideo(video, 30, 30.0).empty());
    const std::vector<std::string> pipeline = {"make \"Video Read\" v", "set v _file_path \"" + video + "\"",
                                               "make Blur b", "connect v b", "start"};
    for (const std::string& line : pipeline)
        ASSERT_NE(Command(line), "Error, command failed") << line;

    constexpr int kPolite = 20;
    Session costly(server->serverPort());
    std::vector<std::unique_ptr<Session>> polite;
    for (int i = 0; i < kPolite; ++i)
        polite.push_back(std::make_unique<Session>(server->serverPort()));
    ASSERT_TRUE(PumpUntil([&] { return Clients() == kPolite + 1; }));
    ASSERT_TRUE(PumpUntil([&] {
        for (const auto& session : polite) {
            if (session->received.size() < kGreeting.size())
                return false;
        }
        return true;
    }));

    constexpr int kInFlight = 64;
    int sent = 0;
    const auto top_up = [&] {
        while (sent - costly.received.count(kPrompt) < kInFlight) {
            costly.Send("restart\n");
            ++sent;
        }
    };
    QMetaObject::Connection topping = QObject::connect(&costly.socket, &QTcpSocket::readyRead, top_up);
    top_up();
    ASSERT_TRUE(costly.WaitForPrompts(1));

    QElapsedTimer timer;
    timer.start();
    for (const auto& session : polite)
        session->Send("help\n");
    std::vector<qint64> answered_ms(kPolite, -1);
    const bool all_answered = PumpUntil(
        [&] {
            bool all = true;
            for (int i = 0; i < kPolite; ++i) {
                if (answered_ms[i] < 0 && polite[i]->received.contains(kPrompt))
                    answered_ms[i] = timer.elapsed();
                all = all && answered_ms[i] >= 0;
            }
            return all;
        },
        60000);
    QObject::disconnect(topping);
    costly.socket.abort();
    ASSERT_TRUE(all_answered);
    for (int i = 0; i < kPolite; ++i) {
        EXPECT_LT(answered_ms[i], 1000 * testsupport::kSanitizerSlowdown) << "client " << i;
        EXPECT_EQ(polite[i]->Replies(), Reply("help")) << "client " << i;
    }
    EXPECT_GT(costly.received.count(kPrompt), 1);
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
