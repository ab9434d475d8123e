// The controller of the real plug-in, loaded by path, driven the way a host drives it.
#include <gtest/gtest.h>

#include "platform/ui/Automation.h"
#include "platform/ui/Forms.h"
#include "tests/host/PluginFixture.h"

namespace kv::test {
namespace {

using Entries = std::vector<std::string>;

// A host command of mode `mode` naming one component, as the host's automation sends it.
Variant CommandNaming(int mode, const std::string& component) {
    const Variant entries = VarArrayOf({VarArrayOf({"", component})});
    return VarArrayOf({mode, VarArrayOf({true, VarArrayOf({entries, VarArrayOf({""})})})});
}

TEST_F(PluginTest, GetControllerGivesANewControllerEveryCall) {
    TDLLBaseController* other = getController_();
    EXPECT_NE(other, controller);
    EXPECT_STREQ(other->ClassName().c_str(), "TDLLRPCtrller");
    EXPECT_TRUE(other->InheritsFrom("TDLLBaseController"));
    other->Free();
}

TEST_F(PluginTest, WithoutAFormOperationsAnswerTheirDefaults) {
    std::string version = "untouched";
    controller->GetVersionText(version);
    EXPECT_EQ(version, "untouched");
    EXPECT_EQ(controller->IsFormVisible(), 0);
    EXPECT_EQ(controller->GetFormHandle(), 0);
    Variant info = "untouched";
    EXPECT_EQ(controller->GetFormInfo(info), -1);
    EXPECT_EQ(info.AsString(), "untouched");
    Variant modal;
    controller->ShowFormModal(modal);
    EXPECT_EQ(modal.AsInteger(), mrCancel);
    EXPECT_TRUE(controller->IsFormFreed());
    EXPECT_EQ(controller->SendCommand(VarArrayOf({0, CommandNaming(1, "edPrintDate")})), -1);
    EXPECT_EQ(controller->SendTypedCommand(5, CommandNaming(1, "edPrintDate")), -1);
    controller->SetFormVisible(1);
    controller->FreeForm();
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(PluginTest, CreateFormInitialisesAHiddenForm) {
    EXPECT_EQ(controller->CreateForm(Params()), 0);
    EXPECT_EQ(log.entries, Entries({"256"}));
    EXPECT_FALSE(controller->IsFormFreed());
    EXPECT_EQ(controller->IsFormVisible(), 0);
    ASSERT_NE(FindForm(), nullptr);
    EXPECT_FALSE(FindForm()->Visible());
    std::string version;
    controller->GetVersionText(version);
    EXPECT_EQ(version, "870401-0.00.00");
    Variant info;
    EXPECT_EQ(controller->GetFormInfo(info), 0);
    EXPECT_EQ(info, VarArrayOf({"U01", "DAZudo60", "KPQX07", "维修单明细表"}));
    EXPECT_EQ(info[0].Type(), varOleStr);
    const HWND handle = controller->GetFormHandle();
    EXPECT_NE(handle, 0);
    EXPECT_EQ(controller->GetFormHandle(), handle);
}

TEST_F(PluginTest, VisibilityNotifiesShowAndHide) {
    ASSERT_EQ(controller->CreateForm(Params()), 0);
    controller->SetFormVisible(0x100);  // any non-zero word is true
    EXPECT_EQ(controller->IsFormVisible(), -1);
    FindForm()->SetWindowState(wsMinimized);
    controller->SetFormVisible(1);
    EXPECT_EQ(FindForm()->WindowState(), wsNormal);
    controller->SetFormVisible(0);
    EXPECT_EQ(controller->IsFormVisible(), 0);
    EXPECT_EQ(log.entries, Entries({"256", "272", "288"}));
}

TEST_F(PluginTest, ClosingTheFormHandsOverTheResultsAndNotifies304) {
    ASSERT_EQ(controller->CreateForm(Params()), 0);
    controller->SetFormVisible(1);
    Automation().Click("frmKpqx07.btnCancel");
    Application().ProcessMessages();
    EXPECT_EQ(log.entries, Entries({"256", "272", "288", "304"}));
    EXPECT_TRUE(log.freedAt304);
    EXPECT_TRUE(controller->IsFormFreed());
    EXPECT_EQ(controller->ResultCode, 2);
    EXPECT_EQ(FindForm(), nullptr);
}

TEST_F(PluginTest, AnAcceptedJobIsTheResult) {
    ASSERT_EQ(controller->CreateForm(Params()), 0);
    controller->SetFormVisible(1);
    Automation().Select("frmKpqx07.pgOption", "系统选项");  // the print date's page
    Automation().TypeText("frmKpqx07.edPrintDate", "20240315");
    Automation().AnswerBox(mrOk, "20240315000001");
    Automation().Click("frmKpqx07.btnOk");
    Application().ProcessMessages();
    EXPECT_TRUE(controller->IsFormFreed());
    EXPECT_EQ(controller->ResultCode, 1);
    EXPECT_EQ(controller->ResultValue.AsString(), "20240315000001");
    EXPECT_EQ(Automation().LastBox().Text, "I000004 20240315000001");
    ASSERT_EQ(TFakeServer::jobs.size(), 1u);
    const Variant& job = TFakeServer::jobs[0];
    EXPECT_EQ(job[0][1], Variant::Wide("KPQX07"));
    EXPECT_EQ(job[0][5].AsString(), "U01");
    EXPECT_EQ(job[2][1].AsString(), "20240315");
}

TEST_F(PluginTest, ModalShowEndsWithTheModalResult) {
    ASSERT_EQ(controller->CreateForm(Params()), 0);
    Automation().AnswerModal("frmKpqx07",
                             [](TCustomForm&) { Automation().Click("frmKpqx07.btnCancel"); });
    Variant result;
    controller->ShowFormModal(result);
    EXPECT_EQ(result.AsInteger(), mrCancel);
    Application().ProcessMessages();  // the form frees itself once its loop is over
    EXPECT_EQ(log.entries, Entries({"256", "272", "288", "304"}));
    EXPECT_EQ(controller->ResultCode, 2);
}

TEST_F(PluginTest, TheFormsOwnHandlersRunBeforeTheNotifications) {
    ASSERT_EQ(controller->CreateForm(Params()), 0);
    TCustomForm* form = FindForm();
    form->OnShow = TNotifyEvent(&log, &THostLog::HostShow);
    form->OnHide = TNotifyEvent(&log, &THostLog::HostHide);
    form->OnDestroy = TNotifyEvent(&log, &THostLog::HostDestroy);
    // The second CreateForm hooks again (and refuses to initialise twice).
    EXPECT_EQ(controller->CreateForm(Params("U99", "OTHER")), -1);
    controller->SetFormVisible(1);
    controller->SetFormVisible(0);
    controller->FreeForm();
    EXPECT_EQ(log.entries,
              Entries({"256", "hostShow", "272", "hostHide", "288", "hostDestroy", "304"}));
}

TEST_F(PluginTest, ASecondCreateFormKeepsTheFirstParametersAndNeverRecurses) {
    ASSERT_EQ(controller->CreateForm(Params()), 0);
    EXPECT_EQ(controller->CreateForm(Params("U99", "OTHER")), -1);
    Variant info;
    ASSERT_EQ(controller->GetFormInfo(info), 0);
    EXPECT_EQ(info[0].AsString(), "U01");
    EXPECT_EQ(info[1].AsString(), "DAZudo60");
    controller->SetFormVisible(1);
    controller->FreeForm();
    EXPECT_EQ(log.entries, Entries({"256", "272", "288", "304"}));
}

TEST_F(PluginTest, SendCommandPassesElementOneOfAnArrayOnly) {
    ASSERT_EQ(controller->CreateForm(Params()), 0);
    EXPECT_EQ(controller->SendCommand(Null()), -1);
    EXPECT_EQ(controller->SendCommand(Variant(1)), -1);
    // Element 0 is the host's own; element 1 is the command: mode 2 runs the submission
    // without showing its result.
    EXPECT_EQ(controller->SendCommand(VarArrayOf({"ignored", CommandNaming(2, "edPrintDate")})), 0);
    Application().ProcessMessages();
    EXPECT_TRUE(controller->IsFormFreed());
    EXPECT_EQ(controller->ResultCode, 1);
    EXPECT_TRUE(Automation().Boxes().empty());
}

TEST_F(PluginTest, SendCommandSwallowsTheFormsErrors) {
    ASSERT_EQ(controller->CreateForm(Params()), 0);
    // A command that is an empty array makes the form's handling fail on its mode.
    EXPECT_EQ(controller->SendCommand(VarArrayOf({0, VarArrayCreate({0, -1})})), -1);
    EXPECT_EQ(controller->SendCommand(VarArrayOf({0})), -1);  // no element 1
    EXPECT_FALSE(controller->IsFormFreed());
}

TEST_F(PluginTest, AnUnknownComponentInACommandRunsNothing) {
    ASSERT_EQ(controller->CreateForm(Params()), 0);
    Automation().AnswerBox(mrOk, "W000014");
    EXPECT_EQ(controller->SendCommand(VarArrayOf({0, CommandNaming(1, "edNowhere")})), 0);
    EXPECT_FALSE(controller->IsFormFreed());
    EXPECT_TRUE(TFakeServer::jobs.empty());
}

TEST_F(PluginTest, SendTypedCommandTakesKindsFiveAndNineOnly) {
    ASSERT_EQ(controller->CreateForm(Params()), 0);
    EXPECT_EQ(controller->SendTypedCommand(7, CommandNaming(2, "edPrintDate")), -1);
    EXPECT_TRUE(TFakeServer::jobs.empty());
    EXPECT_EQ(controller->SendTypedCommand(5, CommandNaming(0, "edPrintDate")), 0);
    EXPECT_TRUE(TFakeServer::jobs.empty());  // mode 0 only checks
    EXPECT_EQ(controller->SendTypedCommand(9, CommandNaming(2, "edPrintDate")), 0);
    Application().ProcessMessages();
    EXPECT_EQ(TFakeServer::jobs.size(), 1u);
    EXPECT_EQ(controller->ResultCode, 1);
}

TEST_F(PluginTest, FreeingTheControllerFreesItsForm) {
    ASSERT_EQ(controller->CreateForm(Params()), 0);
    FreeController();
    EXPECT_EQ(FindForm(), nullptr);
    EXPECT_EQ(log.entries, Entries({"256", "304"}));
}

TEST_F(PluginTest, AHostMayFreeTheControllerWhenItHears304) {
    log.freeOn304 = true;
    ASSERT_EQ(controller->CreateForm(Params()), 0);
    controller->SetFormVisible(1);
    Automation().CloseForm("frmKpqx07");
    Application().ProcessMessages();
    EXPECT_TRUE(log.freed);
    EXPECT_EQ(FindForm(), nullptr);
}

TEST_F(PluginTest, WithoutAnApplicationServerTheFormClosesItself) {
    UnregisterOleClass("ReportCounterS.dmReportCounter");
    Automation().AnswerBox(mrOk, "E000006");
    EXPECT_EQ(controller->CreateForm(Params()), -1);
    EXPECT_FALSE(controller->IsFormFreed());  // kept until the close request is processed
    Application().ProcessMessages();
    EXPECT_TRUE(controller->IsFormFreed());
    EXPECT_EQ(log.entries, Entries({"256", "304"}));
}

TEST_F(PluginTest, AHostObjectThatCannotAnswerFailsTheInitialisation) {
    controller->HostObject = Unassigned();
    EXPECT_EQ(controller->CreateForm(Params()), -1);
    EXPECT_FALSE(controller->IsFormFreed());
    controller->FreeForm();
    EXPECT_TRUE(controller->IsFormFreed());
}

TEST_F(PluginTest, FewerThanFiveParametersCloseTheFormAgain) {
    Automation().AnswerBox(mrOk, "E000038");
    // The missing parameter is reported again when the connection is prepared, so the form
    // does not connect: the initialisation fails.
    EXPECT_EQ(controller->CreateForm(VarArrayOf({"U01", "DAZudo60", "DAZudo60", 0})), -1);
    Application().ProcessMessages();
    EXPECT_TRUE(controller->IsFormFreed());
    EXPECT_EQ(log.entries, Entries({"256", "304"}));
}

TEST_F(PluginTest, TheHostsNotificationMayBeLeftUnassigned) {
    controller->OnNotify = TControllerNotifyEvent();
    ASSERT_EQ(controller->CreateForm(Params()), 0);
    controller->DoFormEvent320();
    controller->FreeForm();
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(PluginTest, Operation15Notifies320) {
    controller->DoFormEvent320();
    controller->SpareOperation();
    EXPECT_EQ(log.entries, Entries({"320"}));
}

}  // namespace
}  // namespace kv::test
