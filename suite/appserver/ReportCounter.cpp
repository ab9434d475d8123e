#include "suite/appserver/ReportCounter.h"

#include "platform/core/ComObj.h"
#include "platform/core/SysUtils.h"
#include "platform/net/ProviderRows.h"
#include "platform/net/VariantCodec.h"
#include "suite/appserver/JobArray.h"

namespace kv {

namespace {

constexpr const char* kRefused = "ERROR";

// The elements of a key array passed by the client, which must hold at least `count`.
std::vector<std::string> KeyTexts(const Variant& key, int count, const char* what) {
    if (!key.IsArray() || key.DimCount() != 1 || key.HighBound(1) - key.LowBound(1) + 1 < count)
        throw EOleException(std::string(what) + ": 参数应为至少 " + std::to_string(count) +
                            " 个元素的数组");
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i)
        texts.push_back(VarToStr(key[key.LowBound(1) + i]));
    return texts;
}

std::string JoinMessages(const Variant& messages) {
    if (!messages.IsArray()) return VarToStr(messages);
    std::string text;
    for (int i = messages.LowBound(1); messages.DimCount() == 1 && i <= messages.HighBound(1); ++i)
        text += VarToStr(messages[i]) + "\r\n";
    return text;
}

Variant CountedArray(const std::vector<std::string>& items) {
    Variant counted = VarArrayCreate({0, static_cast<int>(items.size())});
    counted[0] = Variant(static_cast<int>(items.size()));
    for (std::size_t i = 0; i < items.size(); ++i)
        counted[static_cast<int>(i) + 1] = Variant(items[i]);
    return counted;
}

}  // namespace

TdmReportCounter::TdmReportCounter(const TAppServerOptions& options)
    : options_(options),
      store_(std::make_unique<TAppStore>(options.databasePath, options.fullSync)) {
    RegisterMembers();
    RegisterSchemeMembers();
}

double TdmReportCounter::Now() const {
    return options_.now ? options_.now() : kv::Now();
}

void TdmReportCounter::RegisterMembers() {
    RegisterMethod(
        "GetPower", [this](std::vector<Variant>& args) { return GetPower(args[0]); }, 1, 1);
    RegisterProperty("SQLType", [] { return Variant(0); });
    RegisterProperty("ErrorDescript", [this] { return Variant(lastError_); });
    RegisterMethod(
        "Request", [this](std::vector<Variant>& args) { return Submit(args[0], "", false); }, 1, 1);
    RegisterMethod(
        "Request1",
        [this](std::vector<Variant>& args) {
            return Submit(args[0], args.size() > 1 ? VarToStr(args[1]) : "", true);
        },
        1, 2);
    RegisterMethod(
        "UpdateStatus1", [this](std::vector<Variant>& args) { return UpdateStatus(args); }, 1, 3);
    RegisterMethod(
        "AS_GetRecords", [this](std::vector<Variant>& args) { return ProviderRecords(args[0]); }, 1,
        7);
    RegisterMethod("AS_GetProviderNames",
                   [](std::vector<Variant>&) { return VarArrayOf({Variant(kSchemeProvider)}); });
}

void TdmReportCounter::RegisterSchemeMembers() {
    RegisterMethod(
        "LoadTable", [this](std::vector<Variant>& args) { return LoadTable(args[0]); }, 1, 1);
    RegisterMethod(
        "InsertConTable", [this](std::vector<Variant>& args) { return InsertConTable(args[0]); }, 1,
        1);
    RegisterMethod(
        "DeleteConTable", [this](std::vector<Variant>& args) { return DeleteConTable(args[0]); }, 1,
        1);
    RegisterMethod(
        "ChangeConName",
        [this](std::vector<Variant>& args) { return ChangeConName(args[0], args[1]); }, 2, 2);
}

