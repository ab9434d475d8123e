#include <gtest/gtest.h>

#include <array>
#include <string>

#include "platform/core/Classes.h"
#include "platform/core/TypInfo.h"

namespace kv {
namespace {

KV_ENUM(TGadgetStyle, gsFlat, gsRaised, gsLowered);
KV_ENUM(TGadgetFontStyle, gfBold, gfItalic, gfUnderline);
KV_SET(TGadgetFontStyles, TGadgetFontStyle);
KV_EVENT(TAskEvent, int(TObject* Sender));

const TTypeInfo* GadgetColorType() {
    return NamedIntegerTypeInfo("TGadgetColor");
}

constexpr std::array<TIdentMapEntry, 2> kGadgetColors{{{0x0000FF, "gcRed"}, {0xFF0000, "gcBlue"}}};
bool GadgetColorToInt(std::string_view ident, int& value) {
    return IdentToInt(ident, value, kGadgetColors);
}
bool IntToGadgetColor(int value, std::string& ident) {
    return IntToIdent(value, ident, kGadgetColors);
}

// A component with one published property of every kind.
class TGadget : public TComponent {
    KV_CLASS(TGadget, TComponent)
public:
    explicit TGadget(TComponent* owner) : TComponent(owner), lines_(new TStringList()) {}
    ~TGadget() override { delete lines_; }

    std::string GetCaption() const { return caption_; }
    void SetCaption(const std::string& caption) { caption_ = caption; }
    TStrings* GetLines() const { return lines_; }
    void SetLines(TStrings* lines) { lines_->Assign(lines); }
    int GetCount() const { return 42; }
    virtual void HandleClick(TObject* sender) {
        ++clicks;
        lastSender = sender;
    }
    int Answer(TObject*) { return 7; }

    int width = 0;
    bool visible = true;
    char accel = 'A';
    double ratio = 0;
    Byte level = 0;
    int color = 0;
    std::int64_t big = 0;
    TGadgetStyle style = gsFlat;
    TGadgetFontStyles fontStyle;
    TGadget* buddy = nullptr;
    TNotifyEvent OnClick;
    TKeyPressEvent OnKeyPress;
    TAskEvent OnAsk;
    int clicks = 0;
    TObject* lastSender = nullptr;

private:
    std::string caption_;
    TStringList* lines_;
};

KV_PUBLISHED(TGadget) {
    b.Property("Caption", &T::GetCaption, &T::SetCaption);
    b.Property("Width", &T::width).Default(0);
    b.Property("Visible", &T::visible);
    b.Property("Accel", &T::accel);
    b.Property("Ratio", &T::ratio);
    b.Property("Level", &T::level);
    b.Property("Color", &T::color).Type(GadgetColorType());
    b.Property("Big", &T::big);
    b.Property("Style", &T::style);
    b.Property("FontStyle", &T::fontStyle);
    b.Property("Lines", &T::GetLines, &T::SetLines);
    b.Property("Buddy", &T::buddy);
    b.Property("Count", &T::GetCount);
    b.Event("OnClick", &T::OnClick);
    b.Event("OnKeyPress", &T::OnKeyPress);
    b.Event("OnAsk", &T::OnAsk);
    b.Method("HandleClick", &T::HandleClick);
    b.Method("Answer", &T::Answer);
}

// Re-publishes Caption and adds its own members.
class TFancyGadget : public TGadget {
    KV_CLASS(TFancyGadget, TGadget)
public:
    using TGadget::TGadget;
    void HandleClick(TObject* sender) override {
        TGadget::HandleClick(sender);
        ++fancyClicks;
    }
    void FancyKey(TObject*, char& key) { key = 'X'; }

    std::string hint;
    int fancyClicks = 0;
};

KV_PUBLISHED(TFancyGadget) {
    b.Property("Hint", &T::hint);
    b.Property("Caption", &T::GetCaption, &T::SetCaption).Stored(false);
    b.Method("FancyKey", &T::FancyKey);
}

class TypInfoTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterIntegerConsts(GadgetColorType(), GadgetColorToInt, IntToGadgetColor);
    }
    TGadget gadget{nullptr};
    TFancyGadget fancy{nullptr};
};

