// The form-description reader: components by class name with owner and parent, properties in
// file order, events bound by name, references, the loading state and Loaded, inheritance of
// descriptions (the embedded ones of forms/ included), and line-numbered errors.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/core/SysUtils.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/FormReader.h"
#include "platform/ui/FormResources.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Menus.h"
#include "tests/platform/ui/TestControls.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv::test {
namespace {

std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

std::string LoadingTag(const TComponent& c) {
    return c.ComponentState().Contains(csLoading) ? "loading" : "loaded";
}

class TDescColumn : public TCollectionItem {
    KV_CLASS(TDescColumn, TCollectionItem)
public:
    explicit TDescColumn(TCollection* collection) : TCollectionItem(collection) {}
    std::string Caption;
    int Width = 50;
    TComponent* Buddy = nullptr;
};
KV_PUBLISHED(TDescColumn) {
    b.Property("Caption", &T::Caption);
    b.Property("Width", &T::Width);
    b.Property("Buddy", &T::Buddy);
}

// A non-visual component with a string list, a collection, a reference and values of the
// other kinds; it logs when Loaded runs and what it saw then.
class TDescWidget : public TComponent {
    KV_CLASS(TDescWidget, TComponent)
public:
    explicit TDescWidget(TComponent* owner)
        : TComponent(owner),
          lines_(std::make_unique<TStringList>()),
          columns_(std::make_unique<TOwnedCollection>(this, TDescColumn::StaticClass())) {}
    TStrings* Lines() const { return lines_.get(); }
    void SetLines(TStrings* value) { lines_->Assign(value); }
    TCollection* Columns() const { return columns_.get(); }
    void SetColumns(TCollection* value) { columns_->Assign(value); }
    void Loaded() override {
        TComponent::Loaded();
        Log().push_back("Loaded " + Name() + " lines=" + IntToStr(lines_->Count()));
    }
    void Ping() { OnPing(this); }

    TComponent* Buddy = nullptr;
    double Ratio = 0;
    char Letter = 'a';
    std::int64_t Big = 0;
    TFontStyles Styles;
    TColor Tint = clBlack;
    bool Flag = false;
    TNotifyEvent OnPing;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == opRemove && component == Buddy) Buddy = nullptr;
    }

private:
    std::unique_ptr<TStringList> lines_;
    std::unique_ptr<TOwnedCollection> columns_;
};
KV_PUBLISHED(TDescWidget) {
    b.Property("Lines", &T::Lines, &T::SetLines);
    b.Property("Columns", &T::Columns, &T::SetColumns);
    b.Property("Buddy", &T::Buddy);
    b.Property("Ratio", &T::Ratio);
    b.Property("Letter", &T::Letter);
    b.Property("Big", &T::Big);
    b.Property("Styles", &T::Styles);
    b.Property("Tint", &T::Tint).Type(ColorTypeInfo());
    b.Property("Flag", &T::Flag);
    b.Event("OnPing", &T::OnPing);
}

// A panel whose Wide setter swaps its width and height, except while it is being loaded (its
// description gives the final size), as the selection panel swaps its arrangement.
class TDescSwapPanel : public TCustomControl {
    KV_CLASS(TDescSwapPanel, TCustomControl)
public:
    explicit TDescSwapPanel(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 200, 40); }
    bool Wide() const { return wide_; }
    void SetWide(bool value) {
        if (value == wide_) return;
        wide_ = value;
        if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
    }
    void Loaded() override {
        TCustomControl::Loaded();
        Log().push_back("Loaded " + Name() + " " + IntToStr(Width()) + "x" + IntToStr(Height()) +
                        " parent " + LoadingTag(*Parent()));
    }

private:
    bool wide_ = false;
};
KV_PUBLISHED(TDescSwapPanel) {
    PublishControlMembers(b, "Align Caption Color Font ParentFont Visible");
    b.Property("Wide", &T::Wide, &T::SetWide);
}

class TfrmDescTest : public TForm {
    KV_CLASS(TfrmDescTest, TForm)
public:
    explicit TfrmDescTest(TComponent* owner, bool createNew = true) : TForm(owner, createNew) {}
    void btnOkClick(TObject*) { ++clicks; }
    void edNameChange(TObject*) { ++changes; }
    void widgetPing(TObject* sender) { pinged = sender; }
    void FancyKey(TObject*, Word&, TShiftState) {}
    void Loaded() override {
        TForm::Loaded();
        Log().push_back("Loaded form");
    }

