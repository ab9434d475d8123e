// A client process that does not register the server itself reaches it through the class-
// registry file and the module kvappserver_module, on the database of the server settings.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "platform/core/ComObj.h"
#include "suite/appserver/AppServerConfig.h"
#include "suite/appserver/AppStore.h"
#include "tests/suite/appserver/AppServerFixture.h"

namespace kv {
namespace {

class TScopedEnv {
public:
    TScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~TScopedEnv() {
        if (old_.empty())
            unsetenv(name_);
        else
            setenv(name_, old_.c_str(), 1);
    }

private:
    const char* name_;
    std::string old_;
};

TEST(ServerModuleTest, CreateOleObjectLoadsTheServerFromTheClassRegistry) {
    TTempDir dir;
    std::ofstream(dir.File("classes.ini"))
        << "[ReportCounterS.dmReportCounter]\nLibrary=" << KV_BIN_DIR
        << "/libkvappserver_module.so\nFactory=KvCreateReportCounter\n";
    std::ofstream(dir.File("appserver.ini")) << "[AppServer]\nDatabase=data/company.db\n";
    std::filesystem::create_directory(dir.Path() / "data");
    TScopedEnv registry("KV_CLASS_REGISTRY", dir.File("classes.ini"));
    TScopedEnv config("KV_APPSERVER_CONFIG", dir.File("appserver.ini"));
    UnregisterOleClass(kReportCounterProgId);

    const Variant server = CreateOleObject(kReportCounterProgId);
    const std::string number = VarToStr(OleCall(server, "Request", {MakeJob("U1")}));
    ASSERT_NE(number, "ERROR") << VarToStr(OleGet(server, "ErrorDescript"));
    // The relative database path starts at the configuration file's folder.
    EXPECT_TRUE(TAppStore(dir.File("data/company.db"), false).FindJob(number).has_value());
}

TEST(AppServerConfigTest, FileSettingsAndTheDatabaseVariable) {
    TTempDir dir;
    std::ofstream(dir.File("appserver.ini"))
        << "[AppServer]\nAddress=0.0.0.0\nPort=8211\nLogFile=log/server.log\nFullSync=1\n";
    TAppServerConfig config = LoadAppServerConfig(dir.File("appserver.ini"));
    EXPECT_EQ(config.address, "0.0.0.0");
    EXPECT_EQ(config.port, 8211);
    EXPECT_EQ(config.database, dir.File("company.db"));
    EXPECT_EQ(config.logFile, dir.File("log/server.log"));
    EXPECT_TRUE(config.fullSync);
    TScopedEnv database("KV_APPSERVER_DB", "/srv/other.db");
    EXPECT_EQ(LoadAppServerConfig(dir.File("missing.ini")).database, "/srv/other.db");
    EXPECT_EQ(LoadAppServerConfig(dir.File("missing.ini")).port, 211);
}

}  // namespace
}  // namespace kv
