#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/Classes.h"
#include "platform/core/SysUtils.h"

namespace kv {
namespace {

std::vector<std::string>& DestroyLog() {
    static std::vector<std::string> log;
    return log;
}

// Records its destruction, the state it saw then, and the notifications it hears.
class TProbe : public TComponent {
    KV_CLASS(TProbe, TComponent)
public:
    explicit TProbe(TComponent* owner) : TComponent(owner) {}
    ~TProbe() override {
        DestroyLog().push_back(
            Name() + (ComponentState().Contains(csDestroying) ? "" : " (not destroying)"));
    }
    void Loaded() override {
        inherited::Loaded();
        ++loadedCalls;
    }

    std::vector<std::string> heard;
    TComponent* watched = nullptr;
    int loadedCalls = 0;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        inherited::Notification(component, operation);
        heard.push_back((operation == opInsert ? "+" : "-") + component->Name());
        if (operation == opRemove && component == watched) watched = nullptr;
    }
};

KV_PUBLISHED(TProbe) {}

class TOtherProbe : public TProbe {
    KV_CLASS(TOtherProbe, TProbe)
public:
    using TProbe::TProbe;
};

KV_PUBLISHED(TOtherProbe) {}

// A form-like owner with published fields that its components fill by name.
class TPanelForm : public TProbe {
    KV_CLASS(TPanelForm, TProbe)
public:
    using TProbe::TProbe;
    TOtherProbe* btnOk = nullptr;
    TProbe* edDate = nullptr;
};

KV_PUBLISHED(TPanelForm) {
    b.Field("btnOk", &T::btnOk);
    b.Field("edDate", &T::edDate);
}

TProbe* MakeProbe(TComponent* owner, const std::string& name) {
    auto* probe = NewObject<TProbe>(owner);
    probe->SetName(name);
    return probe;
}

class ClassesTest : public ::testing::Test {
protected:
    void SetUp() override { DestroyLog().clear(); }
};

TEST_F(ClassesTest, ClassChainIsKnownAtRunTime) {
    TOtherProbe probe(nullptr);
    EXPECT_EQ(probe.ClassName(), "TOtherProbe");
    EXPECT_EQ(probe.ClassParent(), TProbe::StaticClass());
    EXPECT_EQ(probe.ClassType(), TOtherProbe::StaticClass());
    EXPECT_TRUE(probe.InheritsFrom(TComponent::StaticClass()));
    EXPECT_TRUE(probe.InheritsFrom("tpersistent"));
    EXPECT_TRUE(probe.InheritsFrom("TObject"));
    EXPECT_FALSE(probe.InheritsFrom(TStrings::StaticClass()));
    EXPECT_FALSE(probe.InheritsFrom("TPanelForm"));
    EXPECT_TRUE(probe.ClassNameIs("totherprobe"));
    EXPECT_EQ(TObject::StaticClass()->Parent(), nullptr);
}

TEST_F(ClassesTest, OwnerKeepsComponentsInOrderAndFindsThemByName) {
    TProbe owner(nullptr);
    TProbe* a = MakeProbe(&owner, "edBegin");
    TProbe* b = MakeProbe(&owner, "edFinal");
    TProbe* c = MakeProbe(&owner, "lstValues");
    ASSERT_EQ(owner.ComponentCount(), 3);
    EXPECT_EQ(owner.Components(0), a);
    EXPECT_EQ(owner.Components(2), c);
    EXPECT_EQ(b->Owner(), &owner);
    EXPECT_EQ(c->ComponentIndex(), 2);
    EXPECT_EQ(owner.FindComponent("EDFINAL"), b);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
    EXPECT_EQ(owner.FindComponent("nope"), nullptr);
    EXPECT_EQ(owner.FindComponentAs<TProbe>("edbegin"), a);
    EXPECT_EQ(owner.FindComponentAs<TOtherProbe>("edbegin"), nullptr);

    c->SetComponentIndex(0);
    EXPECT_EQ(owner.Components(0), c);
    EXPECT_EQ(owner.Components(1), a);
    c->SetComponentIndex(99);
    EXPECT_EQ(owner.Components(2), c);
    try {
        owner.Components(3);
        FAIL() << "no error";
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (3)");
    }
}

TEST_F(ClassesTest, NamesAreValidatedAmongTheOwnersComponents) {
    TProbe owner(nullptr);
    TProbe* a = MakeProbe(&owner, "btnOk");
    TProbe* b = MakeProbe(&owner, "btnCancel");
    try {
        b->SetName("BTNOK");
        FAIL() << "no error";
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "A component named BTNOK already exists");
    }
    EXPECT_EQ(b->Name(), "btnCancel");
    a->SetName("BtnOK");  // another letter case of its own name
    EXPECT_EQ(a->Name(), "BtnOK");
    for (const char* bad : {"1abc", "a b", "a.b", "名字"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(b->SetName(bad), EComponentError);
        EXPECT_EQ(b->Name(), "btnCancel");
    }
    b->SetName("");
    a->SetName("");  // several unnamed components are fine
    TProbe other(nullptr);
    MakeProbe(&other, "btnOk");  // names are per owner
    EXPECT_THROW(other.InsertComponent(MakeProbe(&owner, "btnOk")), EComponentError);
}

TEST_F(ClassesTest, DestroyingTheOwnerFreesOwnedComponentsLastFirst) {
    auto* owner = NewObject<TProbe>(nullptr);
    owner->SetName("owner");
    TProbe* first = MakeProbe(owner, "first");
    MakeProbe(first, "inner");
    MakeProbe(owner, "second");
    MakeProbe(owner, "third");
    FreeAndNil(owner);
    EXPECT_EQ(owner, nullptr);
    // Each destructor body runs before the base frees what the component owns.
    EXPECT_EQ(DestroyLog(),
              (std::vector<std::string>{"owner", "third", "second", "first", "inner"}));
}

TEST_F(ClassesTest, FreeingAComponentLeavesItsOwnerAndTellsTheOthers) {
    TProbe owner(nullptr);
    owner.SetName("owner");
    TProbe* a = MakeProbe(&owner, "a");
    TProbe* b = MakeProbe(&owner, "b");
    TProbe* c = MakeProbe(&owner, "c");
    a->watched = b;
    b->Free();
    EXPECT_EQ(owner.ComponentCount(), 2);
    EXPECT_EQ(owner.FindComponent("b"), nullptr);
    EXPECT_EQ(a->watched, nullptr);  // siblings hear it through the owner
    EXPECT_EQ(c->heard.back(), "-b");
    EXPECT_EQ(owner.heard.back(), "-b");
    EXPECT_EQ(DestroyLog(), std::vector<std::string>{"b"});
}

TEST_F(ClassesTest, FreeNotificationReachesComponentsOfOtherOwners) {
    auto* watcher = NewObject<TProbe>(nullptr);
    auto* owner = NewObject<TProbe>(nullptr);
    TProbe* target = MakeProbe(owner, "target");
    watcher->watched = target;
    target->FreeNotification(watcher);
    EXPECT_TRUE(target->ComponentState().Contains(csFreeNotification));

    FreeAndNil(owner);  // target goes with its owner
    EXPECT_EQ(watcher->watched, nullptr);
    EXPECT_EQ(watcher->heard, std::vector<std::string>{"-target"});

    // After RemoveFreeNotification nothing is heard.
    auto* other = NewObject<TProbe>(nullptr);
    other->SetName("other");
    other->FreeNotification(watcher);
    other->RemoveFreeNotification(watcher);
    other->Free();
    EXPECT_EQ(watcher->heard.size(), 1u);
    // A freed watcher is forgotten by what it watched.
    auto* watched = NewObject<TProbe>(nullptr);
    watched->FreeNotification(watcher);
    watcher->Free();
    watched->Free();
}

TEST_F(ClassesTest, InsertComponentMovesOwnershipAndRefusesCycles) {
    TProbe first(nullptr);
    TProbe second(nullptr);
    TProbe* child = MakeProbe(&first, "child");
    TProbe* grandchild = MakeProbe(child, "grandchild");
    second.InsertComponent(child);
    EXPECT_EQ(child->Owner(), &second);
    EXPECT_EQ(first.ComponentCount(), 0);
    EXPECT_EQ(second.heard.back(), "+child");
    EXPECT_THROW(grandchild->InsertComponent(child), EComponentError);
    EXPECT_THROW(child->InsertComponent(child), EComponentError);
    EXPECT_THROW(child->InsertComponent(nullptr), EComponentError);
    EXPECT_EQ(grandchild->Owner(), child);
    second.RemoveComponent(child);
    EXPECT_EQ(child->Owner(), nullptr);
    child->Free();
}

TEST_F(ClassesTest, PublishedFieldsFollowTheComponentsOfTheirName) {
    TPanelForm form(nullptr);
    auto* ok = NewObject<TOtherProbe>(&form);
    EXPECT_EQ(form.btnOk, nullptr);
    ok->SetName("BTNOK");
    EXPECT_EQ(form.btnOk, ok);
    ok->SetName("btnOk2");
    EXPECT_EQ(form.btnOk, nullptr);
    ok->SetName("btnOk");
    EXPECT_EQ(form.btnOk, ok);
    ok->Free();
    EXPECT_EQ(form.btnOk, nullptr);

    // A component of another class cannot take the field's name.
    TProbe* plain = MakeProbe(&form, "plain");
    EXPECT_THROW(plain->SetName("btnOk"), EComponentError);
    EXPECT_EQ(plain->Name(), "plain");
    EXPECT_EQ(form.btnOk, nullptr);

    TProbe* date = MakeProbe(&form, "edDate");
    EXPECT_EQ(form.edDate, date);
    form.DestroyComponents();
    EXPECT_EQ(form.edDate, nullptr);
    EXPECT_EQ(TPanelForm::StaticClass()->FindField("btnok")->FieldClass(),
              TOtherProbe::StaticClass());
}

TEST_F(ClassesTest, LoadingAndDestroyingStates) {
    TProbe probe(nullptr);
    probe.IncludeState(csLoading);
    probe.IncludeState(csReading);
    probe.Loaded();
    EXPECT_EQ(probe.loadedCalls, 1);
    EXPECT_EQ(probe.ComponentState(), TComponentState{csReading});
    probe.SetDesigning(true);
    TProbe* child = MakeProbe(&probe, "child");
    EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
    probe.SetTag(12);
    EXPECT_EQ(GetOrdProp(&probe, "Tag"), 12);
    SetStrProp(&probe, "Name", "renamed");
    EXPECT_EQ(probe.Name(), "renamed");
    EXPECT_FALSE(GetPropInfo(&probe, "Name")->IsStored(probe));
    // Components freed through their owner see csDestroying in their destructors.
    auto* owner = NewObject<TProbe>(nullptr);
    MakeProbe(owner, "x");
    owner->Free();
    EXPECT_EQ(DestroyLog(), (std::vector<std::string>{"", "x"}));
}

TEST_F(ClassesTest, AssignBetweenUnrelatedClassesRaises) {
    TStringList list;
    TProbe probe(nullptr);
    try {
        list.Assign(&probe);
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TProbe to a TStringList");
    }
    try {
        list.Assign(nullptr);
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a nil to a TStringList");
    }
}

namespace first {
class TTwin : public TComponent {
    KV_CLASS(TTwin, TComponent)
public:
    using TComponent::TComponent;
};
KV_PUBLISHED(TTwin) {}
}  // namespace first
namespace second {
class TTwin : public TComponent {
    KV_CLASS(TTwin, TComponent)
public:
    using TComponent::TComponent;
};
KV_PUBLISHED(TTwin) {}
}  // namespace second

TEST_F(ClassesTest, RegisteredClassesAreFoundAndCreatedByName) {
    RegisterClasses({TOtherProbe::StaticClass(), TStringList::StaticClass()});
    EXPECT_EQ(FindClass("totherprobe"), TOtherProbe::StaticClass());
    EXPECT_EQ(GetClass("TProbe"), TProbe::StaticClass());  // ancestors come along
    EXPECT_EQ(GetClass("TComponent"), TComponent::StaticClass());
    EXPECT_EQ(GetClass("TNope"), nullptr);
    try {
        FindClass("TNope");
        FAIL() << "no error";
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.Message(), "Class TNope not found");
    }

