// KvForm: the base form of every form of the plug-in. It carries the code-page converter
// (KvConverter) and the language controller (LangController), removes fixed input-method
// settings, switches fonts on the English code page, gives one-picture buttons a greyed
// picture for their disabled state, applies the language packages of its class chain when it
// is shown, converts its texts once to the user's code page, and offers the language-string
// lookup that every message and caption of the framework uses.
//
// The form resource (KvForm.kvform) names the two components and binds OnCreate to FormCreate
// and OnShow to FormShow; a descendant's description starts with "inherited" and its own
// FormCreate/FormShow call these first.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"

namespace kv {

class TCodeConverter;
class TKvLangController;

class TKvForm : public TForm {
    KV_CLASS(TKvForm, TForm)
public:
    explicit TKvForm(TComponent* owner, bool createNew = false);

    // ---- published methods (bound in the form resource)
    // Resets the two flags, then for every owned component in order: empties "ImeName",
    // switches "Font" to Tahoma / character set 134 on the code page "437", and gives each
    // one-picture glyph button (DisabledGlyphButtons) a disabled picture.
    void FormCreate(TObject* Sender);
    // Applies the language packages of the class chain when LanguageOnShow is set.
    void FormShow(TObject* Sender);

    // ---- virtual operations, in slot order
    // Reads the language packages of target's class chain (from the most basic class below the
    // platform's form up to target's own class; only target's own with withAncestors false)
    // into target; a missing package file is skipped, later packages override earlier ones.
    virtual void ApplyLanguage(TComponent* target, bool withAncestors);
    // The same, skipping the base form's own package too.
    virtual void ApplyDerivedLanguage(TComponent* target, bool withAncestors);

    // ---- other operations
    // Converts the whole form with KvConverter the first time; later calls do nothing.
    void ConvertOnce();
    // The converter's message dialog; answers its modal result (0 when nothing was shown).
    int ShowDialog(const std::string& text, TMsgDlgType dialogType, TMsgDlgButtons buttons);
    // The language string ident of the package packageName (a class name such as
    // "TfrmBaseGene"), or defaultText (passed through DesignToUI first when convertDefault).
    void GetLangText(const std::string& packageName, const std::string& ident, std::string& text,
                     bool convertDefault, const std::string& defaultText);
    std::string GetLangText(const std::string& packageName, const std::string& ident,
                            bool convertDefault, const std::string& defaultText);

    // The converter's settings: code pages as decimal texts ("936", "950", "437").
    std::string SysCodePage() const;
    std::string UICodePage() const;
    std::uint8_t UIConvertMode() const;
    std::uint8_t DBConvertMode() const;

    // ---- components of the form resource (published fields)
    TCodeConverter* KvConverter = nullptr;
    TKvLangController* LangController = nullptr;

    // ---- fields
    // The form's texts were converted by KvConverter (ConvertOnce).
    bool FormConverted = false;
    // Apply the language packages on every show.
    bool LanguageOnShow = true;

protected:
    // The package names for ApplyLanguage: class names from the most basic one up to target's
    // class, stopping before stopClass (the platform's form, or the base form as well).
    static std::vector<std::string> PackageChain(const TComponent& target, bool withAncestors,
                                                 bool skipBaseForm);
    void ApplyPackages(TComponent* target, const std::vector<std::string>& packages);
};

// ---- disabled pictures of glyph buttons

// A new picture of source's size: the shape of source's dark pixels, and of light pixels next
// to a transparent one, embossed in the system button colours on button face. Makes source a
// 24-bit picture first.
std::unique_ptr<TBitmap> MakeDisabledGlyph(TBitmap& source);
// Doubles picture's width and puts the disabled picture to the right of the original; nothing
// for an empty picture.
void AddDisabledGlyph(TBitmap& picture);

// The glyph buttons a component brings along for the disabled-picture rule of FormCreate: the
// component itself for speed buttons and bit buttons, embedded buttons for composite
// controls. Classes that embed buttons register a finder under their class name; the first
// registered class the component inherits from wins (registration order), before the speed
// and bit button rules. A glyph button publishes "Glyph" (TBitmap) and "NumGlyphs".
using TGlyphButtonFinder = std::function<std::vector<TComponent*>(TComponent& component)>;
void RegisterGlyphButtonFinder(std::string_view className, TGlyphButtonFinder finder);
std::vector<TComponent*> DisabledGlyphButtons(TComponent& component);
// Gives a glyph button holding exactly one picture its disabled picture and NumGlyphs 2;
// false when the button has another number of pictures, no picture or no such properties.
bool AddDisabledGlyphToButton(TComponent& button);

}  // namespace kv
