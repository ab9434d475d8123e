// The daemon's log: one line per event, "[yyyy/mm/dd hh:nn:ss:zzz] text", appended to the log
// file (or standard error without one) and flushed at once, from any thread.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>

namespace kv {

class TServerLog {
public:
    // Raises EInOutError when the file cannot be opened for appending.
    explicit TServerLog(const std::string& fileName);
    ~TServerLog();
    TServerLog(const TServerLog&) = delete;
    TServerLog& operator=(const TServerLog&) = delete;

    void Write(const std::string& text);

private:
    std::mutex mutex_;
    std::FILE* file_ = nullptr;
    bool own_ = false;
};

}  // namespace kv
