#include "suite/hostsvc/LookupWindow.h"

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "suite/hostsvc/DemoDatabase.h"
#include "suite/hostsvc/HostTables.h"
#include "suite/hostsvc/HostText.h"

namespace kv {

namespace {

constexpr int kRequestSize = 19;

// The code a scripted choice names a row by: column 0, or columns 0 and 1 joined by "-".
bool RowHasCode(const TDbRow& row, const std::string& code) {
    const std::string wanted = Trim(code);
    if (row.empty()) return false;
    const std::string first = Trim(VarToStr(row[0]));
    if (first == wanted) return true;
    return row.size() > 1 && first + "-" + Trim(VarToStr(row[1])) == wanted;
}

struct TChoice {
    std::vector<TDbRow> rows;
    std::string note;  // why nothing was chosen
};

TChoice ChooseByCodes(const std::vector<TDbRow>& list, const std::vector<std::string>& codes) {
    TChoice choice;
    for (const auto& code : codes) {
        const TDbRow* found = nullptr;
        for (const auto& row : list)
            if (!found && RowHasCode(row, code)) found = &row;
        if (!found) return {{}, "the code \"" + code + "\" is not in the list"};
        choice.rows.push_back(*found);
    }
    return choice;
}

TChoice ChooseByPositions(const std::vector<TDbRow>& list, const std::vector<int>& positions) {
    TChoice choice;
    for (int position : positions) {
        if (position < 0 || position >= static_cast<int>(list.size()))
            return {{},
                    "position " + std::to_string(position) + " is outside the list of " +
                        std::to_string(list.size()) + " rows"};
        choice.rows.push_back(list[static_cast<std::size_t>(position)]);
    }
    return choice;
}

// What the window answers for a scripted choice; request.note explains an empty answer.
Variant Answer(const TLookupAnswer& scripted, const std::vector<TDbRow>& list, bool multiSelect,
               THostRequest& request) {
    if (scripted.kind == TLookupAnswer::Kind::Cancel) return {};
    if (scripted.kind == TLookupAnswer::Kind::Value) return scripted.value;
    TChoice choice = scripted.kind == TLookupAnswer::Kind::Codes
                         ? ChooseByCodes(list, scripted.codes)
                         : ChooseByPositions(list, scripted.positions);
    request.note = choice.note;
    if (choice.rows.empty()) {
        if (request.note.empty()) request.note = "the scripted choice names no row";
        return {};
    }
    if (!multiSelect && choice.rows.size() > 1) {
        choice.rows.resize(1);
        request.note = "a single choice: only the first row is taken";
    }
    return RowsToVariant(choice.rows);
}

// The user's phrase (or everybody's) of that code; "" with a note when there is none.
Variant Phrase(THostServices& services, const std::string& user, const std::string& code,
               std::string& note) {
    const auto rows = services.Database().Query(
        "SELECT PH003 FROM KVTPH WHERE PH002 = ?2 AND PH001 IN (?1, '*') ORDER BY PH001 = '*'",
        {user, Trim(code)});
    if (!rows.empty()) return rows[0][0];
    note = "the phrase \"" + code + "\" is not in the user's list";
    return Variant("");
}

std::string Today() {
    int year = 0, month = 0, day = 0;
    DecodeDate(Date(), year, month, day);
    return Format("%.4d%.2d%.2d", {year, month, day});
}

}  // namespace

THostLookupWindow::THostLookupWindow(std::shared_ptr<THostServices> services)
    : services_(std::move(services)) {
    RegisterMethod(
        "F2GetData", [this](std::vector<Variant>& args) { return F2GetData(args[0]); }, 1, 1);
    RegisterMethod(
        "ShowInputDay", [this](std::vector<Variant>& args) { return ShowInputDay(args[0]); }, 1, 1);
    RegisterMethod(
        "GetPhrase",
        [this](std::vector<Variant>& args) { return GetPhrase(args[0], args[1], args[2]); }, 1, 3);
}

Variant THostLookupWindow::F2GetData(const Variant& request) {
    THostRequest record{"F2GetData", request, {}, false, {}};
    try {
        if (!request.IsArray() || request.DimCount() != 1 ||
            request.HighBound(1) - request.LowBound(1) + 1 != kRequestSize)
            throw EOleException("F2GetData: the request must be an array of 19 elements");
        const std::string table = Trim(ArgText(request[request.LowBound(1)], "table"));
        const std::string kind = Trim(ArgText(request[request.LowBound(1) + 1], "kind"));
        services_->CheckDatabaseName(ArgText(request[request.LowBound(1) + 6], "database"));
        const TTableQuery* query = FindLookupList(table, kind);
        if (!query)
            throw EOleException("F2GetData: no lookup list \"" + kind + "\" of table \"" + table +
                                "\"");
        auto params = ParamTexts(request[request.LowBound(1) + 2], "F2GetData parameters");
        params.resize(static_cast<std::size_t>(query->paramCount));
        const bool multiSelect = request[request.LowBound(1) + 3].AsBoolean();
        const std::string user = ArgText(request[request.LowBound(1) + 18], "user");
        const auto list = services_->Database().Query(
            query->sql, params, {{":company", services_->Options().companyId}, {":user", user}});
        auto scripted = services_->Script().TakeLookup(table);
        if (scripted) {
            record.scripted = true;
            record.answer = Answer(*scripted, list, multiSelect, record);
        } else if (const TLookupAnswer* next = services_->Script().PeekLookup()) {
            record.note = "the next scripted answer is meant for table " + next->table;
        } else {
            record.note = "no scripted answer: cancelled";
        }
    } catch (const Exception& error) {
        record.note = error.what();
        services_->Record(record);
        throw;
    }
    services_->Record(record);
    return record.answer;
}

Variant THostLookupWindow::ShowInputDay(const Variant& request) {
    THostRequest record{"ShowInputDay", request, Variant(""), false, {}};
    try {
        if (!request.IsArray() || request.DimCount() != 1)
            throw EOleException("ShowInputDay: the request must be [ROC flag, yyyymmdd, database]");
        services_->CheckDatabaseName(ArgText(ElementOrEmpty(request, 2), "database"));
        const std::string start = Trim(ArgText(ElementOrEmpty(request, 1), "start day"));
        if (auto scripted = services_->Script().TakeDate()) {
            record.scripted = true;
            if (scripted->kind == TDateAnswer::Kind::Date) record.answer = Variant(scripted->ymd);
            // The window opens on today when it is handed no valid day.
            if (scripted->kind == TDateAnswer::Kind::Start)
                record.answer = Variant(IsYmdDay(start) ? start : Today());
        } else {
            record.note = "no scripted answer: cancelled";
        }
    } catch (const Exception& error) {
        record.note = error.what();
        services_->Record(record);
        throw;
    }
    services_->Record(record);
    return record.answer;
}

Variant THostLookupWindow::GetPhrase(const Variant& user, const Variant& database,
                                     const Variant& window) {
    THostRequest record{"GetPhrase", VarArrayOf({user, database, window}), Variant(""), false, {}};
    try {
        services_->CheckDatabaseName(ArgText(database, "database"));
        const std::string userId = Trim(ArgText(user, "user"));
        auto scripted = services_->Script().TakePhrase();
        if (!scripted) {
            record.note = "no scripted answer: cancelled";
        } else {
            record.scripted = true;
            if (scripted->kind == TPhraseAnswer::Kind::Text)
                record.answer = Variant(scripted->text);
            if (scripted->kind == TPhraseAnswer::Kind::Code)
                record.answer = Phrase(*services_, userId, scripted->text, record.note);
        }
    } catch (const Exception& error) {
        record.note = error.what();
        services_->Record(record);
        throw;
    }
    services_->Record(record);
    return record.answer;
}

}  // namespace kv