std::vector<std::string> Names(const std::vector<const TPropInfo*>& props) {
    std::vector<std::string> names;
    for (const TPropInfo* prop : props)
        names.push_back(prop->Name());
    return names;
}

TEST_F(TypInfoTest, PropListKeepsDeclarationOrderParentFirstAndRepublishesInPlace) {
    const std::vector<std::string> base = {"Name",    "Tag",        "Caption", "Width", "Visible",
                                           "Accel",   "Ratio",      "Level",   "Color", "Big",
                                           "Style",   "FontStyle",  "Lines",   "Buddy", "Count",
                                           "OnClick", "OnKeyPress", "OnAsk"};
    EXPECT_EQ(Names(GetPropList(&gadget)), base);

    std::vector<std::string> derived = base;
    derived.push_back("Hint");
    EXPECT_EQ(Names(GetPropList(&fancy)), derived);
    EXPECT_EQ(GetPropInfo(&fancy, "Caption")->DeclaringClass(), TFancyGadget::StaticClass());
    EXPECT_FALSE(GetPropInfo(&fancy, "Caption")->IsStored(fancy));
    EXPECT_TRUE(GetPropInfo(&gadget, "Caption")->IsStored(gadget));
}

TEST_F(TypInfoTest, PropertiesByTextRoundTripForEveryKind) {
    struct Case {
        const char* prop;
        const char* text;
        const char* expected;
    } cases[] = {
        {"Caption", "Hello", "Hello"},
        {"Width", " 120 ", "120"},
        {"Visible", "false", "False"},
        {"Visible", "1", "True"},
        {"Accel", "Z", "Z"},
        {"Accel", "#66", "B"},
        {"Ratio", "2.5", "2.5"},
        {"Level", "200", "200"},
        {"Color", "gcBlue", "gcBlue"},
        {"Color", "77", "77"},
        {"Big", "9000000000", "9000000000"},
        {"Style", "GSRAISED", "gsRaised"},
        {"FontStyle", "[gfBold, gfUnderline]", "[gfBold,gfUnderline]"},
        {"FontStyle", "[]", "[]"},
        {"FontStyle", "2", "[gfItalic]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.prop) + " <- " + c.text);
        const TPropInfo* prop = GetPropInfo(&gadget, c.prop);
        ASSERT_NE(prop, nullptr);
        SetPropText(&gadget, prop, c.text);
        EXPECT_EQ(GetPropText(&gadget, prop), c.expected);
    }
}

TEST_F(TypInfoTest, TypedAccessorsReadAndWriteTheFields) {
    SetOrdProp(&gadget, "width", 33);
    SetEnumProp(&gadget, "Style", "gsLowered");
    SetSetProp(&gadget, "FontStyle", "gfItalic,gfBold");
    SetStrProp(&gadget, "CAPTION", "OK");
    SetFloatProp(&gadget, "Ratio", 0.25);
    SetOrdProp(&gadget, "Visible", 0);
    SetInt64Prop(&gadget, "Big", -5);

    EXPECT_EQ(gadget.width, 33);
    EXPECT_EQ(gadget.style, gsLowered);
    EXPECT_EQ(gadget.fontStyle, (TGadgetFontStyles{gfBold, gfItalic}));
    EXPECT_EQ(gadget.GetCaption(), "OK");
    EXPECT_EQ(gadget.ratio, 0.25);
    EXPECT_FALSE(gadget.visible);
    EXPECT_EQ(gadget.big, -5);

    EXPECT_EQ(GetOrdProp(&gadget, "Style"), 2);
    EXPECT_EQ(GetEnumProp(&gadget, "Style"), "gsLowered");
    EXPECT_EQ(GetOrdProp(&gadget, "FontStyle"), 3);  // the set's bit mask
    EXPECT_EQ(GetSetProp(&gadget, "FontStyle"), "[gfBold,gfItalic]");
    EXPECT_EQ(GetSetProp(&gadget, "FontStyle", false), "gfBold,gfItalic");
    EXPECT_EQ(GetEnumProp(&gadget, "Visible"), "False");
    EXPECT_EQ(GetOrdProp(&gadget, "Count"), 42);
}

TEST_F(TypInfoTest, UnknownNamesAreAbsentOrRaise) {
    EXPECT_EQ(GetPropInfo(&gadget, "Nope"), nullptr);
    EXPECT_EQ(GetPropInfo(&gadget, ""), nullptr);
    EXPECT_EQ(GetPropInfo(static_cast<const TObject*>(nullptr), "Caption"), nullptr);
    EXPECT_FALSE(IsPublishedProp(&gadget, "Hint"));
    EXPECT_TRUE(IsPublishedProp(&fancy, "hint"));
    try {
        GetOrdProp(&gadget, "Nope");
        FAIL() << "no error";
    } catch (const EPropertyError& e) {
        EXPECT_EQ(e.Message(), "Property Nope does not exist");
    }
    EXPECT_THROW(GetStrProp(nullptr, "Caption"), EPropertyError);
    EXPECT_THROW(PropType(&gadget, "Nope"), EPropertyError);
}

TEST_F(TypInfoTest, WrongKindsRaisePropertyErrors) {
    using Access = void (*)(TGadget&);
    const Access cases[] = {
        [](TGadget& g) { GetStrProp(&g, "Width"); },
        [](TGadget& g) { GetOrdProp(&g, "Caption"); },
        [](TGadget& g) { SetEnumProp(&g, "Width", "gsFlat"); },
        [](TGadget& g) { GetSetProp(&g, "Style"); },
        [](TGadget& g) { SetFloatProp(&g, "Style", 1.0); },
        [](TGadget& g) { GetObjectProp(&g, "Caption"); },
        [](TGadget& g) { GetMethodProp(&g, "Width"); },
        [](TGadget& g) { SetPropText(&g, GetPropInfo(&g, "Buddy"), "x"); },
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_THROW(cases[i](gadget), EPropertyError);
    }
}

TEST_F(TypInfoTest, BadValuesAreRefusedAndLeaveTheProperty) {
    gadget.level = 9;
    gadget.style = gsRaised;
    gadget.fontStyle = {gfBold};
    EXPECT_THROW(SetOrdProp(&gadget, "Level", 300), EPropertyError);
    EXPECT_THROW(SetOrdProp(&gadget, "Style", 3), EPropertyError);
    EXPECT_THROW(SetOrdProp(&gadget, "FontStyle", 8), EPropertyError);
    EXPECT_THROW(SetEnumProp(&gadget, "Style", "gsNope"), EPropertyConvertError);
    EXPECT_THROW(SetSetProp(&gadget, "FontStyle", "[gfItalic,gfNope]"), EPropertyConvertError);
    EXPECT_THROW(SetPropText(&gadget, GetPropInfo(&gadget, "Width"), "12x"), EPropertyConvertError);
    EXPECT_THROW(SetPropText(&gadget, GetPropInfo(&gadget, "Ratio"), "abc"), EPropertyConvertError);
    EXPECT_EQ(gadget.level, 9);
    EXPECT_EQ(gadget.style, gsRaised);
    EXPECT_EQ(gadget.fontStyle, TGadgetFontStyles{gfBold});
    try {
        SetOrdProp(&gadget, "Count", 1);
        FAIL() << "no error";
    } catch (const EPropertyError& e) {
        EXPECT_EQ(e.Message(), "Property Count is read-only");
    }
    // A property of another class is not applied to this object.
    TStringList list;
    EXPECT_THROW(GetOrdProp(&list, GetPropInfo(&gadget, "Width")), EPropertyError);
}

TEST_F(TypInfoTest, ObjectPropertiesCheckTheClass) {
    EXPECT_EQ(GetObjectPropClass(&gadget, "Lines"), TStrings::StaticClass());
    EXPECT_EQ(GetPropInfo(&gadget, "Lines")->PropType()->Name(), "TStrings");
    EXPECT_EQ(GetObjectProp(&gadget, "Lines"), gadget.GetLines());

    TStringList source;
    source.SetCommaText("a,b");
    SetObjectProp(&gadget, "Lines", &source);  // the setter copies
    EXPECT_EQ(gadget.GetLines()->CommaText(), "a,b");

    SetObjectProp(&gadget, "Buddy", &fancy);
    EXPECT_EQ(gadget.buddy, &fancy);
    EXPECT_THROW(SetObjectProp(&gadget, "Buddy", &source), EPropertyError);
    EXPECT_EQ(gadget.buddy, &fancy);
    SetObjectProp(&gadget, "Buddy", nullptr);
    EXPECT_EQ(gadget.buddy, nullptr);
}

TEST_F(TypInfoTest, TypeNamesAndKinds) {
    struct Case {
        const char* prop;
        const char* typeName;
        TTypeKind kind;
    } cases[] = {
        {"Caption", "String", tkLString},
        {"Width", "Integer", tkInteger},
        {"Visible", "Boolean", tkEnumeration},
        {"Accel", "Char", tkChar},
        {"Ratio", "Double", tkFloat},
        {"Level", "Byte", tkInteger},
        {"Color", "TGadgetColor", tkInteger},
        {"Big", "Int64", tkInt64},
        {"Style", "TGadgetStyle", tkEnumeration},
        {"FontStyle", "TGadgetFontStyles", tkSet},
        {"Lines", "TStrings", tkClass},
        {"Buddy", "TGadget", tkClass},
        {"OnClick", "TNotifyEvent", tkMethod},
        {"OnKeyPress", "TKeyPressEvent", tkMethod},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prop);
        EXPECT_EQ(GetPropInfo(&gadget, c.prop)->PropType()->Name(), c.typeName);
        EXPECT_EQ(PropType(&gadget, c.prop), c.kind);
        EXPECT_TRUE(PropIsType(&gadget, c.prop, c.kind));
    }
}

