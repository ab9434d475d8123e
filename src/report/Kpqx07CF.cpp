#include "src/report/Kpqx07CF.h"

#include <exception>
#include <string>

#include "platform/core/Dispatch.h"
#include "platform/core/SysUtils.h"
#include "platform/net/SocketConnection.h"

namespace kv {

namespace {

constexpr const char* kServerClass = "ReportCounterS.dmReportCounter";
// The lookup window is connected when this option bit is set.
constexpr std::uint8_t kLookupWindowOption = 4;

// The texts of a job travel to the server as wide strings.
Variant ToWide(const Variant& value) {
    if (VarIsStr(value)) return Variant::Wide(value.AsString());
    if (!value.IsArray() || value.DimCount() != 1) return value;
    Variant copy = value;
    for (int i = value.LowBound(1); i <= value.HighBound(1); ++i)
        copy[i] = ToWide(value[i]);
    return copy;
}

}  // namespace

TfrmKpqx07::TfrmKpqx07(TComponent* owner, bool createNew) : TfrmBaseGene(owner, createNew) {}

void TfrmKpqx07::SetDefaults() {
    inherited::SetDefaults();
    LookupOptions |= kLookupWindowOption;
}

void TfrmKpqx07::SetServerName(TSocketConnection& connection) {
    inherited::SetServerName(connection);
    connection.SetServerName(kServerClass);
}

void TfrmKpqx07::btnOkClick(TObject* Sender) {
    inherited::btnOkClick(Sender);
    if (!BuildJob()) return;
    Variant answer;
    try {
        answer = OleCall(AppServer, "Request", {ToWide(JobArray)});
    } catch (const std::exception&) {
        answer = "ERROR";  // a raising call counts as a refusal
    }
    if (SameText(VarToStr(answer), "ERROR")) {
        std::string reason;
        try {
            reason = VarToStr(OleCall(AppServer, "ErrorDescript"));
        } catch (const std::exception& error) {
            reason = error.what();
        }
        ShowMessageCode("E;000013;" + reason);
        return;
    }
    ShowMessageCode((ShowResultMessage ? "I;000004;" : "I;-000004;") + VarToStr(answer));
    ResultCode = 1;
    ResultValue = answer;
    Close();
}

void TfrmKpqx07::btnCancelClick(TObject* Sender) {
    inherited::btnCancelClick(Sender);
    ResultCode = 2;
}

KV_PUBLISHED(TfrmKpqx07) {
    b.Method("btnOkClick", &T::btnOkClick);
    b.Method("btnCancelClick", &T::btnCancelClick);
}
KV_REGISTER_CLASS(TfrmKpqx07);

}  // namespace kv
