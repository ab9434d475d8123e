#include "suite/hostsvc/HostCounter.h"

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "suite/hostsvc/DemoDatabase.h"
#include "suite/hostsvc/HostText.h"
#include "suite/hostsvc/SimpleSql.h"

namespace kv {

namespace {

// The query and the field names of a "SimpleSQL" request: a text, or [query, field, ...].
void ReadSimpleSqlParams(const Variant& params, std::string& sql,
                         std::vector<std::string>& fields) {
    if (!params.IsArray()) {
        sql = ArgText(params, "SimpleSQL query");
        return;
    }
    const auto texts = ParamTexts(params, "SimpleSQL");
    // The query is taken as given (not trimmed) from the first element.
    sql = texts.empty() ? std::string() : ArgText(params[params.LowBound(1)], "SimpleSQL query");
    for (std::size_t i = 1; i < texts.size(); ++i)
        if (!texts[i].empty()) fields.push_back(texts[i]);
}

}  // namespace

THostCounter::THostCounter(std::shared_ptr<THostServices> services)
    : services_(std::move(services)) {
    RegisterMethod(
        "GetSysInfo", [this](std::vector<Variant>& args) { return GetSysInfo(args[0]); }, 1, 1);
    RegisterMethod(
        "GetCounter",
        [this](std::vector<Variant>& args) {
            return GetCounter(ArgText(args[0], "GetCounter name"), args[1],
                              args.size() > 2 ? args[2] : Variant());
        },
        2, 3);
}

std::string THostCounter::CompanyOf(const std::string& company) {
    const std::string wanted = company.empty() ? services_->Options().companyId : company;
    const auto rows = services_->Database().Query(
        "SELECT MA001 FROM CMSMA WHERE upper(MA001) = upper(?1)", {wanted});
    if (rows.empty()) throw EOleException("The company \"" + wanted + "\" is not in this database");
    return VarToStr(rows[0][0]);
}

Variant THostCounter::GetSysInfo(Variant& company) {
    const std::string code = CompanyOf(Trim(ArgText(company, "GetSysInfo company")));
    const auto rows = services_->Database().Query(
        "SELECT SS002, SS003 FROM KVTSS WHERE SS001 = ?1 ORDER BY SS002", {code});
    Variant info = VarArrayCreate({0, 1, 0, static_cast<int>(rows.size()) - 1});
    for (std::size_t i = 0; i < rows.size(); ++i) {
        info.Put(0, static_cast<int>(i), rows[i][0]);
        info.Put(1, static_cast<int>(i), rows[i][1]);
    }
    company = Variant(code);
    return info;
}

Variant THostCounter::GetCounter(const std::string& name, const Variant& params,
                                 const Variant& scope) {
    const std::string company = Trim(ArgText(ElementOrEmpty(scope, 0), "GetCounter company"));
    services_->CheckDatabaseName(ArgText(ElementOrEmpty(scope, 1), "GetCounter database"));
    const std::string counter = UpperCase(Trim(name));
    if (counter == "SIMPLESQL") {
        std::string sql;
        std::vector<std::string> fields;
        ReadSimpleSqlParams(params, sql, fields);
        const auto& options = services_->Options();
        return RunSimpleSql(services_->Database().ReadOnlyHandle(), sql, fields,
                            {options.simpleSqlTimeLimitMs, options.simpleSqlRowLimit});
    }
    return NextNumber(CompanyOf(company), counter);
}

Variant THostCounter::NextNumber(const std::string& company, const std::string& name) {
    auto& db = services_->Database();
    TSqliteTransaction transaction(db.Db());
    const auto rows = db.Query(
        "UPDATE KVTCN SET CN003 = CN003 + 1 WHERE CN001 = ?1 AND CN002 = ?2 "
        "RETURNING CN003, CN004, CN005",
        {company, name});
    if (rows.empty())
        throw EOleException("The counter \"" + name + "\" is not kept for company \"" + company +
                            "\"");
    transaction.Commit();
    std::string digits = VarToStr(rows[0][0]);
    const int width = rows[0][1].AsInteger();
    if (static_cast<int>(digits.size()) < width)
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    return Variant(VarToStr(rows[0][2]) + digits);
}

}  // namespace kv