Variant TdmReportCounter::GetPower(const Variant& request) {
    const auto key = KeyTexts(request, 3, "GetPower");
    const TRightsRecord rights = store_->FindRights(key[1], key[2]);
    Variant answer = VarArrayCreate({0, 5});
    answer[0] = Variant(key[1]);
    answer[1] = Variant(rights.rightsCode + "," + rights.flag2 + "," + rights.flag3 + "," +
                        rights.field4 + "," + rights.field5 + "," + rights.field6);
    answer[2] = Variant(rights.value2);
    answer[3] = Variant(rights.value3);
    answer[4] = Variant(rights.limitPrefix);
    answer[5] = CountedArray(rights.limits);
    return answer;
}

Variant TdmReportCounter::Submit(const Variant& job, const std::string& computer, bool localRun) {
    try {
        const double now = Now();
        const TJobSummary summary = CheckJobArray(job, now);
        TJobRecord record{summary.program,
                          summary.company,
                          summary.user,
                          summary.database,
                          summary.kind,
                          summary.periodic,
                          summary.generation,
                          summary.generationTime,
                          now,
                          computer,
                          localRun,
                          EncodeVariant(job)};
        const std::string number = store_->AddJob(record, FormatDateTime("yyyymmdd", now));
        lastError_.clear();
        return Variant(number);
    } catch (const std::exception& error) {
        lastError_ = error.what();
        return Variant(kRefused);
    }
}

Variant TdmReportCounter::UpdateStatus(const std::vector<Variant>& args) {
    const std::string number = VarToStr(args[0]);
    const std::string messages = args.size() > 1 ? JoinMessages(args[1]) : "";
    const double when = args.size() > 2 && !VarIsClear(args[2]) ? VarToDateTime(args[2]) : Now();
    if (!store_->RecordRun(number, messages, when)) {
        lastError_ = "作业编号不存在: " + number;
        throw EOleException(lastError_);
    }
    return Variant();
}

Variant TdmReportCounter::LoadTable(const Variant& key) {
    const auto texts = KeyTexts(key, 2, "LoadTable");
    selection_ = store_->LoadSchemes(texts[0], texts[1]);
    return Variant();
}

Variant TdmReportCounter::InsertConTable(const Variant& record) {
    const auto texts = KeyTexts(record, 6, "InsertConTable");
    const int replaceIndex = record.LowBound(1) + 6;
    const bool replace = replaceIndex <= record.HighBound(1) && !VarIsClear(record[replaceIndex]) &&
                         !VarIsNull(record[replaceIndex]) && record[replaceIndex].AsBoolean();
    TSchemeRecord scheme{texts[0], texts[1], texts[3], texts[4], texts[5], texts[2]};
    return Variant(lastError_ = store_->InsertScheme(scheme, replace));
}

Variant TdmReportCounter::DeleteConTable(const Variant& key) {
    const auto texts = KeyTexts(key, 3, "DeleteConTable");
    return Variant(lastError_ = store_->DeleteScheme(texts[0], texts[1], texts[2]));
}

Variant TdmReportCounter::ChangeConName(const Variant& oldKey, const Variant& newKey) {
    const auto from = KeyTexts(oldKey, 3, "ChangeConName");
    const auto to = KeyTexts(newKey, 3, "ChangeConName");
    // A scheme only ever changes its name, never its owner or program.
    if (from[1] != to[1] || from[2] != to[2])
        return Variant(lastError_ = "方案只能在同一用户与程序内改名");
    return Variant(lastError_ = store_->RenameScheme(from[0], to[0], from[1], from[2]));
}

Variant TdmReportCounter::ProviderRecords(const Variant& provider) const {
    if (!SameText(VarToStr(provider), kSchemeProvider))
        throw EOleException("未知的 Provider: " + VarToStr(provider));
    TProviderRows rows;
    rows.fields = {"NCONDITION", "CREATOR", "PROGRAMME", "SCONDITION", "VCONDITION", "CREATE_DATE"};
    for (const auto& s : selection_)
        rows.rows.push_back({Variant(s.name), Variant(s.creator), Variant(s.programme),
                             Variant(s.controls), Variant(s.values), Variant(s.createDate)});
    return MakeProviderPacket(rows);
}

void RegisterReportCounterClass(const TAppServerOptions& options) {
    RegisterOleClass(kReportCounterProgId, [options] {
        return DispatchPtr(std::make_shared<TdmReportCounter>(options));
    });
}

}  // namespace kv
