// The socket connection against a server thread in the test: calls, by-reference results,
// server errors, refused classes, malformed frames, the object broker and local objects.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <list>
#include <mutex>
#include <thread>

#include "platform/core/Classes.h"
#include "platform/core/Dispatch.h"
#include "platform/core/TypInfo.h"
#include "platform/net/ProviderRows.h"
#include "platform/net/RemoteServer.h"
#include "platform/net/SocketConnection.h"

namespace kv {
namespace {

constexpr const char* kEchoClass = "KvTest.Echo";

// Doubles its by-reference argument, raises on request, and counts live sessions.
class TEcho : public TAutoObject {
public:
    explicit TEcho(std::atomic<int>& live) : live_(live) {
        ++live_;
        RegisterMethod(
            "Double",
            [](std::vector<Variant>& args) {
                args[0] = Variant(args[0].AsInteger() * 2);
                return Variant("doubled");
            },
            1, 1);
        RegisterMethod("Fail", [](std::vector<Variant>&) -> Variant {
            throw EConvertError("server says no");
        });
        RegisterMethod(
            "Echo", [](std::vector<Variant>& args) { return args[0]; }, 1, 1);
        RegisterMethod(
            "AS_GetRecords",
            [](std::vector<Variant>&) {
                return MakeProviderPacket({{"NAME"}, {{Variant("A")}, {Variant("B")}}});
            },
            1, 1);
    }
    ~TEcho() override { --live_; }

private:
    std::atomic<int>& live_;
};

class TTestServer {
public:
    TTestServer() : listener_("127.0.0.1", 0) {
        accepter_ = std::thread([this] {
            while (!stop_) {
                TTcpSocket socket = listener_.Accept(50);
                if (!socket.Valid()) continue;
                std::lock_guard lock(mutex_);
                sockets_.push_back(std::move(socket));
                TTcpSocket& ref = sockets_.back();
                threads_.emplace_back([this, &ref] {
                    const auto reason = ServeConnection(ref, [this](const std::string& name) {
                        if (name != kEchoClass) throw EOleSysError("Invalid class string");
                        return DispatchPtr(std::make_shared<TEcho>(live));
                    });
                    std::lock_guard reasonLock(mutex_);
                    reasons_.push_back(reason);
                });
            }
        });
    }
    ~TTestServer() {
        stop_ = true;
        accepter_.join();
        for (auto& socket : sockets_)
            socket.Shutdown();
        for (auto& thread : threads_)
            thread.join();
    }
    int Port() const { return listener_.Port(); }
    std::vector<std::string> Reasons() {
        std::lock_guard lock(mutex_);
        return reasons_;
    }
    // Waits (bounded) until n connections have ended.
    void WaitForEnds(std::size_t n) {
        for (int i = 0; i < 200 && Reasons().size() < n; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

    std::atomic<int> live{0};

private:
    TTcpListener listener_;
    std::atomic<bool> stop_{false};
    std::thread accepter_;
    std::mutex mutex_;
    std::list<TTcpSocket> sockets_;
    std::list<std::thread> threads_;
    std::vector<std::string> reasons_;
};

class SocketConnectionTest : public ::testing::Test {
protected:
    void Configure(TSocketConnection& connection) {
        connection.SetAddress("127.0.0.1");
        connection.SetPort(server_.Port());
        connection.SetServerName(kEchoClass);
        connection.SetTimeout(5000);
    }
    TTestServer server_;
};

TEST_F(SocketConnectionTest, CallsCarryByReferenceResultsBack) {
    TSocketConnection connection;
    Configure(connection);
    Variant number(21);
    const Variant server = connection.AppServer();
    EXPECT_TRUE(connection.Connected());
    EXPECT_THROW(connection.SetPort(5), ESocketConnectionError);
    EXPECT_EQ(OleCall(server, "double", {VarRef(number)}).AsString(), "doubled");
    EXPECT_EQ(number.AsInteger(), 42);
    // Values of every kind cross unchanged, nested arrays with their bounds included.
    Variant inner = VarArrayCreate({1, 2});
    inner[2] = Variant::Wide("宽");
    const Variant job = VarArrayOf({inner, Variant::Date(45356.25), Variant::Null()});
    EXPECT_EQ(VarToDebugText(OleCall(server, "Echo", {job})), VarToDebugText(job));
}

TEST_F(SocketConnectionTest, ServerErrorsArriveAsAutomationErrorsAndTheSessionGoesOn) {
    TSocketConnection connection;
    Configure(connection);
    const Variant server = connection.AppServer();
    try {
        OleCall(server, "Fail");
        FAIL() << "no error";
    } catch (const EOleException& error) {
        EXPECT_NE(error.Message().find("server says no"), std::string::npos) << error.Message();
    }
    EXPECT_THROW(OleCall(server, "NoSuchMember"), EOleException);
    Variant number(1);
    OleCall(server, "Double", {VarRef(number)});
    EXPECT_EQ(number.AsInteger(), 2);
}

TEST_F(SocketConnectionTest, RefusedClassAndMissingServerRaise) {
    TSocketConnection refused;
    Configure(refused);
    refused.SetServerName("No.Such");
    EXPECT_THROW(refused.Open(), EOleException);
    EXPECT_FALSE(refused.Connected());

    TSocketConnection nowhere;
    nowhere.SetAddress("127.0.0.1");
    nowhere.SetPort(1);  // nothing listens there
    nowhere.SetServerName(kEchoClass);
    EXPECT_THROW(nowhere.Open(), ESocketConnectionError);
}

TEST_F(SocketConnectionTest, ClosingEndsTheSessionAndLaterCallsFail) {
    TSocketConnection connection;
    Configure(connection);
    const Variant server = connection.AppServer();
    EXPECT_EQ(server_.live, 1);
    connection.Close();
    EXPECT_FALSE(connection.Connected());
    EXPECT_THROW(OleCall(server, "Echo", {Variant(1)}), ESocketConnectionError);
    server_.WaitForEnds(1);
    EXPECT_EQ(server_.live, 0);
    EXPECT_EQ(server_.Reasons().at(0), "closed by the client");
}

TEST_F(SocketConnectionTest, MalformedFramesCloseOnlyTheirConnection) {
    TSocketConnection good;
    Configure(good);
    const Variant server = good.AppServer();
    const std::string garbage[] = {
        std::string("\x04\x00\x00\x00XYZW", 8),                 // wrong magic
        std::string("\xff\xff\xff\x7f", 4),                     // announces 2 GB
        std::string("\x06\x00\x00\x00KV\x01\x02\x77\x77", 10),  // unknown variant type
        EncodeFrame(TFrameKind::Call, VarArrayOf({Variant(1), Variant("Echo"), Variant()})),
    };
    for (const auto& bytes : garbage) {
        TTcpSocket raw = TTcpSocket::Connect("127.0.0.1", server_.Port(), 2000);
        raw.SetTimeout(2000);
        raw.SendAll(bytes.data(), bytes.size());
        char byte;
        EXPECT_FALSE(raw.ReceiveAll(&byte, 1)) << "the server closes without an answer";
    }
    server_.WaitForEnds(std::size(garbage));
    for (const auto& reason : server_.Reasons())
        EXPECT_EQ(reason.rfind("malformed frame", 0), 0u) << reason;
    EXPECT_EQ(OleCall(server, "Echo", {Variant(7)}).AsInteger(), 7);
}

TEST_F(SocketConnectionTest, ObjectBrokerSkipsAHostThatFails) {
    TSimpleObjectBroker broker;
    broker.AddServer("127.0.0.1", 1);
    broker.AddServer("127.0.0.1", server_.Port());
    TSocketConnection connection;
    connection.SetServerName(kEchoClass);
    connection.SetObjectBroker(&broker);
    connection.Open();
    EXPECT_TRUE(connection.Connected());
    const auto servers = broker.Servers();
    EXPECT_TRUE(servers[0].HasFailed);
    EXPECT_FALSE(servers[1].HasFailed);
    // The failed host now comes last.
    EXPECT_EQ(broker.Candidates().front().Port, server_.Port());
}

TEST_F(SocketConnectionTest, ALocalObjectStandsInForTheConnection) {
    TSocketConnection connection;
    std::atomic<int> live{0};
    connection.SetAppServer(Variant(DispatchPtr(std::make_shared<TEcho>(live))));
    Variant number(5);
    OleCall(connection.AppServer(), "Double", {VarRef(number)});
    EXPECT_EQ(number.AsInteger(), 10);
    EXPECT_FALSE(connection.Connected());
}

TEST_F(SocketConnectionTest, AFormDescriptionSetsThePublishedPropertiesByName) {
    TComponent form(nullptr);
    TComponent* created = FindClass("TSocketConnection")->CreateComponent(&form);
    created->SetName("MainMidas");
    auto* broker = dynamic_cast<TSimpleObjectBroker*>(
        FindClass("TSimpleObjectBroker")->CreateComponent(&form));
    ASSERT_NE(broker, nullptr);
    SetStrProp(created, "Address", "127.0.0.1");
    SetOrdProp(created, "Port", server_.Port());
    SetStrProp(created, "ServerName", kEchoClass);
    SetObjectProp(created, "ObjectBroker", broker);
    auto* connection = form.FindComponentAs<TSocketConnection>("MainMidas");
    ASSERT_NE(connection, nullptr);
    EXPECT_EQ(connection->ObjectBroker(), broker);
    SetOrdProp(created, "Connected", 1);
    EXPECT_TRUE(connection->Connected());
    EXPECT_EQ(GetOrdProp(created, "Connected"), 1);
    // A client data set on the connection fetches the provider's rows through it.
    TClientDataSet rows(&form);
    rows.SetProviderName("pvdTest");
    rows.SetRemoteServer(connection);
    rows.Open();
    ASSERT_EQ(rows.RecordCount(), 2);
    EXPECT_TRUE(rows.Locate("NAME", {Variant("B")}));
    EXPECT_EQ(rows.FieldByName("NAME")->AsString(), "B");
    rows.Close();
    SetOrdProp(created, "Connected", 0);
    // Freeing the broker leaves no dangling reference in the connection.
    delete broker;
    EXPECT_EQ(connection->ObjectBroker(), nullptr);
}

}  // namespace
}  // namespace kv
