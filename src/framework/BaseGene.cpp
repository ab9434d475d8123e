#include "src/framework/BaseGene.h"

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <string>

#include "platform/core/SysUtils.h"
#include "platform/core/TypInfo.h"
#include "platform/net/ObjectBroker.h"
#include "platform/net/SocketConnection.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Mask.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/wwClient.h"
#include "src/runtime/CodeConverter.h"

namespace kv {

namespace {

// The short-date separator of the user's locale: the first punctuation character of its date
// format ("%m/%d/%y" gives "/"); "/" when the locale has none (or is "C").
char LocaleDateSeparator() {
    locale_t locale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) return '/';
    const std::string format = nl_langinfo_l(D_FMT, locale);
    freelocale(locale);
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%') {
            ++i;  // the conversion letter
            continue;
        }
        const auto c = static_cast<unsigned char>(format[i]);
        if (c < 0x80 && std::ispunct(c) != 0) return format[i];
    }
    return '/';
}

void ClearImeName(TComponent& component) {
    const TPropInfo* prop = GetPropInfo(&component, "ImeName");
    if (prop != nullptr && prop->IsWritable() && PropIsType(&component, "ImeName", tkLString))
        SetStrProp(&component, prop, "");
}

}  // namespace

TfrmBaseGene::TfrmBaseGene(TComponent* owner, bool createNew)
    : TKvForm(owner, createNew),
      mainMidas_(std::make_unique<TSocketConnection>()),
      objBroker_(std::make_unique<TSimpleObjectBroker>()) {
    MainMidas = mainMidas_.get();
    ObjBroker = objBroker_.get();
}

// What FormDestroy frees goes here too, for a form whose OnDestroy handler was replaced.
TfrmBaseGene::~TfrmBaseGene() {
    FreeLists();
    delete DateRuleList;
}

void TfrmBaseGene::AfterConstruction() {
    inherited::AfterConstruction();
    for (int i = 0; i < ComponentCount(); ++i) {
        TComponent* component = Components(i);
        if (component->InheritsFrom("TF2Button") && IsPublishedProp(component, "Flat"))
            SetOrdProp(component, "Flat", 1);
    }
}

void TfrmBaseGene::FormCreate(TObject* Sender) {
    inherited::FormCreate(Sender);
    if (SysCodePage() == "950") FormatSettings.DateSeparator = LocaleDateSeparator();
    Application().SetHintHidePause(500000);
    VersionText = kBaseGeneVersionText;
    CompanyId.clear();
    ProgramCode.clear();
    ProgramName.clear();
    RequiredFieldList.clear();
    DateFieldList.clear();
    YearMonthFieldList.clear();
    FOnDateFieldEnter = TNotifyEvent(this, &TfrmBaseGene::DateFieldEnter);
    FOnDateFieldExit = TNotifyEvent(this, &TfrmBaseGene::DateFieldExit);
    FOnRequiredExit = TNotifyEvent(this, &TfrmBaseGene::RequiredExit);
    ValidationFailed = false;
    SystemPageArranged = false;
    LastFocused = this;
    Silent = false;
    ShowResultMessage = true;
    HookDataSets();
    delete DateRuleList;
    DateRuleList = new TStringList();
    for (int i = 0; i < ComponentCount(); ++i)
        ClearImeName(*Components(i));
}

void TfrmBaseGene::FormShow(TObject* Sender) {
    inherited::FormShow(Sender);
    SetCaption(CaptionText());
    if (pgOption != nullptr && pgOption->PageCount() > 0) {
        pgOption->SetActivePageIndex(0);
        pgOptionChange(pgOption);
    }
    ConvertOnce();
    CreateSchemeColumns();
    LoadSchemeList();
}

// The scheme list shows each scheme's name and day of creation; made again on every show.
void TfrmBaseGene::CreateSchemeColumns() {
    if (lstCondition == nullptr) return;
    TListColumns* columns = lstCondition->Columns();
    columns->Clear();
    TListColumn* name = columns->Add();
    name->SetCaption(GetLangText("TfrmBaseGene", "sProjectName", true, "方案名称"));
    name->SetWidth(ColumnHeaderWidth);
    name->SetAlignment(taRightJustify);
    TListColumn* created = columns->Add();
    created->SetCaption(GetLangText("TfrmBaseGene", "sCreateTime", true, "创建时间"));
    created->SetWidth(ColumnHeaderWidth);
    created->SetAlignment(taLeftJustify);
}