    TProbe owner(nullptr);
    TComponent* made = FindClass("TOtherProbe")->CreateComponent(&owner);
    EXPECT_EQ(made->ClassType(), TOtherProbe::StaticClass());
    EXPECT_EQ(made->Owner(), &owner);
    TObject* list = FindClass("TStringList")->CreateObject();
    EXPECT_EQ(list->ClassName(), "TStringList");
    list->Free();
    EXPECT_THROW(TStringList::StaticClass()->CreateComponent(&owner), EInvalidOperation);
    EXPECT_THROW(TStrings::StaticClass()->CreateObject(), EInvalidOperation);  // abstract

    RegisterClass(first::TTwin::StaticClass());
    RegisterClass(first::TTwin::StaticClass());  // again: nothing happens
    EXPECT_THROW(RegisterClass(second::TTwin::StaticClass()), EFilerError);
    UnRegisterClass(first::TTwin::StaticClass());
    RegisterClass(second::TTwin::StaticClass());
    EXPECT_EQ(GetClass("TTwin"), second::TTwin::StaticClass());
    UnRegisterClass(second::TTwin::StaticClass());
}

// ---------------------------------------------------------------------------------------------
// Collections

class TPanelItem : public TCollectionItem {
    KV_CLASS(TPanelItem, TCollectionItem)
public:
    using TCollectionItem::TCollectionItem;
    void Assign(const TPersistent* source) override {
        if (const auto* other = dynamic_cast<const TPanelItem*>(source)) {
            text = other->text;
            Changed(false);
            return;
        }
        inherited::Assign(source);
    }
    std::string text;
};

