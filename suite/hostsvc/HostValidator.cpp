#include "suite/hostsvc/HostValidator.h"

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "suite/hostsvc/DemoDatabase.h"
#include "suite/hostsvc/HostTables.h"
#include "suite/hostsvc/HostText.h"

namespace kv {

namespace {

// The request's parameters as the question reads them: missing ones are "", and more than
// it reads are refused, since they would mean a question other than the one asked.
std::vector<std::string> QuestionParams(const TTableQuery& query, const Variant& params) {
    auto texts = ParamTexts(params, std::string(query.table) + " " + std::string(query.kind));
    if (static_cast<int>(texts.size()) > query.paramCount)
        throw EOleException(std::string(query.table) + " " + std::string(query.kind) + " reads " +
                            std::to_string(query.paramCount) + " parameter(s), not " +
                            std::to_string(texts.size()));
    texts.resize(static_cast<std::size_t>(query.paramCount));
    return texts;
}

}  // namespace

THostValidator::THostValidator(std::shared_ptr<THostServices> services)
    : services_(std::move(services)) {
    RegisterProperty(
        "ProductID", [this] { return Variant(productId_); },
        [this](const Variant& v) { productId_ = v.AsInteger(); });
    RegisterProperty(
        "BaseLimited", [this] { return Variant(baseLimited_); },
        [this](const Variant& v) { baseLimited_ = VarToStr(v); });
    const auto check = [this](std::vector<Variant>& args) {
        return Variant(Check(ArgText(args[0], "table"), ArgText(args[1], "kind"),
                             ArgText(args[2], "database"), args[3], args[4]));
    };
    RegisterMethod("CheckValue", check, 5, 5);
    RegisterMethod("QueryData", check, 5, 5);
}

bool THostValidator::Check(const std::string& table, const std::string& kind,
                           const std::string& database, const Variant& params, Variant& result) {
    services_->CheckDatabaseName(database);
    const TTableQuery* query = FindCheckQuery(table, kind);
    if (!query)
        throw EOleException("No code check \"" + Trim(kind) + "\" of table \"" + Trim(table) +
                            "\"");
    const auto rows =
        services_->Database().Query(query->sql, QuestionParams(*query, params),
                                    {{":company", services_->Options().companyId}}, 1);
    result = rows.empty() ? Variant() : RowToVariant(rows[0]);
    return !rows.empty();
}

}  // namespace kv
