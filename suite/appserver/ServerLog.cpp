#include "suite/appserver/ServerLog.h"

#include <cerrno>
#include <cstring>

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"

namespace kv {

TServerLog::TServerLog(const std::string& fileName) {
    if (fileName.empty()) {
        file_ = stderr;
        return;
    }
    file_ = std::fopen(fileName.c_str(), "a");
    if (!file_)
        throw EInOutError("Cannot open the log file \"" + fileName + "\": " + std::strerror(errno));
    own_ = true;
}

TServerLog::~TServerLog() {
    if (own_) std::fclose(file_);
}

void TServerLog::Write(const std::string& text) {
    const std::string line = "[" + FormatDateTime("yyyy/mm/dd hh:nn:ss:zzz", Now()) + "] " + text;
    std::lock_guard lock(mutex_);
    std::fprintf(file_, "%s\n", line.c_str());
    std::fflush(file_);
}

}  // namespace kv
