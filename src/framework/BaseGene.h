// BaseGene: the generic condition form TfrmBaseGene, the level of the form chain that every
// report program's condition form shares (TKvForm <- TfrmBaseGene <- TfrmBaseOpt <-
// TfrmBaseRpt <- the report's own form). The controller creates the concrete class, gives it
// the library's file name (SetModulePath) and the host object, and calls InitWithParams; from
// then on this level owns the host parameters, the automation objects obtained from the host,
// the connection to the application server, the caption, the two option pages and the
// framework state that the message, lookup, validation, keyboard and scheme operations work on.
//
// Sources: BaseGene.cpp (creation, closing, layout, messages), BaseGeneInit.cpp (module path,
// InitWithParams and what it calls), BaseGeneMessages.cpp (coded messages), BaseGeneServer.cpp
// (system settings, program table, check queries, counters, the application server),
// BaseGeneSlots.cpp (base bodies of the virtual operations the later levels build on). The
// form's layout is frmBaseGene.kvform.
//
// Each virtual operation of a descendant calls the inherited one first, then changes or adds.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Classes.h"
#include "platform/core/Variant.h"
#include "platform/ui/Dialogs.h"
#include "src/framework/KvForm.h"

namespace kv {

class TButton;
class TControl;
class TDrawGrid;
class TField;
class TCustomMaskEdit;
class TImageList;
class TLabel;
class TListView;
class TMaskEdit;
class TPageControl;
class TPanel;
class TPopupMenu;
class TSimpleObjectBroker;
class TSocketConnection;
class TSpeedButton;
class TSplitter;
class TTabSheet;
class TToolBar;
class TToolButton;
class TWinControl;
class TwwClientDataSet;

// The window message that asks the form to open the lookup for the control in LParam.
inline constexpr UINT WM_F2OPEN = WM_USER + 10;

// The colour of required fields (light yellow).
inline constexpr TColor kRequiredColour = 0xAFFFFF;

// The version text every condition form reports.
inline constexpr const char* kBaseGeneVersionText = "870401-0.00.00";

class TfrmBaseGene : public TKvForm {
    KV_CLASS(TfrmBaseGene, TKvForm)
public:
    explicit TfrmBaseGene(TComponent* owner, bool createNew = false);
    ~TfrmBaseGene() override;
    // After the description was read and OnCreate ran: every TF2Button of the form is flat.
    void AfterConstruction() override;

    // ---- published methods (bound in the form description)
    void FormCreate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormDestroy(TObject* Sender);
    void FormKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    void FormKeyPress(TObject* Sender, char& Key);
    void FormShow(TObject* Sender);
    void btnOkClick(TObject* Sender);
    void btnCancelClick(TObject* Sender);
    void FormResize(TObject* Sender);
    void pgOptionChange(TObject* Sender);
    void pgOptionChanging(TObject* Sender, bool& AllowChange);
    void tsOption2Show(TObject* Sender);

