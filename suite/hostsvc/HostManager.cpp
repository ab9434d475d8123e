#include "suite/hostsvc/HostManager.h"

#include <cctype>

#include "platform/core/SysUtils.h"
#include "suite/hostsvc/DemoDatabase.h"
#include "suite/hostsvc/HostCounter.h"
#include "suite/hostsvc/HostText.h"
#include "suite/hostsvc/HostValidator.h"
#include "suite/hostsvc/LookupWindow.h"

namespace kv {

namespace {

// Message numbers are six digits; a shorter number is read as the same message.
std::string MessageNumber(const std::string& number) {
    std::string digits = Trim(number);
    if (digits.empty() || digits.size() >= 6) return digits;
    for (char c : digits)
        if (!std::isdigit(static_cast<unsigned char>(c))) return digits;
    return std::string(6 - digits.size(), '0') + digits;
}

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

THostManager::THostManager(std::shared_ptr<THostServices> services)
    : services_(std::move(services)) {
    RegisterMembers();
}

void THostManager::RegisterMembers() {
    RegisterProperty("VersionType", [this] { return Variant(services_->Options().versionType); });
    RegisterProperty("ProductID", [this] { return Variant(services_->Options().productId); });
    RegisterProperty(
        "CodePage", [this] { return Variant(services_->Options().codePage); },
        [this](const Variant& v) { services_->SetCodePage(Trim(VarToStr(v))); });
    RegisterMethod(
        "GetMessage",
        [this](std::vector<Variant>& args) {
            return Variant(GetMessage(ArgText(args[0], "GetMessage kind"),
                                      ArgText(args[1], "GetMessage number")));
        },
        2, 2);
    RegisterMethod(
        "CallHelp",
        [this](std::vector<Variant>& args) {
            THostRequest request{"CallHelp", args[0], {}, false, {}};
            const Variant number = ElementOrEmpty(args[0], 1);
            if (!args[0].IsArray() || VarIsClear(number) || number.IsArray())
                request.note = "a help request is [program prefix, help number]";
            services_->Record(std::move(request));
            return Variant();
        },
        1, 1);
    RegisterMethod(
        "GetFileList", [this](std::vector<Variant>& args) { return Variant(GetFileList(args[0])); },
        1, 1);
    RegisterMethod("Com_Counter",
                   [this](std::vector<Variant>&) { return Service<THostCounter>(counter_); });
    RegisterMethod("Com_Validator",
                   [this](std::vector<Variant>&) { return Service<THostValidator>(validator_); });
    RegisterMethod("Com_F2Window", [this](std::vector<Variant>&) {
        return Service<THostLookupWindow>(lookupWindow_);
    });
}

template <class T>
Variant THostManager::Service(Variant& slot) {
    if (VarIsClear(slot)) slot = Variant(std::make_shared<T>(services_));
    return slot;
}

std::string THostManager::GetMessage(const std::string& kind, const std::string& number) {
    const std::string k = UpperCase(Trim(kind));
    const std::string n = MessageNumber(number);
    const bool english = services_->English();
    const auto rows = services_->Database().Query(
        english ? "SELECT MS004 FROM KVTMS WHERE MS001 = ?1 AND MS002 = ?2"
                : "SELECT MS003 FROM KVTMS WHERE MS001 = ?1 AND MS002 = ?2",
        {k, n});
    if (!rows.empty()) return VarToStr(rows[0][0]);
    return english ? "Message " + k + ";" + n + " is not in the message table"
                   : "讯息表中没有讯息 " + k + ";" + n;
}

std::string THostManager::GetFileList(const Variant& names) {
    const auto texts = ParamTexts(names, "GetFileList");
    if (texts.empty() || texts[0].empty()) return {};
    const auto rows = services_->Database().Query(
        "SELECT FL001, FL002, FL003 FROM KVTFL WHERE FL001 = lower(?1)", {BaseName(texts[0])});
    if (rows.empty()) return {};
    return "<File><Name>" + VarToStr(rows[0][0]) + "</Name><Modify>" + VarToStr(rows[0][1]) +
           "</Modify><Path>" + VarToStr(rows[0][2]) + "</Path></File>";
}

}  // namespace kv
