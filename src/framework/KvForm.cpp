#include "src/framework/KvForm.h"

#include <string>
#include <vector>

#include "platform/core/SysUtils.h"
#include "platform/core/TypInfo.h"
#include "src/runtime/CodeConverter.h"
#include "src/runtime/LanguageController.h"

namespace kv {

namespace {

void ClearImeName(TComponent& component) {
    const TPropInfo* prop = GetPropInfo(&component, "ImeName");
    if (prop == nullptr || !prop->IsWritable()) return;
    const TTypeKind kind = prop->PropType()->Kind();
    if (kind == tkString || kind == tkLString || kind == tkWString)
        SetStrProp(&component, prop, "");
}

// The English code page shows no Chinese fonts.
void UseEnglishFont(TComponent& component) {
    const TPropInfo* prop = GetPropInfo(&component, "Font");
    if (prop == nullptr || prop->PropType()->Kind() != tkClass) return;
    if (auto* font = dynamic_cast<TFont*>(GetObjectProp(&component, prop))) {
        font->SetCharset(GB2312_CHARSET);
        font->SetName("Tahoma");
    }
}

}  // namespace

TKvForm::TKvForm(TComponent* owner, bool createNew) : TForm(owner, createNew) {}

void TKvForm::FormCreate(TObject*) {
    FormConverted = false;
    LanguageOnShow = true;
    const bool english = UICodePage() == "437";
    // Handlers may add components; the count is read on every round.
    for (int i = 0; i < ComponentCount(); ++i) {
        TComponent& component = *Components(i);
        ClearImeName(component);
        if (english) UseEnglishFont(component);
        for (TComponent* button : DisabledGlyphButtons(component))
            AddDisabledGlyphToButton(*button);
    }
}

void TKvForm::FormShow(TObject*) {
    if (LanguageOnShow) ApplyLanguage(this, true);
}

std::vector<std::string> TKvForm::PackageChain(const TComponent& target, bool withAncestors,
                                               bool skipBaseForm) {
    if (!withAncestors) return {target.ClassName()};
    std::vector<std::string> names;
    for (TClass cls = target.ClassType(); cls != nullptr; cls = cls->Parent()) {
        if (cls == TForm::StaticClass() || cls == TCustomForm::StaticClass() ||
            cls == TComponent::StaticClass())
            break;
        if (skipBaseForm && cls == TKvForm::StaticClass()) break;
        names.insert(names.begin(), cls->Name());
    }
    return names;
}

void TKvForm::ApplyPackages(TComponent* target, const std::vector<std::string>& packages) {
    if (target == nullptr || LangController == nullptr) return;
    for (const std::string& name : packages) {
        LangController->SetLangPackageName(name);
        if (!FileExists(LangController->PackageFile())) continue;
        LangController->SetActive(true);
        LangController->GetReader()->ReadComponent(target);
    }
}

void TKvForm::ApplyLanguage(TComponent* target, bool withAncestors) {
    if (target == nullptr) return;
    ApplyPackages(target, PackageChain(*target, withAncestors, false));
}

void TKvForm::ApplyDerivedLanguage(TComponent* target, bool withAncestors) {
    if (target == nullptr) return;
    ApplyPackages(target, PackageChain(*target, withAncestors, true));
}

void TKvForm::ConvertOnce() {
    if (FormConverted) return;
    if (KvConverter != nullptr) KvConverter->ConvertForm(this, nullptr, true);
    FormConverted = true;
}

int TKvForm::ShowDialog(const std::string& text, TMsgDlgType dialogType, TMsgDlgButtons buttons) {
    if (KvConverter != nullptr) return KvConverter->ShowMessageDlg(text, dialogType, buttons);
    return text.empty() ? mrNone : MessageDlg(text, dialogType, buttons);
}

void TKvForm::GetLangText(const std::string& packageName, const std::string& ident,
                          std::string& text, bool convertDefault, const std::string& defaultText) {
    std::string fallback = defaultText;
    if (convertDefault && KvConverter != nullptr) fallback = KvConverter->DesignToUI(defaultText);
    const bool isServer = LangController != nullptr && LangController->DesignType() == dtServer;
    GetLangMsg(isServer, packageName, ident, fallback, text);
}

std::string TKvForm::GetLangText(const std::string& packageName, const std::string& ident,
                                 bool convertDefault, const std::string& defaultText) {
    std::string text;
    GetLangText(packageName, ident, text, convertDefault, defaultText);
    return text;
}

// Forms built without their resource have no converter; they answer its initial values.
std::string TKvForm::SysCodePage() const {
    return KvConverter != nullptr ? KvConverter->SysCodePage() : "936";
}

std::string TKvForm::UICodePage() const {
    return KvConverter != nullptr ? KvConverter->UICodePage() : "936";
}

std::uint8_t TKvForm::UIConvertMode() const {
    return KvConverter != nullptr ? KvConverter->UIConvertMode() : 0;
}

std::uint8_t TKvForm::DBConvertMode() const {
    return KvConverter != nullptr ? KvConverter->DBConvertMode() : 0;
}

KV_PUBLISHED(TKvForm) {
    b.Method("FormCreate", &T::FormCreate);
    b.Method("FormShow", &T::FormShow);
    b.Field("KvConverter", &T::KvConverter);
    b.Field("LangController", &T::LangController);
}
KV_REGISTER_CLASS(TKvForm);

}  // namespace kv