    TTestButton* btnOk = nullptr;
    int clicks = 0;
    int changes = 0;
    TObject* pinged = nullptr;
};
KV_PUBLISHED(TfrmDescTest) {
    b.Method("btnOkClick", &T::btnOkClick);
    b.Method("edNameChange", &T::edNameChange);
    b.Method("widgetPing", &T::widgetPing);
    b.Method("FancyKey", &T::FancyKey);
    b.Field("btnOk", &T::btnOk);
}

// Forms whose descriptions are embedded by the build (tests/platform/ui/forms/*.kvform).
class TfrmDescBase : public TForm {
    KV_CLASS(TfrmDescBase, TForm)
public:
    explicit TfrmDescBase(TComponent* owner) : TForm(owner) {}
    void btnOkClick(TObject*) { Log().push_back("base click"); }
    TTestButton* btnOk = nullptr;
    TDescSwapPanel* pnlMain = nullptr;
};
KV_PUBLISHED(TfrmDescBase) {
    b.Method("btnOkClick", &T::btnOkClick);
    b.Field("btnOk", &T::btnOk);
    b.Field("pnlMain", &T::pnlMain);
}

class TfrmDescDerived : public TfrmDescBase {
    KV_CLASS(TfrmDescDerived, TfrmDescBase)
public:
    explicit TfrmDescDerived(TComponent* owner) : TfrmDescBase(owner) {}
    void btnMoreClick(TObject*) { Log().push_back("more click"); }
    void btnOkDerivedClick(TObject*) { Log().push_back("derived click"); }
    TTestEdit* edExtra = nullptr;
};
KV_PUBLISHED(TfrmDescDerived) {
    b.Method("btnMoreClick", &T::btnMoreClick);
    b.Method("btnOkDerivedClick", &T::btnOkDerivedClick);
    b.Field("edExtra", &T::edExtra);
}

// The scheme panel of the condition forms, on the platform's own controls.
class TfrmSchemePanel : public TForm {
    KV_CLASS(TfrmSchemePanel, TForm)
public:
    explicit TfrmSchemePanel(TComponent* owner, bool createNew = true) : TForm(owner, createNew) {}
    void btnOpenClick(TObject* sender) {
        Log().push_back("open from " + dynamic_cast<TComponent*>(sender)->Name());
    }
    void lstConditionEdited(TObject*, TListItem* item, std::string& s) {
        Log().push_back("rename " + item->Caption() + " to " + s);
    }
    TListView* lstCondition = nullptr;
    TPopupMenu* muOperation = nullptr;
};
KV_PUBLISHED(TfrmSchemePanel) {
    b.Method("btnOpenClick", &T::btnOpenClick);
    b.Method("lstConditionEdited", &T::lstConditionEdited);
    b.Field("lstCondition", &T::lstCondition);
    b.Field("muOperation", &T::muOperation);
}