TEST_F(TypInfoTest, EnumerationIdentifiers) {
    const TTypeInfo* style = TypeInfo<TGadgetStyle>();
    EXPECT_EQ(GetEnumName(style, 1), "gsRaised");
    EXPECT_EQ(GetEnumName(style, 3), "");
    EXPECT_EQ(GetEnumName(style, -1), "");
    EXPECT_EQ(GetEnumValue(style, "GSLOWERED"), 2);
    EXPECT_EQ(GetEnumValue(style, "gsNope"), -1);
    EXPECT_EQ(GetEnumValue(BooleanTypeInfo(), "True"), 1);
    EXPECT_EQ(GetEnumName(TypeInfo<TTypeKind>(), tkMethod), "tkMethod");
    EXPECT_EQ(GetEnumName(IntegerTypeInfo(), 12), "12");
    EXPECT_EQ(SetToString(TypeInfo<TGadgetFontStyles>(), 5), "[gfBold,gfUnderline]");
    EXPECT_EQ(StringToSet(TypeInfo<TGadgetFontStyles>(), " gfUnderline "), 4);
    EXPECT_THROW(TTypeInfo::Enumeration("TBad", "a = 1, b"), EPropertyError);
}

// ---------------------------------------------------------------------------------------------
// Events and published methods