    // ---- virtual operations, in slot order (after the two of TKvForm)
    // 1. Lays out the system-option page (run once, the first time it is shown).
    virtual void ArrangeControls();
    // 2. Builds JobArray from the levels' arrays; false after reporting why.
    virtual bool BuildJob();
    // 3. The framework defaults: JobKind "R", EnvCount 9, LookupOptions 0, edPrintDate as date
    //    field, the program code from the module name, ConditionCount 0 (+ BaseElementCount).
    virtual void SetDefaults();
    // 4. A phrase from the lookup window into control.
    virtual void InsertPhrase(TControl* control);
    // 5. Marks and hooks the required fields (entries "name[;check[;part]]", comma-separated).
    virtual void SetRequiredFields(const std::string& list);
    // 6. Runs the program's server module; false after recording why.
    virtual bool RunServerModule(const Variant& a1, const std::string& programCode,
                                 const Variant& a3, const std::string& companyId,
                                 const std::string& userId, const std::string& serverClass,
                                 const std::string& kind, const std::string& databaseName,
                                 const Variant& values, const Variant& a10, const Variant& a11);
    // 7. Lets the form's client data sets show their labels and texts in the user's code page.
    virtual void HookDataSets();
    // 8. Colours, host services, product id, defaults and lookup window (InitWithParams 11).
    virtual void PrepareFromHost();
    // 9. Takes the host parameters and connects; runs once (a second call answers false).
    virtual bool InitWithParams(const Variant& params);
    // 10. Never called.
    virtual void SpareHookA();
    // 11. Fills the framework's elements of the value array (count = the report's own ones).
    virtual bool FillValueArray(Variant& values, int count);
    // 12. Takes values from the host by position; the base takes none (false).
    virtual bool AcceptHostValues(const Variant& values);
    // 13. Never called.
    virtual void SpareHookB();
    // 14. Fills the environment entries 1..count.
    virtual bool FillEnvArray(Variant& env, int count);
    // 15. Fills the framework's elements of the display-text array.
    virtual bool FillTextArray(Variant& texts, int count);
    // 16. Called after the rights answer was applied.
    virtual void RightsLoaded();
    // 17. Asks the lookup window; result unassigned without one.
    virtual void ShowLookup(const std::string& table, const std::string& kind,
                            const Variant& params, const std::string& startText, bool multiSelect,
                            Variant& result);
    // 18. Names the application server class on the connection; the base names none.
    virtual void SetServerName(TSocketConnection& connection);
    // 19-22. The condition schemes of the user for this program.
    virtual bool SaveScheme();
    virtual bool ApplyScheme();
    virtual bool LoadSchemeList();
    virtual bool SchemeOpened();
    // 23. A run asked for by a host command with mode 3 or above; the base does nothing.
    virtual bool RunFromHost(int mode);
    // 24-25. Around putting a scheme's values into the controls.
    virtual void BeforeSchemeValue();
    virtual void AfterSchemeValue();

    // ---- dynamic operations
    // F2 (key) on control: focuses it and opens the lookup that fits it.
    virtual void LookupKey(Word key, TWinControl* control);
    // Counter (with the system settings and CompanyCaption) and Validator from the host
    // object; in the stand-alone test the host object is created first.
    virtual void ConnectHostServices();
    // LookupWindow from the host object when LookupOptions has bit value 4.
    virtual void ConnectLookupWindow();

    // ---- module and program
    // Keeps the library's file name; outside a library the form initialises itself at once
    // with the stand-alone test parameters.
    void SetModulePath(const std::string& path);
    // The module is a shared library (".so" or ".dll", letter case ignored).
    bool IsLibrary() const;
    // The program code the module's file name carries ("KPQX07C.so" gives "KPQX07").
    std::string ModuleProgramCode() const;
    void SetProgramCode(const std::string& code);
    // ConditionCount := n + BaseElementCount, unless the count already exceeds the base part.
    void SetConditionCount(int n);
    // Title (with the stand-alone suffix outside a library) and the caption.
    void SetTitle(const std::string& text);
    // The caption: Title followed by the company caption in brackets.
    std::string CaptionText() const;

    // ---- host commands and help
    // The host's command (through the controller: [flag, command]).
    void HandleHostCommand(const Variant& command);
    // Whether the component of every named entry can take a value; "W;000014" when not.
    bool AcceptHostValuesByName(const Variant& values);
    // Enter after control turns to the next option page.
    bool IsPageTurnControl(TControl* control) const;
    // F1: the program's help through the host; false when no help number can be formed.
    bool ShowHelp();

    // ---- dates typed by the user (the company's date form and separator)
    // The date form 1..5 of the setting "Sys001" (1 when it is no number), kept in DateForm.
    int GetDateForm();
    // The separator of the setting "Sys002" ("/" when empty), kept in DateSeparator.
    std::string GetDateSeparator();
    // Edit masks and the texts an empty masked date or year-month field shows.
    std::string GetDateMask();
    std::string GetYearMonthMask();
    std::string GetBlankDate();
    std::string GetBlankYearMonth();
    // A typed date as "yyyymmdd" ("" for an empty field; the trimmed text when unreadable).
    std::string DateToStorage(const std::string& text);
    // A typed year-month as "yyyymm" (same rules).
    std::string YearMonthToStorage(const std::string& text);
    // Entering: prepares the field; leaving: checks it ("E;000005" and the focus back).
    bool CheckDateField(TControl* control, bool entering);
    bool CheckYearMonthField(TControl* control, bool entering);
    // The date quick entry started on text (a ymd text) or today; text when nothing chosen.
    std::string PickDate(const std::string& text);

