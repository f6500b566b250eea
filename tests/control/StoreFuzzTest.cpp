// Random command lines and random pipeline files against the commander, the pipeline
// store and the TCP front end, for a bounded time: every line gets a reply, nothing
// crashes or hangs, and the back end stays usable.
#include "StoreFixture.h"
#include "TcpTestSupport.h"

#include "control/ClientQt.h"
#include "control/ServerQt.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>

namespace {

::testing::Environment* const qt_environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

constexpr auto kFuzzTime = std::chrono::seconds(3);

// The camera is left out: it reaches for a device. "test" runs for many seconds.
const std::vector<std::string> kTypes = {"\"Video Read\"",
                                         "\"Image Read\"",
                                         "Tee",
                                         "\"False Colour\"",
                                         "Blur",
                                         "Dilation",
                                         "Erosion",
                                         "\"Snap Shot\"",
                                         "Canny",
                                         "Threshold",
                                         "\"In Range Threshold\"",
                                         "\"Colour Space Conversion\"",
                                         "\"Contour Detector\"",
                                         "\"Path Drawer\"",
                                         "\"Video In Video\"",
                                         "\"Frame Syncronizer\"",
                                         "\"Main Display\"",
                                         "Nope"};
const std::vector<std::string> kIds = {"a", "b", "c", "Blur_0", "Tee_0", "Threshold_0", ""};
const std::vector<std::string> kSettings = {
    "_width",        "_height", "_threshold", "_type", "_transparency", "_position_x", "_sub_image_controls",
    "_setting_name", "_nothing"};
const std::vector<std::string> kValues = {"0", "1", "3", "-7", "2.5", "[1, 2, 3, 4]", "x", "", "99999"};
const std::vector<std::string> kNames = {"p1", "p2",  "fuzz", "../p",    ".",
                                         "..", "a/b", "\"\"", "\"a b\"", "p\\q"};
const std::vector<std::string> kWords = {"make",
                                         "connect",
                                         "start",
                                         "stop",
                                         "restart",
                                         "pause",
                                         "play",
                                         "disconnect-all",
                                         "disconnect",
                                         "clear",
                                         "buildlink",
                                         "list-connections",
                                         "list-elements",
                                         "log",
                                         "log-everything",
                                         "save",
                                         "load",
                                         "query",
                                         "set",
                                         "list-settings",
                                         "register",
                                         "history",
                                         "get-saved",
                                         "help",
                                         "elements",
                                         "frobnicate",
                                         ""};

class Fuzzer {
public:
    explicit Fuzzer(unsigned seed) : random_(seed) {}

    template <typename T>
    const T& Pick(const std::vector<T>& items)
    {
        return items[random_() % items.size()];
    }

    int Number(int limit) { return static_cast<int>(random_() % static_cast<unsigned>(limit)); }

    std::string Line()
    {
        const std::string word = Pick(kWords);
        std::string line = word;
        if (word == "make")
            line += " " + Pick(kTypes) + " " + Pick(kIds);
        else if (word == "connect" || word == "query" || word == "disconnect")
            line += " " + Pick(kIds) + " " + Pick(kIds);
        else if (word == "set")
            line += " " + Pick(kIds) + " " + Pick(kSettings) + " " + Pick(kValues);
        else if (word == "save" || word == "load")
            line += " " + Pick(kNames);
        else if (word == "buildlink")
            for (int i = Number(4); i > 0; --i)
                line += " " + (Number(2) ? Pick(kTypes) : Pick(kIds));
        else if (Number(4) == 0)
            line += " " + Bytes(Number(12));
        return line;
    }

    std::string Bytes(int count)
    {
        std::string bytes;
        for (int i = 0; i < count; ++i)
            bytes += static_cast<char>(random_());
        return bytes;
    }

    // A pipeline file with a few random cuts, insertions, copies and swapped words.
    std::string Mutate(std::string text)
    {
        for (int edits = 1 + Number(4); edits > 0 && !text.empty(); --edits) {
            const std::size_t at = random_() % text.size();
            const std::size_t length = std::min<std::size_t>(1 + Number(40), text.size() - at);
            switch (Number(5)) {
            case 0:
                text.erase(at, length);
                break;
            case 1:
                text.insert(at, Bytes(1 + Number(8)));
                break;
            case 2:
                text.insert(random_() % text.size(), text.substr(at, length));
                break;
            case 3:
                text.insert(at, Number(2) ? Pick(kTypes) : Pick(kSettings));
                break;
            default:
                text.resize(at);
                break;
            }
        }
        return text;
    }

private:
    std::mt19937 random_;
};

class StoreFuzzTest : public ::testing::Test, public StoreFixture {
protected:
    static bool IsReply(const std::string& reply) { return !reply.empty(); }