TEST_F(TypInfoTest, EventsBindCompareAndCall) {
    TNotifyEvent event = MakeEvent<TNotifyEvent>(&gadget, &TGadget::HandleClick);
    EXPECT_TRUE(event.Assigned());
    event(&fancy);
    EXPECT_EQ(gadget.clicks, 1);
    EXPECT_EQ(gadget.lastSender, &fancy);

    EXPECT_EQ(event, TNotifyEvent(&gadget, &TGadget::HandleClick));
    EXPECT_FALSE(event == TNotifyEvent(&fancy, &TGadget::HandleClick));
    // One Code per method, whatever the object; the published table gives the same.
    EXPECT_EQ(event.Method().Code, TNotifyEvent(&fancy, &TGadget::HandleClick).Method().Code);
    EXPECT_EQ(event.Method().Code, gadget.MethodAddress("handleclick"));
    EXPECT_EQ(gadget.MethodName(event.Method().Code), "HandleClick");

    TNotifyEvent none;
    EXPECT_FALSE(none.Assigned());
    none(&gadget);  // nothing happens
    TAskEvent ask;
    EXPECT_EQ(ask(&gadget), 0);
    ask = TAskEvent(&gadget, &TGadget::Answer);
    EXPECT_EQ(ask(&gadget), 7);
}

