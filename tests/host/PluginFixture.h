// The fixture of the controller tests: the real plug-in KPQX07C.so loaded by path, a stand-in
// host object and application server in this process, and a host-side notification log.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/ComObj.h"
#include "platform/core/Dispatch.h"
#include "platform/core/Modules.h"
#include "platform/core/SysUtils.h"
#include "src/host/DLLBaseCtrller.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv::test {

// What the host hears: notifications, and its own handlers on the form, in order.
class THostLog : public TObject {
public:
    void Notified(std::int32_t code, TDLLBaseController* controller) {
        entries.push_back(std::to_string(code));
        if (code == kNotifyFormDestroyed) freedAt304 = controller->IsFormFreed();
        if (code == kNotifyFormDestroyed && freeOn304) {
            controller->Free();
            freed = true;
        }
    }
    void HostShow(TObject*) { entries.push_back("hostShow"); }
    void HostHide(TObject*) { entries.push_back("hostHide"); }
    void HostDestroy(TObject*) { entries.push_back("hostDestroy"); }

    std::vector<std::string> entries;
    bool freedAt304 = false;
    bool freeOn304 = false;  // a host that frees the controller as soon as the form is gone
    bool freed = false;
};

// The host object a real host hands over: version, product, messages and the check service
// with the program table.
inline Variant MakeHostObject() {
    auto validator = std::make_shared<TAutoObject>();
    validator->RegisterMethod(
        "CheckValue",
        [](std::vector<Variant>& args) {
            if (args[0].AsString() != "ADMMB" || args[3][0].AsString() != "KPQX07")
                return Variant(false);
            args[4] = VarArrayOf({"维修单明细表", "", "", "N", "N"});
            return Variant(true);
        },
        5, 5);
    auto host = std::make_shared<TAutoObject>();
    host->RegisterProperty("VersionType", [] { return Variant(1); });
    host->RegisterProperty("ProductID", [] { return Variant(7); });
    host->RegisterMethod("Com_Validator", [validator](std::vector<Variant>&) {
        return Variant(DispatchPtr(validator));
    });
    host->RegisterMethod(
        "GetMessage",
        [](std::vector<Variant>& args) {
            return Variant(args[0].AsString() + args[1].AsString() + " %s");
        },
        2, 2);
    return Variant(DispatchPtr(host));
}

// The application server as the form reaches it: jobs get numbers; "ERROR" when refused.
class TFakeServer : public TAutoObject {
public:
    TFakeServer() {
        RegisterMethod(
            "Request",
            [this](std::vector<Variant>& args) {
                jobs.push_back(args[0]);
                return refuse ? Variant("ERROR") : Variant("20240315000001");
            },
            1, 1);
        RegisterMethod("ErrorDescript", [](std::vector<Variant>&) { return Variant("不接受"); });
    }
    static inline bool refuse = false;
    static inline std::vector<Variant> jobs;
};

class PluginTest : public UiTest {
protected:
    static void SetUpTestSuite() {
        InstallClient();
        library_ = LoadLibrary(std::string(KV_BIN_DIR) + "/KPQX07C.so");
        ASSERT_NE(library_, 0u) << GetLastModuleError();
        getController_ = GetProcAddressAs<TGetControllerFunc>(library_, "GetController");
        ASSERT_NE(getController_, nullptr);
    }

    void SetUp() override {
        UiTest::SetUp();
        TFakeServer::refuse = false;
        TFakeServer::jobs.clear();
        RegisterOleClass("ReportCounterS.dmReportCounter",
                         [] { return std::make_shared<TFakeServer>(); });
        controller = getController_();
        controller->HostObject = MakeHostObject();
        controller->OnNotify = TControllerNotifyEvent(&log, &THostLog::Notified);
    }

    void TearDown() override {
        FreeController();
        UnregisterOleClass("ReportCounterS.dmReportCounter");
        UiTest::TearDown();
    }

    void FreeController() {
        if (controller != nullptr && !log.freed) controller->Free();
        controller = nullptr;
    }

    // A client installation whose configuration runs the application server in this process
    // (ComputerName 127.0.0.1), as the form reads it when it connects.
    static void InstallClient() {
        const std::string dir = ::testing::TempDir() + "kvplugin-" + std::to_string(::getpid());
        std::filesystem::create_directories(dir);
        std::ofstream(dir + "/registry.ini")
            << "[HKEY_LOCAL_MACHINE\\Software\\KVT\\Velmar]\nClientPath=" << dir << "/\n";
        std::ofstream(dir + "/VelmarC.ini")
            << "[Server Information]\nComputerName=127.0.0.1\nServerPort=211\n";
        ::setenv("KV_REGISTRY_FILE", (dir + "/registry.ini").c_str(), 1);
        installDir_ = dir;
    }
    static void TearDownTestSuite() {
        std::error_code ignored;
        std::filesystem::remove_all(installDir_, ignored);
    }

    static Variant Params(std::string user = "U01", std::string company = "DAZudo60") {
        return VarArrayOf({user, company, "DAZudo60", Application().Handle(), 0});
    }

    TCustomForm* FindForm() const { return Screen().FindForm("frmKpqx07"); }

    static inline std::string installDir_;
    static inline HMODULE library_ = 0;
    static inline TGetControllerFunc* getController_ = nullptr;
    THostLog log;
    TDLLBaseController* controller = nullptr;
};

}  // namespace kv::test