KV_PUBLISHED(TPanelItem) {
    b.Property("Text", &T::text);
}
KV_REGISTER_CLASS(TPanelItem);  // registered while the program is loaded

class TPanels : public TOwnedCollection {
    KV_CLASS(TPanels, TOwnedCollection)
public:
    explicit TPanels(TPersistent* owner) : TOwnedCollection(owner, TPanelItem::StaticClass()) {}
    std::vector<std::string> events;

protected:
    void Update(TCollectionItem* item) override {
        events.push_back(item == nullptr ? "all" : "item " + IntToStr(item->Index()));
    }
    void Added(TCollectionItem& item) override {
        events.push_back("added " + dynamic_cast<TPanelItem&>(item).ClassName());
    }
    void Deleting(TCollectionItem& item) override {
        events.push_back("deleting " + IntToStr(item.Index()));
    }
};

KV_PUBLISHED(TPanels) {}

class TStatusBarLike : public TComponent {
    KV_CLASS(TStatusBarLike, TComponent)
public:
    explicit TStatusBarLike(TComponent* owner) : TComponent(owner), panels(new TPanels(this)) {}
    ~TStatusBarLike() override { delete panels; }
    TPanels* GetPanels() const { return panels; }
    TPanels* panels;
};

KV_PUBLISHED(TStatusBarLike) {
    b.Property("Panels", &T::GetPanels);
}

