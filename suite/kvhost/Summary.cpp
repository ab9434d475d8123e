// The readable summary of a host-shell run, made from its transcript.
#include <ostream>
#include <string>

#include "suite/kvhost/HostShell.h"

namespace kv {

namespace {

std::string Short(const TJson& value) {
    std::string text = value.is_string()
                           ? value.get<std::string>()
                           : value.dump(-1, ' ', false, TJson::error_handler_t::replace);
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text.size() > 160 ? text.substr(0, 157) + "..." : text;
}

std::string ResultMeaning(const TJson& code) {
    if (!code.is_number_integer()) return "";
    switch (code.get<int>()) {
        case 1:
            return " (a job was submitted)";
        case 2:
            return " (cancelled)";
        case 0:
            return " (nothing submitted)";
        default:
            return "";
    }
}

void WriteLine(const TJson& line, std::ostream& out) {
    const std::string event = line.value("event", "");
    if (event == "start") {
        out << "kvhost: " << Short(line["plugin"]) << ", user " << Short(line["user"])
            << ", company " << Short(line["company"]) << "\n";
        out << "  database " << Short(line["database"]) << "\n";
    } else if (event == "createForm") {
        out << "  CreateForm -> " << line["result"] << "\n";
    } else if (event == "notify") {
        out << "  notified " << line["code"] << " " << Short(line["name"]) << "\n";
    } else if (event == "box") {
        out << "  message box [" << Short(line["kind"]) << "] " << Short(line["text"]) << " -> "
            << Short(line["answer"]) << "\n";
    } else if (event == "lookup" || event == "date" || event == "phrase" || event == "help") {
        out << "  " << event << " " << Short(line["request"]) << " -> " << Short(line["answer"])
            << "\n";
    } else if (event == "appserver") {
        out << "  server " << Short(line["call"]) << " -> "
            << (line.contains("error") ? "error: " + Short(line["error"]) : Short(line["answer"]))
            << "\n";
    } else if (event == "error") {
        out << "  error" << (line.contains("step") ? " in step " + line["step"].dump() : "") << ": "
            << Short(line["message"]) << "\n";
    } else if (event == "result") {
        out << "Result: ResultCode " << line["resultCode"] << ResultMeaning(line["resultCode"])
            << ", ResultValue " << Short(line["resultValue"]) << ", form freed "
            << (line.value("formFreed", false) ? "yes" : "no") << "\n";
    }
}

}  // namespace

void WriteSummary(const TTranscript& transcript, std::ostream& out) {
    for (const TJson& line : transcript.Lines())
        WriteLine(line, out);
}

}  // namespace kv