void TfrmBaseGene::FormClose(TObject*, TCloseAction& Action) {
    Action = caFree;
}

void TfrmBaseGene::FormDestroy(TObject*) {
    FreeLists();
    LookupWindow = Variant();
    Validator = Variant();
    Counter = Variant();
    if (!LocalServer) MainMidas->Close();
    AppServer = Variant();
    HostObject = Variant();
    delete DateRuleList;
    DateRuleList = nullptr;
}

void TfrmBaseGene::btnOkClick(TObject*) {}

void TfrmBaseGene::btnCancelClick(TObject*) {
    Close();
}

void TfrmBaseGene::FormResize(TObject*) {
    RepaintHostWindow();
}

void TfrmBaseGene::tsOption2Show(TObject*) {
    if (SystemPageArranged) return;
    ArrangeControls();
    SystemPageArranged = true;
}

std::string TfrmBaseGene::CaptionText() const {
    return Title + "[" + CompanyCaption + "]";
}

void TfrmBaseGene::SetTitle(const std::string& text) {
    Title = text;
    if (!IsLibrary())
        Title += GetLangText("TfrmBaseGene", "sExeVer", false, "[您现在运行的是Exe版本!]");
    SetCaption(CaptionText());
}

void TfrmBaseGene::ArrangeControls() {
    if (tsOption2 != nullptr) {
        tsOption2->SetFont(Font());
        tsOption2->Font()->SetSize(9);
    }
    SetHeight(std::max(Height(), 110));
    SetWidth(std::max(Width(), 315));
    if (lblToday != nullptr) {
        lblToday->SetLeft(8);
        lblToday->SetTop(12);
        lblToday->SetAutoSize(true);
    }
    if (edPrintDate != nullptr) edPrintDate->SetBounds(60, 8, 85, edPrintDate->Height());
    // The date button sits beside its edit, two pixels apart.
    if (btnPrintDate != nullptr && edPrintDate != nullptr)
        btnPrintDate->SetBounds(edPrintDate->Left() + edPrintDate->Width() + 2, edPrintDate->Top(),
                                btnPrintDate->Width(), btnPrintDate->Height());
}

// The designed texts of the scheme list (display labels, text fields) show in the user's code
// page; what the user types goes back in the designed one.
void TfrmBaseGene::HookDataSets() {
    if (KvConverter == nullptr) return;
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* dataSet = dynamic_cast<TwwClientDataSet*>(Components(i));
        if (dataSet == nullptr) continue;
        dataSet->DisableControls();
        for (int f = 0; f < dataSet->FieldCount(); ++f) {
            TField* field = dataSet->Fields(f);
            field->SetDisplayLabel(KvConverter->DesignToUI(field->DisplayLabel()));
            const TFieldType type = field->DataType();
            if (type != ftString && type != ftWideString && type != ftMemo) continue;
            if (!field->OnGetText.Assigned())
                field->OnGetText = TFieldGetTextEvent(this, &TfrmBaseGene::DataSetFieldGetText);
            if (!field->OnSetText.Assigned())
                field->OnSetText = TFieldSetTextEvent(this, &TfrmBaseGene::DataSetFieldSetText);
        }
        dataSet->EnableControls();
    }
}

void TfrmBaseGene::DataSetFieldGetText(TField* Sender, std::string& Text, bool) {
    Text =
        KvConverter != nullptr ? KvConverter->DesignToUI(Sender->AsString()) : Sender->AsString();
}

void TfrmBaseGene::DataSetFieldSetText(TField* Sender, const std::string& Text) {
    Sender->SetAsString(KvConverter != nullptr ? KvConverter->UIToDesign(Variant(Text)).AsString()
                                               : Text);
}

void TfrmBaseGene::WndProc(TMessage& message) {
    switch (message.Msg) {
        case WM_F2OPEN:
            LookupKey(VK_F2, OwnedWinControl(message.LParam));
            return;
        case CM_FOCUSCHANGED:
            LastFocused = ActiveControl();
            break;
        case WM_MOVE:
            inherited::WndProc(message);
            RepaintHostWindow();
            return;
        default:
            break;
    }
    inherited::WndProc(message);
}

