#include "src/runtime/LanguageController.h"

#include <memory>
#include <string>
#include <utility>

#include "platform/core/SysUtils.h"
#include "src/runtime/VelmarINI.h"

namespace kv {

namespace {

// The language directory of a code page ("936=CHS", "950=CHT", "437=ENG").
std::string LanguageDirectory(const std::string& codePage) {
    if (codePage == "936") return "CHS";
    if (codePage == "950") return "CHT";
    if (codePage == "437") return "ENG";
    return "";
}

std::string FolderOf(const TVelmarIniCommon& ini) {
    const std::string directory = LanguageDirectory(ini.UICodePage);
    if (directory.empty()) return "";
    const std::string folder = ini.RootPath + "MultiLanguage/" + directory + "/";
    return DirectoryExists(folder) ? folder : "";
}

}  // namespace

void LangFolder(bool isServer, std::string& folder) {
    folder = isServer ? FolderOf(TVelmarIniS()) : FolderOf(TVelmarIniC());
}

std::string LangFolder(bool isServer) {
    std::string folder;
    LangFolder(isServer, folder);
    return folder;
}

void ReadLangMsg(const std::string& fileName, const std::string&, const std::string& defaultText,
                 std::string& text) {
    // Packages are XML; until the XML reader joins this unit an existing package file cannot
    // be read either, and a package that cannot be read answers the default.
    (void)fileName;
    text = defaultText;
}

void GetLangMsg(bool isServer, const std::string& package, const std::string& ident,
                const std::string& defaultText, std::string& text) {
    ReadLangMsg(LangFolder(isServer) + package + ".Lng", ident, defaultText, text);
}

// ---------------------------------------------------------------------------------------------
// TLangReader

TLangReader::TLangReader(std::shared_ptr<TLangDocument> document)
    : document_(std::move(document)), excludeList_(std::make_unique<TStringList>()) {}

TLangReader::~TLangReader() = default;

void TLangReader::ReadComponent(TComponent* component) {
    if (component == nullptr) return;
    for (int i = 0; i < component->ComponentCount(); ++i)
        ReadComponent(component->Components(i));
}

void TLangReader::DoAfterLoadComponent(TComponent* component, TObject* node) {
    OnAfterLoadComponent(component, node);
}

void TLangReader::DoBeforeLoadComponent(TComponent* component, TObject* node) {
    OnBeforeLoadComponent(component, node);
}

KV_PUBLISHED(TLangReader) {}

// ---------------------------------------------------------------------------------------------
// TLanguageController

TLanguageController::TLanguageController(TComponent* owner)
    : TComponent(owner),
      xmlText_(std::make_unique<TStringList>()),
      excludeControls_(std::make_unique<TStringList>()) {
    excludeControls_->OnChange = TNotifyEvent(this, &TLanguageController::ExcludeControlsChanged);
}

TLanguageController::~TLanguageController() = default;

void TLanguageController::SetPackageFile(const std::string& value) {
    if (value == packageFile_) return;
    packageFile_ = value;
    xmlText_->Clear();
    SetActive(false);
}

void TLanguageController::SetExcludeControls(TStrings* value) {
    excludeControls_->Assign(value);
}

void TLanguageController::ExcludeControlsChanged(TObject*) {
    if (reader_ != nullptr) reader_->ExcludeList()->Assign(excludeControls_.get());
}

bool TLanguageController::Active() const {
    return document_ != nullptr;
}

void TLanguageController::SetActive(bool value) {
    if (ComponentState().Contains(csLoading)) {
        pendingActive_ = value;
        return;
    }
    if (value && !Active())
        Open();
    else if (!value && Active())
        Close();
}

void TLanguageController::Open() {
    DoBeforeOpen();
    document_.reset();
    reader_.reset();
    if (xmlText_->Count() == 0 && packageFile_.empty())
        throw LanguageControllerError("Cannot Find File " + packageFile_ + "!");
    const std::string source = xmlText_->Count() > 0 ? "the package text" : packageFile_;
    throw LanguageControllerError("Cannot read " + source +
                                  ": no XML reader for language packages");
}

void TLanguageController::Close() {
    DoBeforeClose();
    document_.reset();
    reader_.reset();
    DoAfterClose();
}

TLangReader* TLanguageController::GetReader() const {
    if (!Active() || reader_ == nullptr)
        throw LanguageControllerError("No active LanguageController!");
    return reader_.get();
}

void TLanguageController::Loaded() {
    inherited::Loaded();
    SetActive(pendingActive_);
}

void TLanguageController::DoAfterClose() {
    AfterClose(this);
}

void TLanguageController::DoAfterOpen() {
    AfterOpen(this);
}

void TLanguageController::DoBeforeClose() {
    BeforeClose(this);
}

void TLanguageController::DoBeforeOpen() {
    BeforeOpen(this);
}

void TLanguageController::DoAfterLoadComponent(TComponent* component, TObject* node) {
    AfterLoadComponent(component, node);
}

void TLanguageController::DoBeforeLoadComponent(TComponent* component, TObject* node) {
    BeforeLoadComponent(component, node);
}

KV_PUBLISHED(TLanguageController) {}

// ---------------------------------------------------------------------------------------------
// TKvLangController

TKvLangController::TKvLangController(TComponent* owner) : TLanguageController(owner) {}

void TKvLangController::SetLangPackageName(const std::string& value) {
    if (value == langPackageName_) return;
    langPackageName_ = value;
    SetPackageFile(LangFolder(designType_ == dtServer) + value + ".Lng");
}

KV_PUBLISHED(TKvLangController) {
    b.Property("Active", &T::Active, &T::SetActive).Default(0);
    b.Event("AfterClose", &T::AfterClose);
    b.Event("AfterOpen", &T::AfterOpen);
    b.Event("BeforeClose", &T::BeforeClose);
    b.Event("BeforeOpen", &T::BeforeOpen);
    b.Event("AfterLoadComponent", &T::AfterLoadComponent);
    b.Event("BeforeLoadComponent", &T::BeforeLoadComponent);
    b.Property("ExcludeControls", &T::ExcludeControls, &T::SetExcludeControls);
    b.Property("LangPackageName", &T::LangPackageName, &T::SetLangPackageName);
    b.Property("DesignType", &T::DesignType, &T::SetDesignType).Default(dtClient);
}
KV_REGISTER_CLASS(TKvLangController);

}  // namespace kv
