#include "suite/appserver/AppStore.h"

#include "suite/appserver/AppSchema.h"

namespace kv {

namespace {

std::string Quoted(const std::string& name) {
    return "\"" + name + "\"";
}

std::string CheckSchemeName(const std::string& name) {
    if (name.find_first_not_of(" \t") == std::string::npos) return "方案名不可空白";
    if (SchemeNameWidth(name) > kMaxSchemeNameWidth) return "方案名长度不可大于20: " + Quoted(name);
    return {};
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\n";
    return text;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

}  // namespace

std::size_t SchemeNameWidth(const std::string& name) {
    std::size_t width = 0;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            ++width;
        else if ((byte & 0xC0) != 0x80)  // the lead byte of a character outside ASCII
            width += 2;
    }
    return width;
}

TAppStore::TAppStore(const std::string& path, bool fullSync) : db_(path, fullSync) {
    ApplyAppServerSchema(db_);
}

std::vector<TSchemeRecord> TAppStore::LoadSchemes(const std::string& user,
                                                  const std::string& program) {
    TSqliteStatement select(db_,
                            "SELECT ncondition, scondition, vcondition, create_date FROM schemes "
                            "WHERE creator = ?1 AND programme = ?2 ORDER BY ncondition");
    select.Bind(1, user).Bind(2, program);
    std::vector<TSchemeRecord> rows;
    while (select.Step())
        rows.push_back({select.ColumnText(0), user, program, select.ColumnText(1),
                        select.ColumnText(2), select.ColumnText(3)});
    return rows;
}

bool TAppStore::SchemeExists(const std::string& name, const std::string& user,
                             const std::string& program) {
    TSqliteStatement select(db_,
                            "SELECT 1 FROM schemes WHERE ncondition = ?1 AND creator = ?2 AND "
                            "programme = ?3");
    select.Bind(1, name).Bind(2, user).Bind(3, program);
    return select.Step();
}

std::string TAppStore::InsertScheme(const TSchemeRecord& scheme, bool replace) {
    if (auto refusal = CheckSchemeName(scheme.name); !refusal.empty()) return refusal;
    if (scheme.creator.empty() || scheme.programme.empty()) return "方案缺少用户或程序代码";
    TSqliteTransaction transaction(db_);
    if (!replace && SchemeExists(scheme.name, scheme.creator, scheme.programme))
        return "方案已经存在: " + Quoted(scheme.name);
    TSqliteStatement write(
        db_,
        "INSERT INTO schemes(ncondition, creator, programme, scondition, vcondition, "
        "create_date) VALUES (?1, ?2, ?3, ?4, ?5, ?6) ON CONFLICT(creator, programme, "
        "ncondition) DO UPDATE SET scondition = excluded.scondition, vcondition = "
        "excluded.vcondition, create_date = excluded.create_date");
    write.Bind(1, scheme.name).Bind(2, scheme.creator).Bind(3, scheme.programme);
    write.Bind(4, scheme.controls).Bind(5, scheme.values).Bind(6, scheme.createDate);
    write.Execute();
    transaction.Commit();
    return {};
}

std::string TAppStore::DeleteScheme(const std::string& name, const std::string& user,
                                    const std::string& program) {
    TSqliteTransaction transaction(db_);
    TSqliteStatement erase(
        db_, "DELETE FROM schemes WHERE ncondition = ?1 AND creator = ?2 AND programme = ?3");
    erase.Bind(1, name).Bind(2, user).Bind(3, program).Execute();
    if (db_.Changes() == 0) return "方案不存在: " + Quoted(name);
    transaction.Commit();
    return {};
}

std::string TAppStore::RenameScheme(const std::string& oldName, const std::string& newName,
                                    const std::string& user, const std::string& program) {
    if (auto refusal = CheckSchemeName(newName); !refusal.empty()) return refusal;
    TSqliteTransaction transaction(db_);
    if (!SchemeExists(oldName, user, program)) return "方案不存在: " + Quoted(oldName);
    if (oldName == newName) return {};
    if (SchemeExists(newName, user, program)) return "方案已经存在: " + Quoted(newName);
    TSqliteStatement rename(db_,
                            "UPDATE schemes SET ncondition = ?1 WHERE ncondition = ?2 AND "
                            "creator = ?3 AND programme = ?4");
    rename.Bind(1, newName).Bind(2, oldName).Bind(3, user).Bind(4, program).Execute();
    transaction.Commit();
    return {};
}

std::string TAppStore::AddJob(const TJobRecord& job, const std::string& day) {
    TSqliteTransaction transaction(db_);
    TSqliteStatement count(db_,
                           "INSERT INTO job_numbers(day, last) VALUES (?1, 1) ON CONFLICT(day) "
                           "DO UPDATE SET last = last + 1 RETURNING last");
    count.Bind(1, day);
    if (!count.Step()) db_.Fail("job number");
    const std::int64_t serial = count.ColumnInt(0);
    count.Reset();
    if (serial > 999999) throw EDatabaseError("No job number left for the day " + day);
    const std::string digits = std::to_string(serial);
    const std::string number = day + std::string(6 - digits.size(), '0') + digits;

    TSqliteStatement insert(
        db_,
        "INSERT INTO jobs(job_no, program, company, user_id, database_name, job_kind, periodic, "
        "gen_mode, gen_time, submitted, computer, local_run, status, job_array) VALUES (?1, ?2, "
        "?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)");
    insert.Bind(1, number).Bind(2, job.program).Bind(3, job.company).Bind(4, job.user);
    insert.Bind(5, job.database).Bind(6, job.kind).Bind(7, std::int64_t{job.periodic});
    insert.Bind(8, std::int64_t{job.generation}).Bind(9, job.generationTime);
    insert.Bind(10, job.submitted).Bind(11, job.computer).Bind(12, std::int64_t{job.localRun});
    insert.Bind(13, job.localRun ? "local" : "waiting").BindBlob(14, job.encodedArray);
    insert.Execute();
    transaction.Commit();
    return number;
}

std::optional<TStoredJob> TAppStore::FindJob(const std::string& number) {
    TSqliteStatement select(db_,
                            "SELECT program, company, user_id, database_name, job_kind, periodic, "
                            "gen_mode, gen_time, submitted, computer, local_run, status, "
                            "job_array FROM jobs WHERE job_no = ?1");
    select.Bind(1, number);
    if (!select.Step()) return std::nullopt;
    TStoredJob stored{number, select.ColumnText(11), {}};
    auto& job = stored.record;
    job.program = select.ColumnText(0);
    job.company = select.ColumnText(1);
    job.user = select.ColumnText(2);
    job.database = select.ColumnText(3);
    job.kind = select.ColumnText(4);
    job.periodic = select.ColumnInt(5) != 0;
    job.generation = static_cast<int>(select.ColumnInt(6));
    job.generationTime = select.ColumnDouble(7);
    job.submitted = select.ColumnDouble(8);
    job.computer = select.ColumnText(9);
    job.localRun = select.ColumnInt(10) != 0;
    job.encodedArray = select.ColumnBlob(12);
    return stored;
}

std::vector<std::string> TAppStore::JobNumbers() {
    TSqliteStatement select(db_, "SELECT job_no FROM jobs ORDER BY job_no");
    std::vector<std::string> numbers;
    while (select.Step())
        numbers.push_back(select.ColumnText(0));
    return numbers;
}

bool TAppStore::RecordRun(const std::string& number, const std::string& messages, double finished) {
    TSqliteTransaction transaction(db_);
    TSqliteStatement status(db_, "UPDATE jobs SET status = 'done' WHERE job_no = ?1");
    status.Bind(1, number).Execute();
    if (db_.Changes() == 0) return false;
    TSqliteStatement insert(db_,
                            "INSERT INTO job_runs(job_no, finished, messages) VALUES (?1, ?2, ?3)");
    insert.Bind(1, number).Bind(2, finished).Bind(3, messages).Execute();
    transaction.Commit();
    return true;
}

int TAppStore::RunCount(const std::string& number) {
    TSqliteStatement select(db_, "SELECT count(*) FROM job_runs WHERE job_no = ?1");
    select.Bind(1, number);
    return select.Step() ? static_cast<int>(select.ColumnInt(0)) : 0;
}

TRightsRecord TAppStore::FindRights(const std::string& user, const std::string& program) {
    TSqliteStatement select(
        db_,
        "SELECT rights_code, flag2, flag3, field4, field5, field6, value2, value3, limit_prefix, "
        "limits FROM rights WHERE user_id IN (?1, '*') AND program IN (?2, '*') "
        "ORDER BY user_id = '*', program = '*' LIMIT 1");
    select.Bind(1, user).Bind(2, program);
    TRightsRecord rights;
    if (!select.Step()) return rights;
    rights.rightsCode = select.ColumnText(0);
    rights.flag2 = select.ColumnText(1);
    rights.flag3 = select.ColumnText(2);
    rights.field4 = select.ColumnText(3);
    rights.field5 = select.ColumnText(4);
    rights.field6 = select.ColumnText(5);
    rights.value2 = select.ColumnText(6);
    rights.value3 = select.ColumnText(7);
    rights.limitPrefix = select.ColumnText(8);
    rights.limits = SplitLines(select.ColumnText(9));
    return rights;
}

void TAppStore::PutRights(const std::string& user, const std::string& program,
                          const TRightsRecord& rights) {
    TSqliteTransaction transaction(db_);
    TSqliteStatement write(
        db_,
        "INSERT OR REPLACE INTO rights(user_id, program, rights_code, flag2, flag3, field4, "
        "field5, field6, value2, value3, limit_prefix, limits) VALUES (?1, ?2, ?3, ?4, ?5, ?6, "
        "?7, ?8, ?9, ?10, ?11, ?12)");
    write.Bind(1, user).Bind(2, program).Bind(3, rights.rightsCode).Bind(4, rights.flag2);
    write.Bind(5, rights.flag3).Bind(6, rights.field4).Bind(7, rights.field5);
    write.Bind(8, rights.field6).Bind(9, rights.value2).Bind(10, rights.value3);
    write.Bind(11, rights.limitPrefix).Bind(12, JoinLines(rights.limits)).Execute();
    transaction.Commit();
}

}  // namespace kv
