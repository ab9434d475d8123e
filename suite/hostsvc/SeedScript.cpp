// Turns the tab-separated seed files into INSERT statements. The files are the program's own
// (compiled in), never outside input, so their texts become quoted SQL literals.
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Exceptions.h"
#include "suite/hostsvc/DemoDatabase.h"
#include "suite/hostsvc/DemoSeeds.h"

namespace kv {

namespace {

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

std::string Quoted(std::string_view text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') quoted += '\'';
        quoted += c;
    }
    return quoted + "'";
}

bool IsIdentifier(std::string_view name) {
    if (name.empty()) return false;
    for (char c : name)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
              c == '_'))
            return false;
    return true;
}

void AppendTable(std::string& script, const TDemoSeedFile& file) {
    const std::string_view table = file.name.substr(0, file.name.size() - 4);
    std::string_view text = file.text;
    std::string columns;
    std::size_t header = 0;
    for (int lineNo = 1; !text.empty(); ++lineNo) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        const auto fields = SplitFields(line);
        if (header == 0) {
            for (auto name : fields) {
                if (!IsIdentifier(name))
                    throw EDatabaseError("Seed file " + std::string(file.name) +
                                         ": bad column name \"" + std::string(name) + "\"");
                columns += (columns.empty() ? "" : ", ") + std::string(name);
            }
            header = fields.size();
            continue;
        }
        if (fields.size() != header)
            throw EDatabaseError("Seed file " + std::string(file.name) + ", line " +
                                 std::to_string(lineNo) + ": " + std::to_string(fields.size()) +
                                 " fields, the header names " + std::to_string(header));
        script += "INSERT INTO " + std::string(table) + "(" + columns + ") VALUES (";
        for (std::size_t i = 0; i < fields.size(); ++i)
            script += (i ? ", " : "") + Quoted(fields[i]);
        script += ");\n";
    }
}

}  // namespace

std::string SeedInsertScript() {
    std::string script;
    for (const auto& file : DemoSeedFiles()) {
        if (!file.name.ends_with(".tsv")) continue;
        if (!IsIdentifier(file.name.substr(0, file.name.size() - 4)))
            throw EDatabaseError("Seed file " + std::string(file.name) + ": bad table name");
        AppendTable(script, file);
    }
    return script;
}

}  // namespace kv
