// CodeConverter: the code-page converter that every form carries ("KvConverter" on the base
// form). It copies the code pages and conversion modes of the configuration when it is made,
// converts a whole form's texts and fonts once, and converts single texts and variant values
// (the parameter arrays exchanged with the application server included) between the designed
// texts (simplified Chinese), the user interface and the database.
//
// Modes (copied from the configuration, see VelmarINI.h):
//   UIConvertMode 0 nothing is converted, no library is loaded; 2 interface 950: designed texts
//   GB to BIG5, fonts BIG5; 4 interface 936 on a 950 system: texts stay, fonts GB2312.
//   DBConvertMode 0 database texts pass; 1 GB interface, BIG5 database; 2 BIG5 interface, GB
//   database.
// The GB/BIG5 mapping comes from the language-conversion library "Kvlanguage.dll" (".so"),
// loaded by TTranslator only when UIConvertMode is not 0.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/core/Classes.h"
#include "platform/core/Modules.h"
#include "platform/core/Variant.h"
#include "platform/ui/Dialogs.h"

namespace kv {

class TCustomForm;
class TFont;

// Which configuration a component follows: the client file or the server file.
KV_ENUM(TDesignType, dtClient, dtServer);

// A conversion function of the language-conversion library: text in, text out. The library
// exports them with C linkage under the names below and shares the process's C++ runtime, so
// the text crosses as a standard string.
using TLangTextFunc = std::string(const std::string& text);

// Loads the language-conversion library and holds its functions for one converter.
class TTranslator : public TObject {
    KV_CLASS(TTranslator, TObject)
public:
    static constexpr const char* kLibraryName = "Kvlanguage.dll";

    // Loads the library at once. Raises EOSError "Load Library Kvlanguage.dll Error!" when it
    // cannot be loaded and "Get Library Procedure Address Error!" when "GBtoBIG5" or
    // "BIG5toGB" is missing.
    TTranslator();
    ~TTranslator() override;

    // The library's conversion; the text unchanged when the function is missing.
    void BIG5ToGBText(const std::string& text, std::string& result) const;
    void GBToBIG5Text(const std::string& text, std::string& result) const;

private:
    HMODULE library_ = 0;
    TLangTextFunc* gbToBig5_ = nullptr;
    TLangTextFunc* big5ToGb_ = nullptr;
    // Looked up as the library offers them; not called.
    void* getBig5Data_ = nullptr;
    void* getGbData_ = nullptr;
    void* saveOrder_ = nullptr;
};

// Direction codes of ConvertVar.
inline constexpr int kBig5ToGb = 1;
inline constexpr int kGbToBig5 = 2;

class TCodeConverter : public TComponent {
    KV_CLASS(TCodeConverter, TComponent)
public:
    // Reads the client configuration and copies its code pages and modes; creates the
    // translator when UIConvertMode is not 0 (so a missing library fails the construction
    // then, and only then).
    explicit TCodeConverter(TComponent* owner);
    ~TCodeConverter() override;

    const std::string& SysCodePage() const { return sysCodePage_; }
    const std::string& UICodePage() const { return uiCodePage_; }
    const std::string& DBCodePage() const { return dbCodePage_; }
    std::uint8_t UIConvertMode() const { return uiConvertMode_; }
    std::uint8_t DBConvertMode() const { return dbConvertMode_; }
    // Published. Chosen before construction ends has no effect on what was read.
    TDesignType DesignType() const { return designType_; }
    void SetDesignType(TDesignType value) { designType_ = value; }
    // Per-component exceptions for ConvertForm (entries "name" #3 "properties").
    TStringList* ExceptionList() const { return exceptionList_.get(); }
    // Null while UIConvertMode is 0.
    TTranslator* Translator() const { return translator_.get(); }

    // Converts form's caption, hint and fonts once (only when a translator exists); the
    // component walk is done in the modes other than 0.
    void ConvertForm(TCustomForm* form, TStrings* exceptions, bool convertGrids);

    // A copy of value whose texts are converted in direction (kBig5ToGb, kGbToBig5; other codes
    // copy): one-dimensional arrays element by element (recursing into nested arrays),
    // two-dimensional arrays cell by cell. Unchanged without a translator, for empty and null.
    void ConvertVar(int direction, const Variant& value, Variant& result) const;
    // Texts from the database to the interface (direction = DBConvertMode).
    void DBToUI(const Variant& value, Variant& result) const;
    Variant DBToUI(const Variant& value) const;
    // Texts from the interface to the database; a failure copies the value unchanged.
    void UIToDB(const Variant& value, Variant& result) const;
    Variant UIToDB(const Variant& value) const;
    // Designed (GB) texts to the interface (direction = UIConvertMode).
    void DesignToUI(const Variant& value, Variant& result) const;
    Variant DesignToUI(const Variant& value) const;
    std::string DesignToUI(const std::string& text) const;
    // Interface texts back to the designed form; a failure copies the value unchanged.
    void UIToDesign(const Variant& value, Variant& result) const;
    Variant UIToDesign(const Variant& value) const;
    // One text through the translator; the empty text gives the empty text.
    void Big5ToGB(const std::string& text, std::string& result) const;
    void GBToBig5(const std::string& text, std::string& result) const;

    // Modes 0, 1, 4: "SimSun" with GB2312; modes 2, 3: "SimSun" with BIG5; others: nothing.
    static void SetFontCharset(int mode, TFont* font);

    // A standard message dialog with the owner form's caption as its title; six blanks are
    // appended to the text on a 936 system or interface. The empty text shows nothing: 0.
    int ShowMessageDlg(const std::string& text, TMsgDlgType dialogType, TMsgDlgButtons buttons);

private:
    void ReadConfiguration();
    Variant ConvertText(int direction, const Variant& text) const;
    Variant ConvertArray(int direction, const Variant& array, int depth) const;

    std::string sysCodePage_ = "936";
    std::string uiCodePage_ = "936";
    std::string dbCodePage_ = "936";
    std::uint8_t uiConvertMode_ = 0;
    std::uint8_t dbConvertMode_ = 0;
    TDesignType designType_ = dtClient;
    std::unique_ptr<TStringList> exceptionList_;
    std::unique_ptr<TTranslator> translator_;
};

}  // namespace kv