TEST_F(TypInfoTest, VirtualHandlersDispatchToTheObjectsClass) {
    TNotifyEvent event(&fancy, &TGadget::HandleClick);
    event(nullptr);
    EXPECT_EQ(fancy.clicks, 1);
    EXPECT_EQ(fancy.fancyClicks, 1);
    // Found by name on the parent's table.
    EXPECT_EQ(fancy.MethodAddress("HandleClick"), event.Method().Code);
    EXPECT_EQ(fancy.MethodAddress("FancyKey"), MethodCodeOf(&TFancyGadget::FancyKey));
    EXPECT_EQ(gadget.MethodAddress("FancyKey"), nullptr);
    EXPECT_EQ(gadget.MethodName(nullptr), "");
}

// The framework keeps a control's previous handler as two lines of a string list (the Code and
// the Data as attached pointers), installs its own, and puts the saved one back later.
TEST_F(TypInfoTest, HandlerSavedInStringListIsRestoredAndCalled) {
    TGadget edit(nullptr);
    edit.SetName("edDate");
    edit.OnClick = TNotifyEvent(&gadget, &TGadget::HandleClick);

    TStringList hooks;
    const TMethod saved = GetMethodProp(&edit, "OnClick");
    hooks.AddPointer("edDate.OnClick.Code", saved.Code);
    hooks.AddPointer("edDate.OnClick.Data", saved.Data);
    hooks.AddPointer("edDate.OnClick.Code", nullptr);  // a later duplicate: the first counts
    SetMethodProp(&edit, "OnClick", MethodOf(&fancy, "HandleClick"));
    edit.OnClick(&edit);
    EXPECT_EQ(fancy.clicks, 1);

    const TMethod restored{hooks.Pointers(hooks.IndexOf("edDate.OnClick.Code")),
                           hooks.Pointers(hooks.IndexOf("edDate.OnClick.Data"))};
    SetMethodProp(&edit, "OnClick", restored);
    EXPECT_EQ(edit.OnClick.Method(), saved);
    edit.OnClick(&edit);
    EXPECT_EQ(gadget.clicks, 1);
    EXPECT_EQ(gadget.lastSender, &edit);

    SetMethodProp(&edit, "OnClick", TMethod{});
    EXPECT_FALSE(edit.OnClick.Assigned());
}

TEST_F(TypInfoTest, BindingByNameChecksTheSignatureAndTheObject) {
    gadget.OnClick = TNotifyEvent(&gadget, &TGadget::HandleClick);
    const TMethod before = gadget.OnClick.Method();
    try {
        SetMethodProp(&gadget, "OnClick", MethodOf(&fancy, "FancyKey"));
        FAIL() << "no error";
    } catch (const EPropertyError& e) {
        EXPECT_EQ(e.Message(), "Method FancyKey does not fit event OnClick of type TNotifyEvent");
    }
    SetMethodProp(&gadget, "OnKeyPress", MethodOf(&fancy, "FancyKey"));
    char key = 'a';
    gadget.OnKeyPress(&gadget, key);
    EXPECT_EQ(key, 'X');

    TStringList notAGadget;
    int notCode = 0;
    const TMethod wrongObject{gadget.MethodAddress("HandleClick"), &notAGadget};
    const TMethod noObject{gadget.MethodAddress("HandleClick"), nullptr};
    const TMethod garbage{&notCode, &gadget};
    EXPECT_THROW(SetMethodProp(&gadget, "OnClick", wrongObject), EPropertyError);
    EXPECT_THROW(SetMethodProp(&gadget, "OnClick", noObject), EPropertyError);
    EXPECT_THROW(SetMethodProp(&gadget, "OnClick", garbage), EPropertyError);
    EXPECT_EQ(gadget.OnClick.Method(), before);

    // Put in directly, such handlers are refused when called instead of calling the unknown.
    auto call = [](const TMethod& method) { TNotifyEvent{method}(nullptr); };
    EXPECT_THROW(call(garbage), EInvalidPointer);
    EXPECT_THROW(call(wrongObject), EInvalidPointer);
    EXPECT_THROW(call(MethodOf(&fancy, "FancyKey")), EInvalidPointer);
}

}  // namespace
}  // namespace kv
