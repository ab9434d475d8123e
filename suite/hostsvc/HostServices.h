// The host's automation object "PinnoxWorkCenter.Manager" and its three services (Counter,
// Validator, LookupWindow), backed by the demo company database: the outside world a report
// plug-in reaches through the `HostObject` it is handed.
//
// How a host program uses it:
//
//     THostOptions options;
//     options.databasePath = "company.db";   // the same file the application server uses
//     auto services = THostServices::Create(options);   // creates and seeds the demo data
//     RegisterHostManagerClass(services);    // CreateOleObject("PinnoxWorkCenter.Manager")
//     Variant host = services->CreateHostObject();   // or hand this to the controller
//     services->Script().AddLookup(TLookupAnswer::ByCodes({"D01"}));   // answers of the
//     services->Script().AddDate(TDateAnswer::On("20240315"));         // headless windows
//     services->SetRequestListener([](const THostRequest& r) { ... });  // transcript lines
//
// The lookup window, the date quick entry and the phrase window are the host's user interface.
// Here they are headless: each request takes the next scripted answer of its kind (a request
// without one is answered as if the user cancelled), and every request is recorded with its
// arguments and answer (Requests, and the listener as it happens). Help requests are recorded
// the same way.
//
// Everything runs on the caller's thread; nothing here is locked.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/Variant.h"

namespace kv {

inline constexpr const char* kHostManagerProgId = "PinnoxWorkCenter.Manager";

struct THostOptions {
    // The company database file; created with the demo data on first use. Required.
    std::string databasePath;
    // The company and database this host serves. Calls that name another database are
    // refused; an empty database name in a call means this one.
    std::string companyId = "DAZudo60";
    std::string databaseName = "DAZudo60";
    // The host's language: "437" English message texts, any other (936, 950) Chinese.
    std::string codePage = "936";
    // Answers of ProductID and VersionType.
    int productId = 1;
    int versionType = 1;
    // Limits of the counter "SimpleSQL": a query running longer is stopped, an answer with
    // more rows is refused.
    int simpleSqlTimeLimitMs = 2000;
    int simpleSqlRowLimit = 10000;
};

// A scripted answer of the lookup window (F2GetData).
struct TLookupAnswer {
    enum class Kind {
        Cancel,     // the user closed the window: no answer
        Codes,      // the rows whose code is one of `codes`, in that order
        Positions,  // the rows at these 0-based positions of the list the window shows
        Value       // `value` as it stands (a code typed into the window)
    };
    Kind kind = Kind::Cancel;
    // A code matches column 0 of a row, or columns 0 and 1 joined by "-" (blanks trimmed),
    // which is how repair orders (document type, number) are named.
    std::vector<std::string> codes;
    std::vector<int> positions;
    Variant value;
    // When not empty, the answer is meant for a request on this table only: a request on
    // another table leaves it queued and is answered as cancelled, with a note in the log.
    std::string table;

    static TLookupAnswer Cancel(std::string table = {});
    static TLookupAnswer ByCodes(std::vector<std::string> codes, std::string table = {});
    static TLookupAnswer ByPositions(std::vector<int> positions, std::string table = {});
    static TLookupAnswer Typed(Variant value, std::string table = {});
};

// A scripted answer of the date quick entry (ShowInputDay).
struct TDateAnswer {
    enum class Kind { Cancel, Date, Start };  // Start: the user took the day it opened on
    Kind kind = Kind::Cancel;
    std::string ymd;  // Date: "yyyymmdd"

    static TDateAnswer Cancel();
    // Raises EConvertError when ymd is no valid "yyyymmdd" day (17530101 to 99991231).
    static TDateAnswer On(std::string ymd);
    static TDateAnswer Start();
};

// A scripted answer of the phrase window (GetPhrase).
struct TPhraseAnswer {
    enum class Kind { Cancel, Code, Text };  // Code: a phrase of the phrase table by its code
    Kind kind = Kind::Cancel;
    std::string text;

    static TPhraseAnswer Cancel();
    static TPhraseAnswer ByCode(std::string code);
    static TPhraseAnswer Typed(std::string text);
};

// One request that reached the host's user interface.
struct THostRequest {
    std::string service;  // "F2GetData", "ShowInputDay", "GetPhrase" or "CallHelp"
    // The arguments as received: the request array for F2GetData, ShowInputDay and CallHelp,
    // [user, database, window] for GetPhrase. Automation objects inside (element 17 of a
    // lookup request is the host object) are replaced by the text "(object)".
    Variant request;
    Variant answer;         // what the call answered (unassigned: nothing chosen)
    bool scripted = false;  // a scripted answer was used
    std::string note;       // why a request went unanswered or was refused; empty otherwise
};

// The queues of scripted answers, one per window.
class THostScript {
public:
    void AddLookup(TLookupAnswer answer);
    void AddDate(TDateAnswer answer);
    void AddPhrase(TPhraseAnswer answer);
    std::size_t PendingLookups() const { return lookups_.size(); }
    std::size_t PendingDates() const { return dates_.size(); }
    std::size_t PendingPhrases() const { return phrases_.size(); }
    void Clear();

    // The next answer for a lookup on `table`: none when the queue is empty or the next
    // answer is meant for another table (it then stays queued).
    std::optional<TLookupAnswer> TakeLookup(const std::string& table);
    const TLookupAnswer* PeekLookup() const;
    std::optional<TDateAnswer> TakeDate();
    std::optional<TPhraseAnswer> TakePhrase();

private:
    std::deque<TLookupAnswer> lookups_;
    std::deque<TDateAnswer> dates_;
    std::deque<TPhraseAnswer> phrases_;
};

class TDemoDatabase;

// What every host object and service of one host shares: the options, the open company
// database, the script and the request log. Create it through Create (the host objects keep
// it alive).
class THostServices : public std::enable_shared_from_this<THostServices> {
public:
    // Opens (creating) the database and brings the demo data in on first use. Raises
    // EDatabaseError when the file cannot be opened or holds a newer schema.
    static std::shared_ptr<THostServices> Create(THostOptions options);
    ~THostServices();
    THostServices(const THostServices&) = delete;
    THostServices& operator=(const THostServices&) = delete;

    const THostOptions& Options() const { return options_; }
    void SetCodePage(std::string codePage) { options_.codePage = std::move(codePage); }
    bool English() const { return options_.codePage == "437"; }

    THostScript& Script() { return script_; }
    const std::vector<THostRequest>& Requests() const { return requests_; }
    void ClearRequests() { requests_.clear(); }
    // Called with every request as it is recorded (for a transcript written as things happen).
    void SetRequestListener(std::function<void(const THostRequest&)> listener);
    // Records a request (objects inside it replaced as THostRequest says) and tells the
    // listener.
    void Record(THostRequest request);

    // A new host automation object "PinnoxWorkCenter.Manager" over these services.
    Variant CreateHostObject();

    TDemoDatabase& Database() { return *database_; }
    // Refuses (EOleException) a database name other than the one served; "" means this one.
    void CheckDatabaseName(const std::string& name) const;

private:
    explicit THostServices(THostOptions options);

    THostOptions options_;
    std::unique_ptr<TDemoDatabase> database_;
    THostScript script_;
    std::vector<THostRequest> requests_;
    std::function<void(const THostRequest&)> listener_;
};

// Makes "PinnoxWorkCenter.Manager" creatable in this process: every CreateOleObject of the
// class gives a new host object over `services` (kept alive by the registration).
void RegisterHostManagerClass(std::shared_ptr<THostServices> services);
// Removes the class again; false when it was not registered.
bool UnregisterHostManagerClass();

}  // namespace kv