const char* const kSchemePanel =
    "object frmScheme: TfrmSchemePanel\n"
    "  Width = 509\n"
    "  Height = 355\n"
    "  BorderIcons = [biMaximize]\n"
    "  Font.Height = -13\n"
    "  Font.Name = '\xE5\xAE\x8B\xE4\xBD\x93'\n"
    "  KeyPreview = True\n"
    "  Position = poScreenCenter\n"
    "  object pnlCondition: TPanel\n"
    "    Align = alLeft\n"
    "    Width = 151\n"
    "    object lblCondition: TLabel\n"
    "      Align = alTop\n"
    "      AutoSize = False\n"
    "      Caption = ' \xE6\x9D\xA1\xE4\xBB\xB6\xE6\x96\xB9\xE6\xA1\x88'\n"
    "      Height = 21\n"
    "    end\n"
    "    object ToolBar1: TToolBar\n"
    "      ButtonHeight = 24\n"
    "      ButtonWidth = 25\n"
    "      Flat = True\n"
    "      Images = ImageList1\n"
    "      object btnOpen: TToolButton\n"
    "        Caption = 'Open'\n"
    "        ImageIndex = 2\n"
    "        OnClick = btnOpenClick\n"
    "      end\n"
    "      object ToolButton1: TToolButton\n"
    "        Caption = 'ViewIcon'\n"
    "        DropdownMenu = mnList\n"
    "        ImageIndex = 4\n"
    "        Style = tbsDropDown\n"
    "      end\n"
    "    end\n"
    "    object lstCondition: TListView\n"
    "      Align = alClient\n"
    "      ColumnClick = False\n"
    "      IconOptions.AutoArrange = True\n"
    "      LargeImages = ImageList2\n"
    "      PopupMenu = muOperation\n"
    "      SmallImages = ImageList1\n"
    "      SortType = stText\n"
    "      OnDblClick = btnOpenClick\n"
    "      OnEdited = lstConditionEdited\n"
    "    end\n"
    "  end\n"
    "  object Splitter1: TSplitter\n"
    "    Left = 151\n"
    "  end\n"
    "  object muOperation: TPopupMenu\n"
    "    Images = ImageList1\n"
    "    object N2: TMenuItem\n"
    "      Caption = 'Open'\n"
    "      ImageIndex = 2\n"
    "      OnClick = btnOpenClick\n"
    "    end\n"
    "  end\n"
    "  object mnList: TPopupMenu\n"
    "    object N7: TMenuItem\n"
    "      Caption = 'Large'\n"
    "      Checked = True\n"
    "      RadioItem = True\n"
    "    end\n"
    "    object N8: TMenuItem\n"
    "      Caption = 'Small'\n"
    "      RadioItem = True\n"
    "    end\n"
    "  end\n"
    "  object ImageList1: TImageList\n"
    "    Height = 18\n"
    "    Width = 18\n"
    "  end\n"
    "  object ImageList2: TImageList\n"
    "    Height = 24\n"
    "    Width = 24\n"
    "  end\n"
    "end\n";

// A form that inherits the scheme panel's description and adds menu items to its menus.
class TfrmSchemeChild : public TfrmSchemePanel {
    KV_CLASS(TfrmSchemeChild, TfrmSchemePanel)
public:
    explicit TfrmSchemeChild(TComponent* owner) : TfrmSchemePanel(owner, false) {}
};
KV_PUBLISHED(TfrmSchemeChild) {}

const char* const kSchemeChild =
    "inherited frmSchemeChild: TfrmSchemeChild\n"
    "  inherited muOperation: TPopupMenu\n"
    "    inherited N2: TMenuItem\n"
    "      object N21: TMenuItem\n"
    "        Caption = '&Recent'\n"
    "        object N211: TMenuItem\n"
    "          Caption = 'Week'\n"
    "          OnClick = btnOpenClick\n"
    "        end\n"
    "      end\n"
    "    end\n"
    "  end\n"
    "  inherited mnList: TPopupMenu\n"
    "    object N9: TMenuItem\n"
    "      AutoCheck = True\n"
    "      Caption = 'List'\n"
    "      RadioItem = True\n"
    "    end\n"
    "  end\n"
    "end\n";

class FormReaderTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        RegisterClasses({TTestEdit::StaticClass(), TTestPanel::StaticClass(),
                         TTestButton::StaticClass(), TTestLabel::StaticClass(),
                         TDescWidget::StaticClass(), TDescSwapPanel::StaticClass(),
                         TDescColumn::StaticClass(), TfrmDescTest::StaticClass()});
        Log().clear();
    }
    TfrmDescTest* NewForm() {
        auto* form = NewObject<TfrmDescTest>(&Application());
        form->SetName("frmTest");
        return form;
    }
};