// The control a lookup request names, only when it is one of this form's components: the
// address travels in a message and is never followed before it was found among them.
TWinControl* TfrmBaseGene::OwnedWinControl(LPARAM address) const {
    for (int i = 0; i < ComponentCount(); ++i) {
        TComponent* component = Components(i);
        if (reinterpret_cast<LPARAM>(component) == address)
            return dynamic_cast<TWinControl*>(component);
    }
    return nullptr;
}

void TfrmBaseGene::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == opRemove && component == LastFocused) LastFocused = nullptr;
}

void TfrmBaseGene::RepaintHostWindow() const {
    if (HostWindow == 0) return;
    if (TWinControl* window = FindControl(HostWindow)) window->Repaint();
}

void TfrmBaseGene::PostCloseRequest() {
    if (initialising_)
        closeRequested_ = true;
    else
        PostMessage(Handle(), WM_CLOSE, 0, 0);
}

void TfrmBaseGene::CreateLists() {
    FreeLists();
    SysSettings = new TStringList();
    PageTurnControls = new TList();
    ColourList = new TStringList();
    DateHookList = new TStringList();
    RequiredHookList = new TStringList();
}

void TfrmBaseGene::FreeLists() {
    delete PageTurnControls;
    PageTurnControls = nullptr;
    delete SysSettings;
    SysSettings = nullptr;
    delete ColourList;
    ColourList = nullptr;
    delete DateHookList;
    DateHookList = nullptr;
    delete RequiredHookList;
    RequiredHookList = nullptr;
}

KV_PUBLISHED(TfrmBaseGene) {
    b.Property("OnDateFieldEnter", &T::GetOnDateFieldEnter);
    b.Property("OnDateFieldExit", &T::GetOnDateFieldExit);
    b.Property("OnRequiredExit", &T::GetOnRequiredExit);
    b.Property("WantLog", &T::GetWantLog, &T::SetWantLog);
    b.Method("FormCreate", &T::FormCreate);
    b.Method("FormClose", &T::FormClose);
    b.Method("FormDestroy", &T::FormDestroy);
    b.Method("FormKeyDown", &T::FormKeyDown);
    b.Method("FormKeyPress", &T::FormKeyPress);
    b.Method("FormShow", &T::FormShow);
    b.Method("btnOkClick", &T::btnOkClick);
    b.Method("btnCancelClick", &T::btnCancelClick);
    b.Method("FormResize", &T::FormResize);
    b.Method("pgOptionChange", &T::pgOptionChange);
    b.Method("pgOptionChanging", &T::pgOptionChanging);
    b.Method("tsOption2Show", &T::tsOption2Show);
    b.Field("pnlCondition", &T::pnlCondition);
    b.Field("lblCondition", &T::lblCondition);
    b.Field("ToolBar1", &T::ToolBar1);
    b.Field("btnInsert", &T::btnInsert);
    b.Field("btnOpen", &T::btnOpen);
    b.Field("btnDelete", &T::btnDelete);
    b.Field("ToolButton1", &T::ToolButton1);
    b.Field("lstCondition", &T::lstCondition);
    b.Field("Splitter1", &T::Splitter1);
    b.Field("pgOption", &T::pgOption);
    b.Field("tsOption1", &T::tsOption1);
    b.Field("tsOption2", &T::tsOption2);
    b.Field("lblToday", &T::lblToday);
    b.Field("edPrintDate", &T::edPrintDate);
    b.Field("btnPrintDate", &T::btnPrintDate);
    b.Field("Panel1", &T::Panel1);
    b.Field("btnOk", &T::btnOk);
    b.Field("btnCancel", &T::btnCancel);
    b.Field("muOperation", &T::muOperation);
    b.Field("mnList", &T::mnList);
    b.Field("ClientDataSet1", &T::ClientDataSet1);
    b.Field("ImageList1", &T::ImageList1);
    b.Field("ImageList2", &T::ImageList2);
}
KV_REGISTER_CLASS(TfrmBaseGene);

}  // namespace kv
