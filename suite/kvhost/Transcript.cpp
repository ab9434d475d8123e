#include "suite/kvhost/Transcript.h"

#include <iostream>

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"

namespace kv {

TTranscript::TTranscript(const std::string& fileName) {
    if (fileName == "-") {
        out_ = &std::cout;
    } else if (!fileName.empty()) {
        const std::string folder = ExtractFileDir(fileName);
        if (!folder.empty()) ForceDirectories(folder);
        file_ = std::make_unique<std::ofstream>(fileName, std::ios::out | std::ios::trunc);
        if (!*file_) throw EInOutError("Cannot create the transcript file " + fileName);
        out_ = file_.get();
    }
}

TTranscript::TTranscript(std::ostream& out) : out_(&out) {}

void TTranscript::Write(const std::string& event, TJson fields) {
    TJson line{{"event", event}};
    for (auto& [key, value] : fields.items())
        line[key] = std::move(value);
    if (out_ != nullptr) {
        *out_ << line.dump(-1, ' ', false, TJson::error_handler_t::replace) << '\n';
        out_->flush();
    }
    lines_.push_back(std::move(line));
}

}  // namespace kv
