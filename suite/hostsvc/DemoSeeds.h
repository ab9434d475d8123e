// The demo company data compiled into the host services: the schema (schema.sql) and one
// tab-separated file per table (TABLE.tsv: a header line of column names, then one line per
// row), taken from suite/data/demo when the library is built.
#pragma once

#include <string_view>
#include <vector>

namespace kv {

struct TDemoSeedFile {
    std::string_view name;  // file name, such as "RMATC.tsv"
    std::string_view text;  // UTF-8 contents
};

// The files in name order.
const std::vector<TDemoSeedFile>& DemoSeedFiles();

}  // namespace kv
