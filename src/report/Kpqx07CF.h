// Unit Kpqx07CF: the condition form frmKpqx07 of the repair-order listing, the one form class
// the library registers for its controller to create.
//
// The form stands on the generic condition form TfrmBaseGene (src/framework/BaseGene.h),
// which carries everything the controller works with (VersionText, UserId, CompanyId,
// ProgramCode, ProgramName, ResultCode, ResultValue, HostObject, SetModulePath,
// InitWithParams, HandleHostCommand) and the framework: host parameters, host services, the
// connection to the application server, the caption, the system page with the print date,
// messages, keys and host commands.
//
// The job-option and report-option levels (TfrmBaseOpt, TfrmBaseRpt) will stand between the
// two; until they do, this form does the part of them that a whole job needs:
// - SetDefaults asks for the host's lookup window (F2 in the print date opens the date quick
//   entry);
// - SetServerName names the application server "ReportCounterS.dmReportCounter";
// - OK builds the job (the generic environment entries and the print date), sends it to the
//   server's Request with its texts made wide; an accepted job sets ResultCode 1 and
//   ResultValue (the job number), shows "I;000004;" with it (only recorded, "I;-000004;", when
//   a host command asked for no result message) and closes the form; a refused one shows
//   "E;000013;" with the server's reason and the form stays. Cancel closes with ResultCode 2.
// The report's own conditions come with the report form's own issue.
#pragma once

#include <string>

#include "src/framework/BaseGene.h"

namespace kv {

class TfrmKpqx07 : public TfrmBaseGene {
    KV_CLASS(TfrmKpqx07, TfrmBaseGene)
public:
    explicit TfrmKpqx07(TComponent* owner, bool createNew = false);

    void SetDefaults() override;
    void SetServerName(TSocketConnection& connection) override;

    // ---- published handlers (bound by name in the generic form's description)
    void btnOkClick(TObject* Sender);
    void btnCancelClick(TObject* Sender);
};

}  // namespace kv
