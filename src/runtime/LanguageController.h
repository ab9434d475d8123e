// LanguageController: language packages. A package is an XML file "<name>.Lng" in the folder
// <root>/MultiLanguage/<CHS|CHT|ENG>/ of the client (or server) installation; it overrides the
// texts and other published properties of a form's components and holds message texts by
// identifier. Every form carries a TKvLangController ("LangController" on the base form); the
// base form sets LangPackageName to each class name of its class chain in turn and, for each
// package file that exists, activates the controller and lets its reader read the form.
//
// State of this unit: the folders, the package file names, the controller's properties and
// events, activation bookkeeping and the message lookup's fall-back to its default are in
// place. Reading the XML of a package (opening a document, ReadLangMsg on an existing file,
// TLangReader::ReadComponent) is not part of this build yet: opening an existing package raises
// LanguageControllerError naming the file, and ReadLangMsg answers the default.
#pragma once

#include <memory>
#include <string>

#include "platform/core/Classes.h"
#include "src/runtime/CodeConverter.h"

namespace kv {

// The errors of this unit.
KV_DECLARE_EXCEPTION(LanguageControllerError, Exception);

KV_EVENT(TLoadComponentEvent, void(TComponent* xComponent, TObject* xComponentNode));

// The language folder: RootPath of the client (or, isServer, the server) configuration +
// "MultiLanguage/" + CHS, CHT or ENG by the configuration's UICodePage (936, 950, 437) + "/".
// The empty text for another code page or a folder that does not exist.
void LangFolder(bool isServer, std::string& folder);
std::string LangFolder(bool isServer);

// The attribute "Msg" of the first element named ident in the package file, or defaultText
// when the file is missing or cannot be read, or holds no such element or attribute.
void ReadLangMsg(const std::string& fileName, const std::string& ident,
                 const std::string& defaultText, std::string& text);
// ReadLangMsg on LangFolder(isServer) + package + ".Lng".
void GetLangMsg(bool isServer, const std::string& package, const std::string& ident,
                const std::string& defaultText, std::string& text);

class TLangDocument;

// Writes a package's values into components (the document's elements by component name).
class TLangReader : public TObject {
    KV_CLASS(TLangReader, TObject)
public:
    explicit TLangReader(std::shared_ptr<TLangDocument> document);
    ~TLangReader() override;

    // Translates component, then every component it owns.
    virtual void ReadComponent(TComponent* component);

    TStringList* ExcludeList() const { return excludeList_.get(); }
    TLoadComponentEvent OnBeforeLoadComponent;
    TLoadComponentEvent OnAfterLoadComponent;

protected:
    virtual void DoAfterLoadComponent(TComponent* component, TObject* node);
    virtual void DoBeforeLoadComponent(TComponent* component, TObject* node);

private:
    std::shared_ptr<TLangDocument> document_;
    std::unique_ptr<TStringList> excludeList_;
};

class TLanguageController : public TComponent {
    KV_CLASS(TLanguageController, TComponent)
public:
    explicit TLanguageController(TComponent* owner);
    ~TLanguageController() override;

    const std::string& PackageFile() const { return packageFile_; }
    // A changed file empties XMLText and closes the controller.
    void SetPackageFile(const std::string& value);
    // Package text held in memory, used instead of PackageFile when not empty.
    TStringList* XMLText() const { return xmlText_.get(); }
    // Components the reader leaves alone (names compared without regard to case and blanks).
    TStringList* ExcludeControls() const { return excludeControls_.get(); }
    void SetExcludeControls(TStrings* value);

    // True while a document with a document element is open. While the component is being
    // loaded from its form, setting only records the wish; Loaded applies it.
    bool Active() const;
    void SetActive(bool value);
    // The reader of the open package; LanguageControllerError "No active LanguageController!"
    // when none is open.
    TLangReader* GetReader() const;

    void Loaded() override;

    TNotifyEvent BeforeOpen;
    TNotifyEvent AfterOpen;
    TNotifyEvent BeforeClose;
    TNotifyEvent AfterClose;
    TLoadComponentEvent BeforeLoadComponent;
    TLoadComponentEvent AfterLoadComponent;

protected:
    virtual void DoAfterClose();
    virtual void DoAfterOpen();
    virtual void DoBeforeClose();
    virtual void DoBeforeOpen();
    virtual void DoAfterLoadComponent(TComponent* component, TObject* node);
    virtual void DoBeforeLoadComponent(TComponent* component, TObject* node);

private:
    void Open();
    void Close();
    void ExcludeControlsChanged(TObject* sender);

    std::string packageFile_;
    std::shared_ptr<TLangDocument> document_;
    std::unique_ptr<TLangReader> reader_;
    std::unique_ptr<TStringList> xmlText_;
    bool pendingActive_ = false;
    std::unique_ptr<TStringList> excludeControls_;
};

class TKvLangController : public TLanguageController {
    KV_CLASS(TKvLangController, TLanguageController)
public:
    explicit TKvLangController(TComponent* owner);

    const std::string& LangPackageName() const { return langPackageName_; }
    // A changed name points PackageFile at LangFolder + name + ".Lng" (closing the controller).
    void SetLangPackageName(const std::string& value);
    TDesignType DesignType() const { return designType_; }
    void SetDesignType(TDesignType value) { designType_ = value; }

private:
    std::string langPackageName_;
    TDesignType designType_ = dtClient;
};

}  // namespace kv