    void ExpectUsable()
    {
        EXPECT_EQ(Command("clear"), "Success");
        EXPECT_EQ(Command("list-elements"), "Elements:");
        EXPECT_EQ(Command("make Blur b1"), "b1");
        EXPECT_EQ(Command("save ok"), "Success");
        EXPECT_EQ(Command("load ok"), "Success");
        EXPECT_EQ(Command("list-elements"), "Elements:b1\n");
    }
};

TEST_F(StoreFuzzTest, RandomCommandLines)
{
    Fuzzer fuzzer(1);
    const auto end = std::chrono::steady_clock::now() + kFuzzTime;
    int lines = 0;
    while (std::chrono::steady_clock::now() < end) {
        const std::string line = fuzzer.Line();
        EXPECT_TRUE(IsReply(Command(line))) << line;
        ++lines;
    }
    EXPECT_GT(lines, 0);
    ExpectUsable();
}

TEST_F(StoreFuzzTest, RandomPipelineFiles)
{
    ASSERT_EQ(Command("buildlink \"Image Read\" Tee Blur \"Video In Video\" Threshold"), "Threshold_0");
    ASSERT_EQ(Command("connect Tee_0 \"Video In Video_0\"").rfind("Connected Source : ", 0), 0u);
    ASSERT_EQ(Command("save base"), "Success");
    std::ifstream in(Folder() + "base.xml", std::ios::binary);
    const std::string base((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(base.empty());

    Fuzzer fuzzer(2);
    const auto end = std::chrono::steady_clock::now() + kFuzzTime;
    int loaded = 0;
    int refused = 0;
    while (std::chrono::steady_clock::now() < end) {
        WriteFile(Folder() + "fuzz.xml",
                  fuzzer.Number(8) ? fuzzer.Mutate(base) : fuzzer.Bytes(fuzzer.Number(300)));
        const std::string reply = Command("load fuzz");
        if (reply == "Success")
            ++loaded;
        else if (reply == "Error, command failed")
            ++refused;
        else
            ADD_FAILURE() << reply;
        if (fuzzer.Number(10) == 0) {
            EXPECT_TRUE(IsReply(Command(fuzzer.Line())));
        }
    }
    EXPECT_GT(refused, 0);
    ExpectUsable();
}

TEST_F(StoreFuzzTest, RandomTrafficOverTcp)
{
    ServerQt server(hub, nullptr);
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    Fuzzer fuzzer(3);
    Session commands(server.serverPort());
    ASSERT_TRUE(commands.WaitConnected());
    const auto end = std::chrono::steady_clock::now() + kFuzzTime;
    int sent = 0;
    while (std::chrono::steady_clock::now() < end) {
        // Lines without line feeds or quotes of their own, so each is one reply.
        QByteArray batch;
        const int count = 1 + fuzzer.Number(5);
        for (int i = 0; i < count; ++i) {
            QByteArray line = QByteArray::fromStdString(fuzzer.Line());
            line.replace('\n', ' ');
            batch += line + (fuzzer.Number(2) ? "\r\n" : "\n");
        }
        sent += count;
        commands.Send(batch);
        ASSERT_TRUE(commands.WaitForPrompts(sent));

        // A stranger that sends noise and leaves in the middle of a line.
        Session stranger(server.serverPort());
        ASSERT_TRUE(stranger.WaitConnected());
        stranger.Send(QByteArray::fromStdString(fuzzer.Bytes(1 + fuzzer.Number(2000))));
        PumpUntil([&] { return stranger.socket.bytesToWrite() == 0; });
        if (fuzzer.Number(2))
            stranger.socket.abort();
    }
    // Every stranger's client is gone; the one still connected stays.
    EXPECT_TRUE(PumpUntil([&] { return server.findChildren<ClientQt*>().size() == 1; }))
        << server.findChildren<ClientQt*>().size();
    ExpectUsable();
}

}  // namespace
