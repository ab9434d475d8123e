#include "suite/hostsvc/HostTables.h"

#include <array>

#include "platform/core/SysUtils.h"

namespace kv {

namespace {

// Rows answered by the code checks. The column order is what the calling forms read: program
// rows give the name first, the no-direct-query flag at 3, the log flag at 4 and the English
// name at 7; footer defaults give the footer at 0..5 and the sign-off at 6..11; a footer or
// sign-off by number gives its three lines at 1..3; the web-report site comes first.
constexpr std::string_view kProgram =
    "SELECT MB002, MB001, MB004, MB005, MB006, MB007, MB008, MB003 FROM ADMMB "
    "WHERE MB001 = upper(?1)";
constexpr std::string_view kRepairOrder =
    "SELECT TC001, TC002, TC003, TC004, TC005, TC006, TC007, TC008, TC009, TC010, TC011, TC012, "
    "TC013, TC014 FROM RMATC WHERE TC001 = ?1 AND TC002 = ?2";
constexpr std::string_view kUser =
    "SELECT MA001, MA002, MA003, MA004, MA005 FROM KVTMA WHERE MA001 = ?1";

constexpr std::array kChecks = {
    TTableQuery{"ADMMB", "01", 1, kProgram},
    TTableQuery{"ADMMB", "11", 1, kProgram},
    TTableQuery{"GENES", "01", 3,
                "SELECT ncondition, creator, programme, create_date FROM schemes "
                "WHERE ncondition = ?1 AND creator = ?2 AND upper(programme) = upper(?3)"},
    TTableQuery{"CMSMT", "01", 1,
                "SELECT MT002, MT003, MT004, MT005, MT006, MT007, MT008, MT009, MT010, MT011, "
                "MT012, MT013 FROM CMSMT WHERE MT001 = upper(?1)"},
    TTableQuery{"CMSMS", "01", 2,
                "SELECT MS002, MS004, MS005, MS006, MS003, MS007 FROM CMSMS "
                "WHERE MS001 = ?1 AND MS002 = ?2"},
    TTableQuery{"CMSMA", "01", 1,
                "SELECT MA001, MA002, MA003, MA005, MA006, MA004 FROM CMSMA "
                "WHERE MA001 = CASE ?1 WHEN '' THEN :company ELSE ?1 END"},
    TTableQuery{"CMSMA", "02", 1,
                "SELECT MA004, MA001, MA002 FROM CMSMA "
                "WHERE MA001 = CASE ?1 WHEN '' THEN :company ELSE ?1 END AND MA004 <> ''"},
    TTableQuery{"CMSME", "01", 1,
                "SELECT ME001, ME002, ME003, ME004, ME005 FROM CMSME WHERE ME001 = ?1"},
    TTableQuery{"RMAMA", "01", 1,
                "SELECT MA001, MA002, MA003, MA004, MA005, MA006 FROM RMAMA WHERE MA001 = ?1"},
    TTableQuery{"RMAMB", "01", 1,
                "SELECT MB001, MB002, MB003, MB004, MB005, MB006 FROM RMAMB WHERE MB001 = ?1"},
    TTableQuery{"COPMA", "01", 1,
                "SELECT MA001, MA002, MA003, MA004, MA005, MA006, MA007 FROM COPMA "
                "WHERE MA001 = ?1"},
    TTableQuery{"RMATC", "01", 2, kRepairOrder},
    TTableQuery{"RMATC", "02", 2, kRepairOrder},
    TTableQuery{"KVTMA", "01", 1, kUser},
    TTableQuery{"KVTMA", "04", 1, kUser},
};

// Lists of the lookup windows, column 0 the code. A parameter narrows a list to the codes
// that begin with it (compared exactly, so "%" and "_" are plain characters).
constexpr std::string_view kRepairOrders =
    "SELECT TC001, TC002, TC003, TC004, MA002, TC009, TC008 FROM RMATC JOIN COPMA ON MA001 = TC004 "
    "WHERE substr(TC001, 1, length(?1)) = ?1 AND substr(TC002, 1, length(?2)) = ?2 "
    "ORDER BY TC001, TC002";
constexpr std::string_view kUsers =
    "SELECT MA001, MA002, MA003, MA004, MA005 FROM KVTMA "
    "WHERE substr(MA001, 1, length(?1)) = ?1 ORDER BY MA001";

constexpr std::array kLists = {
    TTableQuery{"ADMMB", "01", 1,
                "SELECT MB001, MB002, MB003, MB004 FROM ADMMB "
                "WHERE substr(MB001, 1, length(?1)) = upper(?1) ORDER BY MB001"},
    TTableQuery{"CMSMA", "01", 0, "SELECT MA001, MA002, MA003 FROM CMSMA ORDER BY MA001"},
    TTableQuery{"CMSMS", "01", 1,
                "SELECT MS002, MS003, MS004, MS005, MS006 FROM CMSMS "
                "WHERE (?1 = '' OR MS001 = ?1) ORDER BY MS001, MS002"},
    TTableQuery{"CMSME", "01", 1,
                "SELECT ME001, ME002, ME003, ME004 FROM CMSME "
                "WHERE substr(ME001, 1, length(?1)) = ?1 ORDER BY ME001"},
    TTableQuery{"RMAMA", "01", 1,
                "SELECT MA001, MA002, MA003, MA004 FROM RMAMA "
                "WHERE substr(MA001, 1, length(?1)) = ?1 ORDER BY MA001"},
    TTableQuery{"RMAMB", "01", 1,
                "SELECT MB001, MB002, MB003, MB004, MB005 FROM RMAMB "
                "WHERE substr(MB001, 1, length(?1)) = ?1 ORDER BY MB001"},
    TTableQuery{"COPMA", "01", 1,
                "SELECT MA001, MA002, MA004, MA005, MA007 FROM COPMA "
                "WHERE substr(MA001, 1, length(?1)) = ?1 ORDER BY MA001"},
    TTableQuery{"RMATC", "01", 2, kRepairOrders},
    TTableQuery{"RMATC", "02", 2, kRepairOrders},
    TTableQuery{"KVTMA", "01", 1, kUsers},
    TTableQuery{"KVTMA", "04", 1, kUsers},
    TTableQuery{"GENES", "01", 2,
                "SELECT ncondition, create_date, creator, programme FROM schemes "
                "WHERE creator = CASE ?1 WHEN '' THEN :user ELSE ?1 END "
                "AND upper(programme) = upper(?2) ORDER BY ncondition"},
};

template <std::size_t N>
const TTableQuery* Find(const std::array<TTableQuery, N>& queries, std::string_view table,
                        std::string_view kind) {
    const std::string t = Trim(table);
    const std::string k = Trim(kind);
    for (const auto& query : queries)
        if (SameText(query.table, t) && SameText(query.kind, k)) return &query;
    return nullptr;
}

}  // namespace

const TTableQuery* FindCheckQuery(std::string_view table, std::string_view kind) {
    return Find(kChecks, table, kind);
}

const TTableQuery* FindLookupList(std::string_view table, std::string_view kind) {
    return Find(kLists, table, kind);
}

}  // namespace kv
