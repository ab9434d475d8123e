// Helpers of the application-server tests: job arrays as the condition forms build them, the
// daemon as a child process on an ephemeral loopback port, and sessions reached in-process or
// through the daemon.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/ComObj.h"
#include "platform/core/Dispatch.h"
#include "platform/core/SysUtils.h"
#include "platform/core/Variant.h"
#include "platform/net/SocketConnection.h"
#include "suite/appserver/ReportCounter.h"
#include "tests/suite/appserver/TempDir.h"

namespace kv {

// A job array of the work-queue kind: environment 1..14, `conditions` texts and values.
inline Variant MakeJob(const std::string& user, int conditions = 2, int generation = 0) {
    Variant env = VarArrayCreate({1, 14});
    env[1] = Variant::Wide("KPQX07");
    env[2] = Variant(14);
    env[3] = Variant(conditions);
    env[4] = Variant::Wide("C01");
    env[5] = Variant::Wide(user);
    env[6] = Variant::Wide("DEMO");
    env[7] = Variant::Date(Now());
    env[8] = Variant::Wide("KPQX07S.Class1");
    env[9] = Variant::Wide("R");
    env[10] = Variant(generation);
    env[11] = Variant::Date(EncodeDateTime(2024, 3, 5, 8, 7, 0, 0));
    env[12] = Variant::Wide("");
    env[13] = Variant(1);
    env[14] = Variant::Wide("");
    Variant texts = VarArrayCreate({1, conditions});
    Variant values = VarArrayCreate({1, conditions});
    for (int i = 1; i <= conditions; ++i) {
        texts[i] = VarArrayOf(
            {Variant::Wide("条件" + std::to_string(i)), Variant::Wide("sp0" + std::to_string(i))});
        values[i] = VarArrayOf(
            {Variant(std::string(1, '\x04')), Variant::Wide("A01"), Variant::Wide("Z99")});
    }
    return VarArrayOf({env, texts, values});
}

// The same job made periodic: lower-case kind, period record and dynamic-field list.
inline Variant MakePeriodicJob(const std::string& user) {
    Variant job = MakeJob(user, 2, 2);
    job[0][9] = Variant::Wide("r");
    VarArrayRedim(job, 4);
    job[3] = VarArrayOf({Variant::Wide("Y"), Variant::Wide("06:30"),
                         VarArrayOf({Variant(1), VarArrayOf({Variant::Wide("2"), Variant(5)})}),
                         VarArrayOf({Variant::Wide("20240117"), Variant(1), Variant::Wide("3")})});
    job[4] = VarArrayOf({Variant(1), Variant::Wide("sp01\x03"
                                                   "D")});
    return job;
}

// kvappserver as a child process listening on a free loopback port.
class TDaemonProcess {
public:
    TDaemonProcess(const std::string& database, const std::string& logFile,
                   const std::string& portFile)
        : portFile_(portFile) {
        std::remove(portFile.c_str());
        const std::string program = std::string(KV_BIN_DIR) + "/kvappserver";
        pid_ = fork();
        if (pid_ == 0) {
            execl(program.c_str(), program.c_str(), "--config", "/nonexistent/appserver.ini",
                  "--address", "127.0.0.1", "--port", "0", "--database", database.c_str(), "--log",
                  logFile.c_str(), "--port-file", portFile.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 500 && port_ == 0; ++i) {
            std::ifstream(portFile_) >> port_;
            if (port_ == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (port_ == 0) {
            Signal(SIGKILL);
            throw std::runtime_error("kvappserver did not start");
        }
    }
    ~TDaemonProcess() {
        if (pid_ > 0) Signal(SIGKILL);
    }
    TDaemonProcess(const TDaemonProcess&) = delete;
    TDaemonProcess& operator=(const TDaemonProcess&) = delete;

    int Port() const { return port_; }
    // Sends the signal and waits for the end; answers the wait status.
    int Signal(int signal) {
        kill(pid_, signal);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }

private:
    std::string portFile_;
    pid_t pid_ = -1;
    int port_ = 0;
};

// A client's connection to the daemon with its server object.
struct TRemoteSession {
    std::unique_ptr<TSocketConnection> connection;
    Variant server;
};

inline TRemoteSession ConnectRemote(int port) {
    TRemoteSession session{std::make_unique<TSocketConnection>(), {}};
    session.connection->SetAddress("127.0.0.1");
    session.connection->SetPort(port);
    session.connection->SetServerName(kReportCounterProgId);
    session.connection->SetTimeout(20000);
    session.server = session.connection->AppServer();
    return session;
}

}  // namespace kv
