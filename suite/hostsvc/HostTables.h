// The catalogue of questions the host services answer from the demo company database, by
// table code and kind: the row a code check answers (Validator) and the list a lookup window
// shows (LookupWindow). Each SQL text binds the request's parameters to ?1, ?2, ... (trimmed
// texts, missing ones as ""), and may use :company (the host's company) and :user.
#pragma once

#include <string>
#include <string_view>

namespace kv {

struct TTableQuery {
    std::string_view table;
    std::string_view kind;
    int paramCount;  // parameters the question reads
    std::string_view sql;
};

// The code check of table/kind (compared without regard to case), or null.
const TTableQuery* FindCheckQuery(std::string_view table, std::string_view kind);
// The lookup list of table/kind, or null.
const TTableQuery* FindLookupList(std::string_view table, std::string_view kind);

}  // namespace kv