    // ---- colours and date fields
    // Keeps the colours the container's controls have (ColourList, name=colour).
    void SaveColours(TWinControl* container);
    // Gives the controls of the container the colours ColourList kept for them.
    void RestoreColours(TWinControl* container);
    // Makes the comma-separated components date fields (the previous ones stay).
    void SetDateFields(const std::string& list);
    void HookDateFields(const std::string& list);
    void UnhookDateFields(const std::string& list);
    // The handlers the date fields get (published as OnDateFieldEnter/-Exit, OnRequiredExit).
    void DateFieldEnter(TObject* Sender);
    void DateFieldExit(TObject* Sender);
    void RequiredExit(TObject* Sender);
    // ---- required fields
    // True when a field of the list (entries "name[;check[;part]]") is missing; the first
    // missing one is reported ("E;000037"), its page shown and the field focused.
    bool CheckRequiredFields(const std::string& list);
    // The submit buttons (btnOk, btnQuery, btnDesign, btnPeriod) check the required fields
    // before their own click handlers run.
    void HookSubmitButtons();
    void UnhookSubmitButtons();
    // The component shows no text (or only the literals of its edit mask).
    bool IsFieldEmpty(TComponent* component);
    // The event of that name of component (an empty handler when there is none).
    TMethod GetEventHandler(TComponent* component, const std::string& eventName) const;
    // Calls the event of that name of control (or of the selection panel owning it).
    void FireEvent(TControl* control, const std::string& eventName);

    // ---- coded messages
    // The message text of kind and number from the host, in the user's code page.
    std::string GetMessageText(const std::string& kind, const std::string& number);
    // Records a coded message ("E;000005;arg...") and shows it when its number is positive.
    void ShowMessageCode(const std::string& codeText);
    // Records an error text without showing it; the empty text clears the records.
    void RecordError(const std::string& text);
    // Looks up, formats and shows a message; answers the modal result.
    TModalResult ShowMessageId(const std::string& kind, const std::string& number,
                               TMsgDlgButtons buttons, const std::vector<Variant>& arguments);
    // A message dialog in the user's code page (only errors while Silent); 0 when none shown.
    TModalResult ShowMessageBox(const std::string& text, TMsgDlgType boxType,
                                TMsgDlgButtons buttons);

    // ---- framework server calls
    // A company system setting (SysSettings); the empty name reloads them from Counter.
    std::string GetSysSetting(const std::string& name);
    // The program's row of the program table: answers the title, sets ProgramName and WantLog.
    std::string LoadProgramInfo();
    // A check query (fetch: QueryData, else CheckValue) through Validator.
    bool QueryTable(const std::string& table, const std::string& kind, bool fetch, Variant& result,
                    const Variant& params);
    // A counter of the host's counter service; unassigned without one.
    void GetCounter(const std::string& name, const Variant& params, Variant& result);
    // Points MainMidas at the first server of the client configuration.
    bool ConfigureConnection();
    // Opens the application server (in this process for 127.0.0.1) into AppServer.
    bool ConnectAppServer();

    // ---- published properties
    TNotifyEvent GetOnDateFieldEnter() const { return FOnDateFieldEnter; }
    TNotifyEvent GetOnDateFieldExit() const { return FOnDateFieldExit; }
    TNotifyEvent GetOnRequiredExit() const { return FOnRequiredExit; }
    bool GetWantLog() const { return WantLog; }
    void SetWantLog(bool value) { WantLog = value; }

    // ---- components of the form description (published fields)
    TPanel* pnlCondition = nullptr;
    TLabel* lblCondition = nullptr;
    TToolBar* ToolBar1 = nullptr;
    TToolButton* btnInsert = nullptr;
    TToolButton* btnOpen = nullptr;
    TToolButton* btnDelete = nullptr;
    TToolButton* ToolButton1 = nullptr;
    TListView* lstCondition = nullptr;
    TSplitter* Splitter1 = nullptr;
    TPageControl* pgOption = nullptr;
    TTabSheet* tsOption1 = nullptr;
    TTabSheet* tsOption2 = nullptr;
    TLabel* lblToday = nullptr;
    TMaskEdit* edPrintDate = nullptr;
    TSpeedButton* btnPrintDate = nullptr;
    TPanel* Panel1 = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;
    TPopupMenu* muOperation = nullptr;
    TPopupMenu* mnList = nullptr;
    TwwClientDataSet* ClientDataSet1 = nullptr;
    TImageList* ImageList1 = nullptr;
    TImageList* ImageList2 = nullptr;
    // The connection to the application server and its broker (owned by the form).
    TSocketConnection* MainMidas = nullptr;
    TSimpleObjectBroker* ObjBroker = nullptr;