TEST_F(FormReaderTest, NestedComponentsPropertiesAndEventsLoad) {
    TfrmDescTest* form = NewForm();
    ReadComponentDescription(*form,
                             "object frmTest: TfrmDescTest\n"
                             "  Caption = 'Orders'\n"
                             "  Width = 400\n"
                             "  BorderIcons = [biSystemMenu, biMaximize]\n"
                             "  KeyPreview = True\n"
                             "  object pnlTop: TTestPanel\n"
                             "    Align = alTop\n"
                             "    Color = clRed\n"
                             "    Font.Name = '\xE5\xAE\x8B\xE4\xBD\x93'\n"
                             "    Font.Height = -13\n"
                             "    object edName: TTestEdit\n"
                             "      Text = 'It''s'\n"
                             "      OnChange = edNameChange\n"
                             "    end\n"
                             "    object btnOk: TTestButton\n"
                             "      Caption = 'OK'\n"
                             "      OnClick = btnOkClick\n"
                             "    end\n"
                             "  end\n"
                             "end\n",
                             "test.kvform");
    EXPECT_EQ(form->Caption(), "Orders");
    EXPECT_EQ(form->Width(), 400);
    EXPECT_EQ(form->BorderIcons(), TBorderIcons({biSystemMenu, biMaximize}));
    EXPECT_TRUE(form->KeyPreview());
    auto& panel = Automation().FindAs<TTestPanel>("frmTest.pnlTop");
    auto& edit = Automation().FindAs<TTestEdit>("frmTest.pnlTop.edName");
    ASSERT_NE(form->btnOk, nullptr);  // the published field follows the name
    EXPECT_EQ(panel.Owner(), form);
    EXPECT_EQ(panel.Parent(), form);
    EXPECT_EQ(edit.Owner(), form);
    EXPECT_EQ(edit.Parent(), &panel);
    EXPECT_EQ(form->btnOk->Parent(), &panel);
    EXPECT_EQ(panel.Align(), alTop);
    EXPECT_EQ(panel.Width(), 400);  // aligned once loading ended
    EXPECT_EQ(panel.Color(), clRed);
    EXPECT_EQ(edit.Font()->Name(), "\xE5\xAE\x8B\xE4\xBD\x93");  // the parent's font
    EXPECT_EQ(edit.Text(), "It's");
    for (TComponent* c : {static_cast<TComponent*>(form), static_cast<TComponent*>(&panel),
                          static_cast<TComponent*>(&edit)})
        EXPECT_FALSE(c->ComponentState().Contains(csLoading) ||
                     c->ComponentState().Contains(csReading));

    form->Show();
    Automation().TypeText("frmTest.pnlTop.edName", "!");
    Automation().Click("frmTest.pnlTop.btnOk");
    EXPECT_EQ(form->changes, 1);
    EXPECT_EQ(form->clicks, 1);
    form->Free();
}

TEST_F(FormReaderTest, LoadedRunsAfterAllPropertiesInCreationOrder) {
    TfrmDescTest* form = NewForm();
    ReadComponentDescription(*form,
                             "object frmTest: TfrmDescTest\n"
                             "  object pnlSwap: TDescSwapPanel\n"
                             "    Width = 353\n"
                             "    Height = 45\n"
                             "    Wide = True\n"
                             "  end\n"
                             "  object wgtA: TDescWidget\n"
                             "    Lines = ( 'a' 'b' )\n"
                             "  end\n"
                             "end\n",
                             "test.kvform");
    // The setter saw the loading state: the size stays as described. Loaded ran on the form
    // first, then in creation order, each after every property was set.
    EXPECT_EQ(Log(), (std::vector<std::string>{"Loaded form", "Loaded pnlSwap 353x45 parent loaded",
                                               "Loaded wgtA lines=2"}));
    auto& panel = Automation().FindAs<TDescSwapPanel>("frmTest.pnlSwap");
    panel.SetWide(false);  // at run time the setter swaps
    EXPECT_EQ(panel.Width(), 45);
    EXPECT_EQ(panel.Height(), 353);
    form->Free();
}