TEST_F(ClassesTest, CollectionsCreateTheirItemClassAndReportChanges) {
    EXPECT_EQ(GetClass("TPanelItem"), TPanelItem::StaticClass());
    TStatusBarLike bar(nullptr);
    bar.SetName("StatusBar1");
    TPanels& panels = *bar.panels;
    auto* first = dynamic_cast<TPanelItem*>(panels.Add());
    ASSERT_NE(first, nullptr);
    first->text = "ready";
    panels.Add();
    EXPECT_EQ(panels.Count(), 2);
    EXPECT_EQ(panels.events,
              (std::vector<std::string>{"added TPanelItem", "all", "added TPanelItem", "all"}));
    EXPECT_EQ(panels.ItemAs<TPanelItem>(0)->text, "ready");
    EXPECT_NE(panels.Items(0)->ID(), panels.Items(1)->ID());
    EXPECT_EQ(panels.FindItemID(panels.Items(1)->ID()), panels.Items(1));
    EXPECT_EQ(panels.Items(1)->GetNamePath(), "StatusBar1.Panels[1]");
    EXPECT_EQ(GetPropInfo(&bar, "Panels")->PropType()->Name(), "TPanels");
    EXPECT_THROW(panels.Items(2), EListError);

    panels.events.clear();
    panels.BeginUpdate();
    panels.Add();
    panels.Items(2)->SetIndex(0);
    panels.EndUpdate();
    EXPECT_EQ(panels.events, (std::vector<std::string>{"added TPanelItem", "all"}));
    EXPECT_EQ(panels.ItemAs<TPanelItem>(1)->text, "ready");

    panels.events.clear();
    panels.Delete(1);
    EXPECT_EQ(panels.events, (std::vector<std::string>{"deleting 1", "all"}));
    delete panels.Items(0);  // an item freed directly leaves its collection
    EXPECT_EQ(panels.Count(), 1);

    panels.ItemAs<TPanelItem>(0)->text = "last";
    TPanels copy(nullptr);
    copy.Assign(&panels);
    ASSERT_EQ(copy.Count(), 1);
    EXPECT_EQ(copy.ItemAs<TPanelItem>(0)->text, "last");
    EXPECT_THROW(copy.Assign(&bar), EConvertError);
    copy.Clear();
    EXPECT_EQ(copy.Count(), 0);
}

TEST_F(ClassesTest, PointerListBasics) {
    int a = 0;
    int b = 0;
    TList list;
    list.Add(&a);
    list.Add(nullptr);
    list.Insert(0, &b);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.First(), &b);
    EXPECT_EQ(list.IndexOf(&a), 1);
    list.Pack();
    EXPECT_EQ(list.Count(), 2);
    list.Exchange(0, 1);
    EXPECT_EQ(list[0], &a);
    EXPECT_EQ(list.Remove(&b), 1);
    EXPECT_EQ(list.Remove(&b), -1);
    EXPECT_EQ(list.Extract(&a), &a);
    EXPECT_THROW(list.Last(), EListError);
    EXPECT_THROW(list.Insert(1, &a), EListError);
}

}  // namespace
}  // namespace kv
