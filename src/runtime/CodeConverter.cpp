#include "src/runtime/CodeConverter.h"

#include <memory>
#include <string>
#include <utility>

#include "platform/core/SysUtils.h"
#include "platform/ui/Forms.h"
#include "src/runtime/VelmarINI.h"

namespace kv {

// ---------------------------------------------------------------------------------------------
// TTranslator

TTranslator::TTranslator() {
    library_ = LoadLibrary(kLibraryName);
    if (library_ == 0) throw EOSError(std::string("Load Library ") + kLibraryName + " Error!");
    gbToBig5_ = GetProcAddressAs<TLangTextFunc>(library_, "GBtoBIG5");
    big5ToGb_ = GetProcAddressAs<TLangTextFunc>(library_, "BIG5toGB");
    getBig5Data_ = GetProcAddress(library_, "GetBIG5Data");
    getGbData_ = GetProcAddress(library_, "GetGBData");
    saveOrder_ = GetProcAddress(library_, "SaveOrder");
    if (gbToBig5_ == nullptr || big5ToGb_ == nullptr) {
        FreeLibrary(library_);
        library_ = 0;
        throw EOSError("Get Library Procedure Address Error!");
    }
}

TTranslator::~TTranslator() {
    if (library_ != 0) FreeLibrary(library_);
}

void TTranslator::BIG5ToGBText(const std::string& text, std::string& result) const {
    result = big5ToGb_ != nullptr ? big5ToGb_(text) : text;
}

void TTranslator::GBToBIG5Text(const std::string& text, std::string& result) const {
    result = gbToBig5_ != nullptr ? gbToBig5_(text) : text;
}

KV_PUBLISHED(TTranslator) {}

// ---------------------------------------------------------------------------------------------
// TCodeConverter

TCodeConverter::TCodeConverter(TComponent* owner)
    : TComponent(owner), exceptionList_(std::make_unique<TStringList>()) {
    ReadConfiguration();
    if (uiConvertMode_ != 0) translator_ = std::make_unique<TTranslator>();
}

TCodeConverter::~TCodeConverter() = default;

void TCodeConverter::ReadConfiguration() {
    auto copy = [this](const TVelmarIniCommon& ini) {
        sysCodePage_ = ini.SysCodePage;
        uiCodePage_ = ini.UICodePage;
        dbCodePage_ = ini.DBCodePage;
        uiConvertMode_ = ini.UIConvertMode;
        dbConvertMode_ = ini.DBConvertMode;
    };
    if (designType_ == dtServer)
        copy(TVelmarIniS());
    else
        copy(TVelmarIniC());
}

void TCodeConverter::ConvertForm(TCustomForm* form, TStrings*, bool) {
    if (translator_ == nullptr || form == nullptr) return;
    // The title bar uses the system's code page whatever the interface mode.
    if (sysCodePage_ == "950") {
        std::string caption;
        GBToBig5(form->Caption(), caption);
        form->SetCaption(caption);
    }
    form->SetHint(ConvertText(uiConvertMode_, Variant(form->Hint())).AsString());
    // Hints are made again with the new fonts.
    Application().SetShowHint(!Application().ShowHint());
    Application().SetShowHint(!Application().ShowHint());
}

Variant TCodeConverter::ConvertText(int direction, const Variant& text) const {
    if (translator_ == nullptr || !VarIsStr(text)) return text;
    std::string converted;
    if (direction == kBig5ToGb)
        translator_->BIG5ToGBText(text.AsString(), converted);
    else if (direction == kGbToBig5)
        translator_->GBToBIG5Text(text.AsString(), converted);
    else
        return text;
    // The kind of string (8-bit or wide) stays what it was.
    return VarType(text) == varOleStr ? Variant::Wide(converted) : Variant(converted);
}

Variant TCodeConverter::ConvertArray(int direction, const Variant& array, int depth) const {
    Variant result = array;
    if (array.DimCount() == 2) {
        for (int i = array.LowBound(1); i <= array.HighBound(1); ++i)
            for (int j = array.LowBound(2); j <= array.HighBound(2); ++j)
                result.Put(i, j, ConvertText(direction, array.Get(i, j)));
    } else if (array.DimCount() == 1) {
        // Nested arrays are followed to a bounded depth, so a value from outside cannot
        // exhaust the stack.
        constexpr int kMaxDepth = 64;
        for (int i = array.LowBound(1); i <= array.HighBound(1); ++i) {
            const Variant& element = array.Get(i);
            if (element.IsArray())
                result.Put(
                    i, depth < kMaxDepth ? ConvertArray(direction, element, depth + 1) : element);
            else
                result.Put(i, ConvertText(direction, element));
        }
    }
    return result;
}

void TCodeConverter::ConvertVar(int direction, const Variant& value, Variant& result) const {
    if ((direction != kBig5ToGb && direction != kGbToBig5) || translator_ == nullptr ||
        value.IsEmpty() || value.IsNull()) {
        result = value;
        return;
    }
    result = value.IsArray() ? ConvertArray(direction, value.Deref(), 0)
                             : ConvertText(direction, value.Deref());
}

void TCodeConverter::DBToUI(const Variant& value, Variant& result) const {
    ConvertVar(dbConvertMode_, value, result);
}

Variant TCodeConverter::DBToUI(const Variant& value) const {
    Variant result;
    DBToUI(value, result);
    return result;
}

void TCodeConverter::UIToDB(const Variant& value, Variant& result) const {
    const int direction = dbConvertMode_ == 1 ? kGbToBig5 : (dbConvertMode_ == 2 ? kBig5ToGb : 0);
    try {
        ConvertVar(direction, value, result);
    } catch (const std::exception&) {
        result = value;
    }
}

Variant TCodeConverter::UIToDB(const Variant& value) const {
    Variant result;
    UIToDB(value, result);
    return result;
}

void TCodeConverter::DesignToUI(const Variant& value, Variant& result) const {
    ConvertVar(uiConvertMode_, value, result);
}

Variant TCodeConverter::DesignToUI(const Variant& value) const {
    Variant result;
    DesignToUI(value, result);
    return result;
}

std::string TCodeConverter::DesignToUI(const std::string& text) const {
    return DesignToUI(Variant(text)).AsString();
}

void TCodeConverter::UIToDesign(const Variant& value, Variant& result) const {
    try {
        ConvertVar(uiConvertMode_ == 2 ? kBig5ToGb : 0, value, result);
    } catch (const std::exception&) {
        result = value;
    }
}

Variant TCodeConverter::UIToDesign(const Variant& value) const {
    Variant result;
    UIToDesign(value, result);
    return result;
}

void TCodeConverter::Big5ToGB(const std::string& text, std::string& result) const {
    if (text.empty() || translator_ == nullptr) {
        result = text;
        return;
    }
    translator_->BIG5ToGBText(text, result);
}

void TCodeConverter::GBToBig5(const std::string& text, std::string& result) const {
    if (text.empty() || translator_ == nullptr) {
        result = text;
        return;
    }
    translator_->GBToBIG5Text(text, result);
}

void TCodeConverter::SetFontCharset(int mode, TFont* font) {
    if (font == nullptr) return;
    if (mode == 0 || mode == 1 || mode == 4) {
        font->SetName("SimSun");
        font->SetCharset(GB2312_CHARSET);
    } else if (mode == 2 || mode == 3) {
        font->SetName("SimSun");
        font->SetCharset(CHINESEBIG5_CHARSET);
    }
}

int TCodeConverter::ShowMessageDlg(const std::string& text, TMsgDlgType dialogType,
                                   TMsgDlgButtons buttons) {
    if (text.empty()) return mrNone;
    std::string shown = text;
    if (uiCodePage_ == "936" || sysCodePage_ == "936") shown += "      ";
    auto* form = dynamic_cast<TCustomForm*>(Owner());
    if (form != nullptr && form->WindowState() == wsMinimized) form->SetWindowState(wsNormal);
    TMessageForm* dialog = CreateMessageDialog(shown, dialogType, buttons);
    try {
        if (form != nullptr) dialog->SetCaption(form->Caption());
        SetFontCharset(uiConvertMode_, dialog->Font());
        const int result = dialog->ShowModal();
        dialog->Free();
        return result;
    } catch (...) {
        dialog->Free();
        throw;
    }
}

KV_PUBLISHED(TCodeConverter) {
    b.Property("DesignType", &T::DesignType, &T::SetDesignType).Default(dtClient);
}
KV_REGISTER_CLASS(TCodeConverter);

}  // namespace kv
