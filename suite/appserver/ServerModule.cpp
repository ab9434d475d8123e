// The in-process module of the application server: a client process that has not linked the
// server creates "ReportCounterS.dmReportCounter" through the class-registry file, which names
// this library and its factory:
//
//     [ReportCounterS.dmReportCounter]
//     Library=libkvappserver_module.so
//     Factory=KvCreateReportCounter
//
// Each object is one session on the database of the server configuration
// (AppServerConfig.h), the same file a daemon on this computer serves.
#include "platform/core/Dispatch.h"
#include "platform/core/SysUtils.h"
#include "suite/appserver/AppServerConfig.h"
#include "suite/appserver/ReportCounter.h"

extern "C" __attribute__((visibility("default"))) kv::Dispatch* KvCreateReportCounter(
    const char* progId) {
    if (!progId || !kv::SameText(progId, kv::kReportCounterProgId)) return nullptr;
    const auto config = kv::LoadAppServerConfig(kv::AppServerConfigFileName());
    return new kv::TdmReportCounter({config.database, config.fullSync, nullptr});
}
