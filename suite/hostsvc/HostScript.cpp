// The scripted answers of the host's headless windows.
#include <cctype>

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "suite/hostsvc/HostServices.h"
#include "suite/hostsvc/HostText.h"

namespace kv {

TLookupAnswer TLookupAnswer::Cancel(std::string table) {
    TLookupAnswer answer;
    answer.table = std::move(table);
    return answer;
}

TLookupAnswer TLookupAnswer::ByCodes(std::vector<std::string> codes, std::string table) {
    TLookupAnswer answer;
    answer.kind = Kind::Codes;
    answer.codes = std::move(codes);
    answer.table = std::move(table);
    return answer;
}

TLookupAnswer TLookupAnswer::ByPositions(std::vector<int> positions, std::string table) {
    TLookupAnswer answer;
    answer.kind = Kind::Positions;
    answer.positions = std::move(positions);
    answer.table = std::move(table);
    return answer;
}

TLookupAnswer TLookupAnswer::Typed(Variant value, std::string table) {
    TLookupAnswer answer;
    answer.kind = Kind::Value;
    answer.value = std::move(value);
    answer.table = std::move(table);
    return answer;
}

TDateAnswer TDateAnswer::Cancel() {
    return {};
}

TDateAnswer TDateAnswer::On(std::string ymd) {
    if (!IsYmdDay(ymd))
        throw EConvertError("'" + ymd + "' is not a day written yyyymmdd (17530101 to 99991231)");
    return {Kind::Date, std::move(ymd)};
}

TDateAnswer TDateAnswer::Start() {
    return {Kind::Start, {}};
}

TPhraseAnswer TPhraseAnswer::Cancel() {
    return {};
}

TPhraseAnswer TPhraseAnswer::ByCode(std::string code) {
    return {Kind::Code, std::move(code)};
}

TPhraseAnswer TPhraseAnswer::Typed(std::string text) {
    return {Kind::Text, std::move(text)};
}

void THostScript::AddLookup(TLookupAnswer answer) {
    lookups_.push_back(std::move(answer));
}

void THostScript::AddDate(TDateAnswer answer) {
    dates_.push_back(std::move(answer));
}

void THostScript::AddPhrase(TPhraseAnswer answer) {
    phrases_.push_back(std::move(answer));
}

void THostScript::Clear() {
    lookups_.clear();
    dates_.clear();
    phrases_.clear();
}

std::optional<TLookupAnswer> THostScript::TakeLookup(const std::string& table) {
    if (lookups_.empty()) return std::nullopt;
    const std::string& meantFor = lookups_.front().table;
    if (!meantFor.empty() && !SameText(Trim(meantFor), Trim(table))) return std::nullopt;
    TLookupAnswer answer = std::move(lookups_.front());
    lookups_.pop_front();
    return answer;
}

const TLookupAnswer* THostScript::PeekLookup() const {
    return lookups_.empty() ? nullptr : &lookups_.front();
}

std::optional<TDateAnswer> THostScript::TakeDate() {
    if (dates_.empty()) return std::nullopt;
    TDateAnswer answer = std::move(dates_.front());
    dates_.pop_front();
    return answer;
}

std::optional<TPhraseAnswer> THostScript::TakePhrase() {
    if (phrases_.empty()) return std::nullopt;
    TPhraseAnswer answer = std::move(phrases_.front());
    phrases_.pop_front();
    return answer;
}

}  // namespace kv
