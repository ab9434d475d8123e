// Unit Kpqx07CF: the condition form frmKpqx07 of the repair-order listing, the one form class
// the library registers for its controller to create.
//
// This is the seed of the form: a form with the members the controller (src/host) works with
// and just enough behaviour to run a whole job through the host and the application server.
// The generic condition form and the option levels (TfrmBaseGene, TfrmBaseOpt, TfrmBaseRpt)
// replace it by the real chain, keeping these member names:
// - VersionText, UserId, CompanyId, DatabaseName, ProgramCode, ProgramName, ResultCode,
//   ResultValue, HostObject, SetModulePath, InitWithParams, HandleHostCommand.
//
// What the seed does:
// - SetModulePath keeps the library's file name; a file that is no library (".so" or ".dll")
//   means a stand-alone test program, which initialises the form at once with
//   ["796", "DAZudo60", "DAZudo60"] and its own host object "PinnoxWorkCenter.Manager".
// - InitWithParams runs once (a second call answers false and changes nothing): it keeps the
//   host parameters [user, company, database, host window, kept], asks the host object for its
//   version, product and check service, reads the program's name from the program table
//   ("ADMMB"), checks that the form belongs to the program and creates the application server
//   "ReportCounterS.dmReportCounter" in this process (the embedded default). Fewer than five
//   parameters ("E;000038"), a form of another program ("E;000036") and no server
//   ("E;000006") close the form again; the close request is posted once the initialisation
//   is over, so that no message box shown meanwhile closes the form under it.
// - F2 in the print date opens the host's date quick entry (the lookup window's ShowInputDay)
//   and takes the day chosen; without a lookup window, or when the user cancels, the typed
//   text stays.
// - OK submits a job with the generic environment entries and the print date as its one
//   condition; an accepted job sets ResultCode 1 and ResultValue (the job number), shows
//   "I;000004;" with it and closes the form. Cancel sets ResultCode 2 and closes. Esc closes.
// - HandleHostCommand follows the host-command rules: [flag, C] with C = [mode, [byName,
//   [entries, values]]]; mode 1 or 2 with accepted names clicks OK.
#pragma once

#include <cstdint>
#include <string>

#include "platform/core/Variant.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

namespace kv {

class TfrmKpqx07 : public TForm {
    KV_CLASS(TfrmKpqx07, TForm)
public:
    explicit TfrmKpqx07(TComponent* owner);

    // ---- operations the controller calls
    void SetModulePath(const std::string& path);
    // The module's file name ends in ".so" or ".dll" (any letter case).
    bool IsLibrary() const;
    // The program code in the module's file name: "KPQX07C.so" gives "KPQX07" (at least six
    // characters are taken).
    std::string ModuleProgramCode() const;
    virtual bool InitWithParams(const Variant& params);
    // command is [flag, host command]; raises for a command that is no such array.
    void HandleHostCommand(const Variant& command);

    // ---- lookups
    // The F2 key in control: the date quick entry for the print date.
    void LookupKey(Word key, TWinControl* control);
    // The day the user picks in the date quick entry, starting from text ("yyyymmdd"; today
    // otherwise), as "yyyy/mm/dd"; text itself when nothing was picked.
    std::string PickDate(const std::string& text);

    // ---- host commands
    virtual bool AcceptHostValues(const Variant& values);
    bool AcceptHostValuesByName(const Variant& values);
    virtual bool RunFromHost(int mode);

    // ---- messages: "E;000006", "I;000004;text"; the text comes from the host's message table
    void ShowMessageCode(const std::string& codeText);
    std::string GetMessageText(const std::string& kind, const std::string& number);
    void RecordError(const std::string& text);

    // ---- published handlers
    void FormCreate(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void FormDestroy(TObject* sender);
    void FormKeyDown(TObject* sender, Word& key, TShiftState shift);
    void btnOkClick(TObject* sender);
    void btnCancelClick(TObject* sender);

    // ---- fields
    Variant HostObject;
    Variant Validator;
    Variant LookupWindow;
    Variant AppServer;
    std::string UserId;
    std::string CompanyId;
    std::string DatabaseName;
    std::string VersionText;
    std::string ProgramCode;
    std::string ProgramName;
    std::string ModulePath;
    HWND HostWindow = 0;
    Variant HostParam4;
    int ProductId = 3;
    Variant LastHostCommand;
    bool ValuesByName = true;
    bool AutoRun = false;
    bool ShowResultMessage = true;
    std::string MessageCodes;
    std::string MessageTexts;
    Variant JobArray;
    std::int32_t ResultCode = 0;
    Variant ResultValue;

    TLabel* lblToday = nullptr;
    TEdit* edPrintDate = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;

private:
    void BuildComponents();
    void ReadHostParams(const Variant& params);
    void ConnectHostServices();
    void LoadProgramInfo();
    bool BelongsToProgram() const;
    bool ConnectAppServer();
    bool BuildJob();
    std::string PrintDateValue() const;
};

}  // namespace kv