    // ---- fields, in the order of the form's record
    Variant HostObject;
    Variant LookupWindow;
    Variant Validator;
    Variant Counter;
    std::int32_t DateForm = 0;
    std::string DateSeparator;
    std::uint8_t LookupOptions = 0;
    std::string UserId;
    std::string RightsValue2;
    std::string RightsValue3;
    std::string CompanyId;
    std::string CompanyCaption;
    std::string DatabaseName;
    std::string VersionText;
    TStringList* SysSettings = nullptr;
    std::string ProgramServerClass;
    std::int32_t EnvCount = 0;
    std::string Title;
    std::int32_t ConditionCount = 0;
    std::string ProgramCode;
    std::string ProgramName;
    TList* PageTurnControls = nullptr;
    std::string JobKind;
    std::int32_t BaseElementCount = 0;
    Variant JobArray;
    std::string MessageCodes;
    std::string MessageTexts;
    Variant LastHostCommand;
    bool ValuesByName = true;
    bool AutoRun = false;
    HWND HostWindow = 0;
    TStringList* ColourList = nullptr;
    std::string DateFieldList;
    std::string YearMonthFieldList;
    TStringList* DateHookList = nullptr;
    TNotifyEvent FOnDateFieldEnter;
    TNotifyEvent FOnDateFieldExit;
    TStringList* RequiredHookList = nullptr;
    TNotifyEvent FOnRequiredExit;
    bool ValidationFailed = false;
    bool RightsFlagA = false;
    bool RightsFlagB = false;
    // The further fields of the rights answer, kept but not used.
    std::string RightsCode;
    bool RightsCodeFlag2 = false;
    bool RightsCodeFlag3 = false;
    std::string RightsField4;
    std::string RightsField5;
    std::string RightsField6;
    TWinControl* LastFocused = nullptr;
    bool Silent = false;
    Variant ResultValue;
    std::int32_t ResultCode = 0;
    bool SystemPageArranged = false;
    Variant AppServer;
    Variant HostParam4;
    std::int32_t ProductId = 0;
    bool ShowResultMessage = true;
    std::string SchemeControlList;
    bool WantLog = false;
    std::uint8_t ServerRunMode = 0;
    std::string BaseLimits;  // a wide text on the wire
    std::string ModulePath;
    bool LocalServer = false;
    std::string RequiredFieldList;
    TStringList* DateRuleList = nullptr;

protected:
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    // Repaints the host's window at once (after the form moved or was resized).
    void RepaintHostWindow() const;
    // The close request a failed initialisation posts to the form's own window. While the
    // initialisation runs it is held back and posted when it ends: a message box shown in
    // between runs a message loop that would otherwise free the form under the running code.
    void PostCloseRequest();

private:
    // The form's windowed control at that address (a lookup request's LParam), or null.
    TWinControl* OwnedWinControl(LPARAM address) const;
    // Text fields of the form's client data sets read and written in the user's code page.
    void DataSetFieldGetText(TField* Sender, std::string& Text, bool DisplayText);
    void DataSetFieldSetText(TField* Sender, const std::string& Text);
    // Enter in a grid: the next cell, rows added at the end.
    void GridEnter(TDrawGrid& grid);
    // The two columns of the scheme list (name, day of creation).
    void CreateSchemeColumns();
    // Elements 0..2 of the parameters into UserId, CompanyId, DatabaseName; an element the
    // array lacks leaves it and the following ones empty.
    void StoreHostIdentity(const Variant& params);
    // The form belongs to ProgramCode: its name from position 4 names the program.
    bool BelongsToProgram() const;
    // Steps 3 to 14 of InitWithParams.
    bool InitSteps(const Variant& params);
    void CreateLists();
    void FreeLists();
    // Calls the handler DateHookList keeps for control and event (if any).
    void RunDateHandler(TWinControl* control, const std::string& eventName);
    void SaveHook(TStringList& hooks, const std::string& name, const std::string& event,
                  const TMethod& handler);
    TMethod SavedHook(const TStringList& hooks, const std::string& name,
                      const std::string& event) const;

    bool initialising_ = false;
    bool closeRequested_ = false;
    std::unique_ptr<TSocketConnection> mainMidas_;
    std::unique_ptr<TSimpleObjectBroker> objBroker_;
};

}  // namespace kv