TEST_F(FormReaderTest, ValuesReferencesStringListsAndCollections) {
    TfrmDescTest* form = NewForm();
    ReadComponentDescription(*form,
                             "object frmTest: TfrmDescTest\n"
                             "  object wgtA: TDescWidget\n"
                             "    Buddy = wgtB\n"  // made further down
                             "    Ratio = 2.5\n"
                             "    Letter = 'z'\n"
                             "    Big = 5000000000\n"
                             "    Styles = [fsBold, fsItalic]\n"
                             "    Tint = clBtnFace\n"
                             "    Flag = True\n"
                             "    OnPing = widgetPing\n"
                             "    Lines.Strings = (\n"
                             "      'one'\n"
                             "      '\xE4\xB8\xA4')\n"
                             "    Columns = <\n"
                             "      item\n"
                             "        Caption = 'Name'\n"
                             "        Buddy = wgtB\n"
                             "      end\n"
                             "      item\n"
                             "        Width = 80\n"
                             "      end>\n"
                             "  end\n"
                             "  object wgtB: TDescWidget\n"
                             "    Buddy = frmTest\n"
                             "  end\n"
                             "end\n",
                             "test.kvform");
    auto* a = form->FindComponentAs<TDescWidget>("wgtA");
    auto* b = form->FindComponentAs<TDescWidget>("wgtB");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->Buddy, b);
    EXPECT_EQ(b->Buddy, form);
    EXPECT_DOUBLE_EQ(a->Ratio, 2.5);
    EXPECT_EQ(a->Letter, 'z');
    EXPECT_EQ(a->Big, 5000000000);
    EXPECT_EQ(a->Styles, TFontStyles({fsBold, fsItalic}));
    EXPECT_EQ(a->Tint, clBtnFace);
    EXPECT_TRUE(a->Flag);
    EXPECT_EQ(a->Lines()->Text(), "one\r\n\xE4\xB8\xA4\r\n");
    ASSERT_EQ(a->Columns()->Count(), 2);
    EXPECT_EQ(a->Columns()->ItemAs<TDescColumn>(0)->Caption, "Name");
    EXPECT_EQ(a->Columns()->ItemAs<TDescColumn>(0)->Buddy, b);
    EXPECT_EQ(a->Columns()->ItemAs<TDescColumn>(1)->Width, 80);
    a->Ping();
    EXPECT_EQ(form->pinged, a);
    form->Free();
}

TEST_F(FormReaderTest, InheritedDescriptionsAddAndOverride) {
    // tests/platform/ui/forms/DescBase.kvform and DescDerived.kvform, embedded by the build.
    auto* base = NewObject<TfrmDescBase>(&Application());
    EXPECT_EQ(base->Name(), "frmDescBase");
    EXPECT_EQ(base->Caption(), "Base");
    ASSERT_NE(base->btnOk, nullptr);
    EXPECT_EQ(base->btnOk->Caption(), "OK");
    Log().clear();

    auto* derived = NewObject<TfrmDescDerived>(&Application());
    EXPECT_EQ(derived->Name(), "frmDescDerived");
    EXPECT_EQ(derived->Caption(), "Derived");  // the root's property overridden
    EXPECT_EQ(derived->Width(), 300);          // kept from the base
    ASSERT_NE(derived->btnOk, nullptr);
    EXPECT_EQ(derived->btnOk->Caption(), "&Submit");  // an inherited component overridden
    ASSERT_NE(derived->edExtra, nullptr);             // a component added into an inherited one
    EXPECT_EQ(derived->edExtra->Parent(), derived->pnlMain);
    EXPECT_EQ(derived->FindComponent("btnMore")->ComponentIndex(), 4);  // after the base's
    // One loading for the whole chain: Loaded once, after the derived description too.
    EXPECT_EQ(Log(), (std::vector<std::string>{"Loaded pnlMain 120x300 parent loaded"}));
    derived->Show();
    Automation().Click("frmDescDerived.pnlMain.btnOk");
    Automation().Click("frmDescDerived.btnMore");
    EXPECT_EQ(Log().back(), "more click");
    EXPECT_EQ(Log().at(Log().size() - 2), "derived click");

    // A second form of the class under the same owner gets a name of its own.
    auto* second = NewObject<TfrmDescBase>(&Application());
    EXPECT_EQ(second->Name(), "frmDescBase_1");
    base->Free();
    derived->Free();
    second->Free();
}

// Registers a description for the life of a test.
struct TRegistered {
    TRegistered(const char* cls, const char* file, const char* text) : cls_(cls), file_(file) {
        RegisterFormDescription(cls, file, text);
    }
    ~TRegistered() { UnregisterFormDescription(cls_, file_); }
    const char* cls_;
    const char* file_;
};

TEST_F(FormReaderTest, ChainMustStartWithObjectAndContinueWithInherited) {
    {
        TRegistered bad("TfrmDescTest", "t.kvform", "inherited frmTest: TfrmDescTest\nend\n");
        EXPECT_THROW(NewObject<TfrmDescTest>(&Application(), false), EFormDescError);
    }
    {
        // TfrmDescDerived's ancestor has a description, so its own must say "inherited".
        TRegistered bad("TfrmDescDerived", "d.kvform", "object frmX: TfrmDescDerived\nend\n");
        try {
            NewObject<TfrmDescDerived>(&Application());
            ADD_FAILURE() << "no error";
        } catch (const EFormDescError& error) {
            EXPECT_EQ(error.FileName(), "d.kvform");
            EXPECT_NE(error.Reason().find("must start with 'inherited'"), std::string::npos);
        }
    }
    // A form whose construction failed is gone: the fixture finds no form alive.
}

