#include "suite/hostsvc/HostServices.h"

#include "platform/core/ComObj.h"
#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "suite/hostsvc/DemoDatabase.h"
#include "suite/hostsvc/HostManager.h"
#include "suite/hostsvc/HostText.h"

namespace kv {

std::shared_ptr<THostServices> THostServices::Create(THostOptions options) {
    return std::shared_ptr<THostServices>(new THostServices(std::move(options)));
}

THostServices::THostServices(THostOptions options) : options_(std::move(options)) {
    if (options_.databasePath.empty())
        throw EDatabaseError("The host services need the path of the company database");
    database_ = std::make_unique<TDemoDatabase>(options_.databasePath);
}

THostServices::~THostServices() = default;

void THostServices::SetRequestListener(std::function<void(const THostRequest&)> listener) {
    listener_ = std::move(listener);
}

void THostServices::Record(THostRequest request) {
    request.request = WithoutObjects(request.request);
    request.answer = WithoutObjects(request.answer);
    requests_.push_back(std::move(request));
    if (listener_) listener_(requests_.back());
}

Variant THostServices::CreateHostObject() {
    return Variant(std::make_shared<THostManager>(shared_from_this()));
}

void THostServices::CheckDatabaseName(const std::string& name) const {
    const std::string given = Trim(name);
    if (given.empty() || SameText(given, options_.databaseName)) return;
    throw EOleException("The database \"" + given + "\" is not served by this host (it serves \"" +
                        options_.databaseName + "\")");
}

void RegisterHostManagerClass(std::shared_ptr<THostServices> services) {
    RegisterOleClass(kHostManagerProgId,
                     [services] { return services->CreateHostObject().AsDispatch(); });
}

bool UnregisterHostManagerClass() {
    return UnregisterOleClass(kHostManagerProgId);
}

}  // namespace kv
