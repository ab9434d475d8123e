// The transcript of a host-shell run: one JSON object per line, written (and flushed) as things
// happen, so that a run that ends abnormally still leaves what it did. Every line has "event";
// docs/kvhost.md lists the events and their fields.
#pragma once

#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "suite/kvhost/VariantJson.h"

namespace kv {

class TTranscript {
public:
    // Writes to the file (created or emptied, with its folder); "" writes nowhere, "-" to
    // standard output. Raises EInOutError when the file cannot be created.
    explicit TTranscript(const std::string& fileName);
    // Writes to a stream the caller keeps alive.
    explicit TTranscript(std::ostream& out);

    // Writes one line {"event": event, ...fields}; texts that are no valid UTF-8 are written
    // with replacement characters.
    void Write(const std::string& event, TJson fields = TJson::object());
    // Every line written so far (for the summary).
    const std::vector<TJson>& Lines() const { return lines_; }

private:
    std::unique_ptr<std::ofstream> file_;
    std::ostream* out_ = nullptr;
    std::vector<TJson> lines_;
};

}  // namespace kv