TEST_F(FormReaderTest, BadDescriptionsGiveLineNumberedErrorsAndLeaveNothingBehind) {
    struct Case {
        const char* body;  // inside "object frmTest: TfrmDescTest" ... "end"
        int line;
        const char* reason;
    };
    const Case cases[] = {
        {"  Colour = clRed\n", 2, "TfrmDescTest has no property Colour"},
        {"  Font.Nam = 'x'\n", 2, "TFont has no property Nam"},
        {"  Caption.X = 1\n", 2, "Caption holds no object"},
        {"  object a: TNoSuchClass\n  end\n", 2, "Class TNoSuchClass not found"},
        {"  object a: TDescColumn\n  end\n", 2, "no component that can be created"},
        {"  object a: TTestButton\n    OnClick = NoSuchMethod\n  end\n", 3,
         "TfrmDescTest has no published method NoSuchMethod"},
        {"  object a: TTestButton\n    OnClick = FancyKey\n  end\n", 3,
         "Method FancyKey does not fit event OnClick of type TNotifyEvent"},
        {"  object a: TTestPanel\n    Align = alSideways\n  end\n", 3, "alSideways"},
        {"  Width = 'wide'\n", 2, "'wide' is no value of type Integer"},
        {"  Caption = 12\n", 2, "12 is no value of type String"},
        {"  KeyPreview = 1\n", 2, "is no value of type Boolean"},
        {"  Width = 99999999999\n", 2, "frmTest.Width"},
        {"  object a: TDescWidget\n    Letter = 'xy'\n  end\n", 3, "a.Letter"},
        {"  object a: TDescWidget\n    Buddy = nobody\n  end\n", 3,
         "a.Buddy: component 'nobody' not found"},
        {"  object a: TDescWidget\n    Buddy = frmOther.x\n  end\n", 3, "other forms"},
        {"  object a: TDescWidget\n    Lines = ( 'a' 12 )\n  end\n", 3, "strings only"},
        {"  object a: TDescWidget\n    Lines = < >\n  end\n", 3, "no collection"},
        {"  object a: TDescWidget\n    Columns = < item Nope = 1 end >\n  end\n", 3,
         "a.Columns[0].Nope"},
        {"  object a: TTestPanel\n  end\n  object a: TTestPanel\n  end\n", 4, "already exists"},
        {"  object a: TDescWidget\n    object b: TTestEdit\n    end\n  end\n", 3,
         "a TDescWidget holds no controls"},
        {"  object a: TTestPanel\n    object b: TDescWidget\n    end\n  end\n", 3,
         "cannot be nested in 'a'"},
        {"  inherited a: TTestPanel\n  end\n", 2, "not found in the ancestor"},
        {"  object a: TfrmDescTest\n  end\n", 2, "cannot be nested"},
        {"  object 9a: TTestPanel\n  end\n", 2, "Invalid number"},
        {"  object a: TDescWidget\n    object b: TMenuItem\n    end\n  end\n", 3,
         "Menu item 'b' belongs in a menu or a menu item, not in a TDescWidget"},
        {"  object a: TPopupMenu\n    object b: TDescWidget\n    end\n  end\n", 3,
         "A TDescWidget cannot be nested in 'a'"},
        {"  object a: TPopupMenu\n    object b: TTestEdit\n    end\n  end\n", 3,
         "a TPopupMenu holds no controls"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        TfrmDescTest* form = NewForm();
        try {
            ReadComponentDescription(
                *form, std::string("object frmTest: TfrmDescTest\n") + c.body + "end\n",
                "bad.kvform");
            ADD_FAILURE() << "no error";
        } catch (const EFormDescError& error) {
            EXPECT_EQ(error.Line(), c.line) << error.what();
            EXPECT_NE(error.Reason().find(c.reason), std::string::npos) << error.what();
        }
        EXPECT_EQ(form->ComponentCount(), 0);
        EXPECT_FALSE(form->ComponentState().Contains(csLoading));
        form->Free();
    }
}

TEST_F(FormReaderTest, TheSchemePanelLoadsOnThePlatformsControls) {
    auto* form = NewObject<TfrmSchemePanel>(&Application());
    ReadComponentDescription(*form, kSchemePanel, "scheme.kvform");
    ASSERT_NE(form->lstCondition, nullptr);
    TListView& list = *form->lstCondition;
    auto* images1 = form->FindComponentAs<TImageList>("ImageList1");
    EXPECT_EQ(list.SmallImages(), images1);
    EXPECT_EQ(list.LargeImages(), form->FindComponent("ImageList2"));
    EXPECT_EQ(list.PopupMenu(), form->muOperation);
    EXPECT_TRUE(list.IconOptions()->AutoArrange());
    EXPECT_EQ(list.Parent()->Name(), "pnlCondition");
    EXPECT_EQ(form->FindComponentAs<TToolButton>("ToolButton1")->DropdownMenu(),
              form->FindComponent("mnList"));
    auto* large = form->FindComponentAs<TMenuItem>("N7");
    ASSERT_NE(large, nullptr);
    EXPECT_TRUE(large->Checked());
    EXPECT_EQ(form->muOperation->Items()->Count(), 1);

    form->Show();
    list.Items()->Add()->SetCaption("Week");
    list.Items()->Add()->SetCaption("Month");
    Automation().Select("frmScheme.pnlCondition.lstCondition", "Week");
    const TRect week = list.ItemRect(list.ItemIndex());  // the second icon: sorted by caption
    TInput::DblClick(list, week.Left + 5, week.Top + 5);
    form->FindComponentAs<TMenuItem>("N2")->Click();
    Automation().PressKey(VK_F2);
    Automation().TypeText("Day");
    Automation().PressKey(VK_RETURN);
    EXPECT_EQ(Log(), (std::vector<std::string>{"open from lstCondition", "open from N2",
                                               "rename Week to Day"}));
    EXPECT_EQ(list.Items()->Item(0)->Caption(), "Day");  // sorted by caption
    form->Free();
}

TEST_F(FormReaderTest, MenuItemsNestInTheirMenuOrItemAlsoInInheritedMenus) {
    TRegistered base("TfrmSchemePanel", "scheme.kvform", kSchemePanel);
    TRegistered child("TfrmSchemeChild", "child.kvform", kSchemeChild);
    auto* form = NewObject<TfrmSchemeChild>(&Application());
    auto* open = form->FindComponentAs<TMenuItem>("N2");
    auto* recent = form->FindComponentAs<TMenuItem>("N21");
    auto* week = form->FindComponentAs<TMenuItem>("N211");
    auto* list = form->FindComponentAs<TMenuItem>("N9");
    ASSERT_TRUE(open && recent && week && list);
    EXPECT_EQ(open->Parent(), form->muOperation->Items());
    EXPECT_EQ(recent->Parent(), open);
    EXPECT_EQ(week->Parent(), recent);
    EXPECT_EQ(week->GetParentMenu(), form->muOperation);
    EXPECT_EQ(recent->GetParentComponent(), open);
    EXPECT_EQ(list->GetParentComponent(), form->FindComponent("mnList"));
    EXPECT_EQ(list->MenuIndex(), 2) << "after the ancestor's items";
    EXPECT_EQ(week->GetImageList(), form->FindComponent("ImageList1"));

    form->Show();
    Automation().ClickMenuItem("frmSchemeChild.muOperation.Open.Recent.Week");
    EXPECT_EQ(Log(), (std::vector<std::string>{"open from N2", "open from N211"}))
        << "the items above open first";
    Automation().ClickMenuItem("frmSchemeChild.mnList.N9");
    EXPECT_TRUE(list->Checked());
    EXPECT_FALSE(form->FindComponentAs<TMenuItem>("N7")->Checked()) << "one radio item checked";
    form->Free();
}

TEST_F(FormReaderTest, DescriptionOfAnotherClassIsRefused) {
    TfrmDescTest* form = NewForm();
    EXPECT_THROW(ReadComponentDescription(*form, "object x: TfrmDescBase\nend\n", "o.kvform"),
                 EFormDescError);
    EXPECT_NO_THROW(ReadComponentDescription(*form, "object frmTest: TForm\nend\n", "o.kvform"));
    form->Free();
}

}  // namespace
}  // namespace kv::test
