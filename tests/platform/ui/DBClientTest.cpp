// Client data sets, fields, data sources and data links: rows from a provider of an
// application server, persistent fields from a form description, display labels and text
// events, an index with an exact key search, editing and posting, and what data sources hear.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/core/Dispatch.h"
#include "platform/core/SysUtils.h"
#include "platform/net/ProviderRows.h"
#include "platform/ui/DBClient.h"
#include "platform/ui/FormReader.h"
#include "platform/ui/wwClient.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv::test {
namespace {

// The scheme table of the application server as its provider "pvdConSave" hands it out.
TProviderRows SchemeRows() {
    TProviderRows rows;
    rows.fields = {"NCONDITION", "CREATOR", "PROGRAMME", "CREATE_DATE"};
    rows.rows = {
        {Variant("Week"), Variant("796"), Variant("KPQX07"), Variant("20240105")},
        {Variant("Alpha"), Variant("796"), Variant("KPQX07"), Variant("20240101")},
        {Variant("alpha"), Variant("796"), Variant("KPQX07"), Variant("20240102")},
        {Variant("Month "), Variant("796"), Variant("KPQX07"), Variant("20240103")},
    };
    return rows;
}

// An application server answering AS_GetRecords for one provider, counting the calls.
struct TFakeServer {
    std::shared_ptr<TAutoObject> object = std::make_shared<TAutoObject>();
    TProviderRows rows = SchemeRows();
    int calls = 0;
    TFakeServer() {
        object->RegisterMethod(
            "AS_GetRecords",
            [this](std::vector<Variant>& args) {
                ++calls;
                if (VarToStr(args[0]) != "pvdConSave") throw EOleException("No provider");
                return MakeProviderPacket(rows);
            },
            1, 1);
    }
};

TFakeServer& Server() {
    static TFakeServer server;
    return server;
}

// A connection component whose server is the fake one.
class TTestRemoteServer : public TCustomRemoteServer {
    KV_CLASS(TTestRemoteServer, TCustomRemoteServer)
public:
    explicit TTestRemoteServer(TComponent* owner) : TCustomRemoteServer(owner) {}
    Variant AppServer() override { return Variant(Server().object); }
};
KV_PUBLISHED(TTestRemoteServer) {}

class TfrmSchemes : public TForm {
    KV_CLASS(TfrmSchemes, TForm)
public:
    explicit TfrmSchemes(TComponent* owner) : TForm(owner, true) {}
    void NameGetText(TField* sender, std::string& text, bool displayText) {
        text = (displayText ? "[" : "") + sender->AsString() + (displayText ? "]" : "");
    }
    void NameSetText(TField* sender, const std::string& text) { sender->SetAsString(Trim(text)); }
    void dsStateChange(TObject*) { log.push_back("state " + IntToStr(dsMain->State())); }
    void dsDataChange(TObject*, TField* field) {
        log.push_back("data " + (field != nullptr ? field->FieldName() : std::string("*")));
    }
    void dsUpdateData(TObject*) { log.push_back("update"); }

    TwwClientDataSet* ClientDataSet1 = nullptr;
    TDataSource* dsMain = nullptr;
    std::vector<std::string> log;
};
KV_PUBLISHED(TfrmSchemes) {
    b.Method("NameGetText", &T::NameGetText);
    b.Method("NameSetText", &T::NameSetText);
    b.Method("dsStateChange", &T::dsStateChange);
    b.Method("dsDataChange", &T::dsDataChange);
    b.Method("dsUpdateData", &T::dsUpdateData);
    b.Field("ClientDataSet1", &T::ClientDataSet1);
    b.Field("dsMain", &T::dsMain);
}

const char* const kSchemesForm =
    "object frmSchemes: TfrmSchemes\n"
    "  object ClientDataSet1: TwwClientDataSet\n"
    "    Active = True\n"  // opens in Loaded, once the fields and the server are there
    "    IndexDefs = <\n"
    "      item\n"
    "        Name = 'Index1'\n"
    "        Fields = 'NCONDITION;CREATOR;PROGRAMME'\n"
    "      end>\n"
    "    IndexName = 'Index1'\n"
    "    ProviderName = 'pvdConSave'\n"
    "    RemoteServer = MainMidas\n"
    "    object ClientDataSet1NCONDITION: TStringField\n"
    "      DisplayLabel = '\xE6\x96\xB9\xE6\xA1\x88\xE5\x90\x8D\xE7\xA7\xB0'\n"
    "      FieldName = 'NCONDITION'\n"
    "      OnGetText = NameGetText\n"
    "      OnSetText = NameSetText\n"
    "    end\n"
    "    object ClientDataSet1CREATOR: TStringField\n"
    "      FieldName = 'CREATOR'\n"
    "    end\n"
    "    object ClientDataSet1PROGRAMME: TStringField\n"
    "      FieldName = 'PROGRAMME'\n"
    "    end\n"
    "    object ClientDataSet1CREATE_DATE: TStringField\n"
    "      FieldName = 'CREATE_DATE'\n"
    "      Size = 8\n"
    "    end\n"
    "  end\n"
    "  object MainMidas: TTestRemoteServer\n"
    "  end\n"
    "  object dsMain: TwwDataSource\n"
    "    DataSet = ClientDataSet1\n"
    "    OnStateChange = dsStateChange\n"
    "    OnDataChange = dsDataChange\n"
    "    OnUpdateData = dsUpdateData\n"
    "  end\n"
    "end\n";

std::vector<std::string> Names(TDataSet& ds) {
    std::vector<std::string> names;
    ds.First();
    while (!ds.Eof()) {
        names.push_back(ds.FieldByName("NCONDITION")->AsString());
        ds.Next();
    }
    return names;
}

class DBClientTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        RegisterClasses({TTestRemoteServer::StaticClass()});
        Server().rows = SchemeRows();
        Server().calls = 0;
        form_ = FixtureForm(NewObject<TfrmSchemes>(&Application()));
        ReadComponentDescription(*form_, kSchemesForm, "schemes.kvform");
        cds_ = form_->ClientDataSet1;
        form_->log.clear();
    }
    TfrmSchemes* form_ = nullptr;
    TwwClientDataSet* cds_ = nullptr;
};

TEST_F(DBClientTest, ProviderRowsOpenInIndexOrderWithPersistentFields) {
    ASSERT_NE(cds_, nullptr);
    EXPECT_TRUE(cds_->Active());
    EXPECT_EQ(Server().calls, 1);
    EXPECT_EQ(cds_->RecordCount(), 4);
    EXPECT_EQ(cds_->FieldCount(), 4);
    EXPECT_EQ(cds_->Fields(0)->Owner(), form_);  // persistent: the form's
    // Index1 compares texts by their bytes.
    EXPECT_EQ(Names(*cds_), (std::vector<std::string>{"Alpha", "Month ", "Week", "alpha"}));
    TField* name = cds_->FieldByName("ncondition");
    EXPECT_EQ(name->DisplayLabel(), "\xE6\x96\xB9\xE6\xA1\x88\xE5\x90\x8D\xE7\xA7\xB0");
    EXPECT_EQ(cds_->FieldByName("CREATOR")->DisplayLabel(), "CREATOR");
    EXPECT_THROW(cds_->FieldByName("NOPE"), EDatabaseError);

    // Reopening asks the server again (the scheme list is reloaded after a save).
    Server().rows.rows.pop_back();
    cds_->Close();
    cds_->Open();
    EXPECT_EQ(Server().calls, 2);
    EXPECT_EQ(cds_->RecordCount(), 3);
}

TEST_F(DBClientTest, FindKeyIsExactOnTheLeadingIndexFields) {
    struct Case {
        std::vector<Variant> key;
        bool found;
        std::string date;  // CREATE_DATE of the record found
    };
    const Case cases[] = {
        {{Variant("alpha"), Variant("796"), Variant("KPQX07")}, true, "20240102"},
        {{Variant("Alpha"), Variant("796"), Variant("KPQX07")}, true, "20240101"},
        {{Variant("Month"), Variant("796"), Variant("KPQX07")}, false, ""},  // trailing blank
        {{Variant("Month "), Variant("796")}, true, "20240103"},
        {{Variant("Week"), Variant("797"), Variant("KPQX07")}, false, ""},
        {{Variant("ALPHA"), Variant("796"), Variant("KPQX07")}, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(VarToDebugText(c.key[0]));
        cds_->Last();
        const std::string before = cds_->FieldByName("CREATE_DATE")->AsString();
        EXPECT_EQ(cds_->FindKey(c.key), c.found);
        EXPECT_EQ(cds_->FieldByName("CREATE_DATE")->AsString(), c.found ? c.date : before);
    }
    EXPECT_THROW(cds_->FindKey({Variant("a"), Variant("b"), Variant("c"), Variant("d")}),
                 EDatabaseError);
    cds_->SetIndexName("");
    EXPECT_THROW(cds_->FindKey({Variant("Week")}), EDatabaseError);
    EXPECT_THROW(cds_->SetIndexName("Index9"), EDatabaseError);
}

TEST_F(DBClientTest, EditAndPostChangeTheCachedRowAndKeepTheCursorOnIt) {
    // The scheme panel's rename: find the old key, edit, set the new name, post.
    ASSERT_TRUE(cds_->FindKey({Variant("Week"), Variant("796"), Variant("KPQX07")}));
    form_->log.clear();
    cds_->Edit();
    EXPECT_EQ(form_->log, (std::vector<std::string>{"state 2", "data *"}));
    form_->log.clear();
    cds_->FieldByName("NCONDITION")->SetAsString("Annual");
    EXPECT_EQ(cds_->FieldByName("NCONDITION")->AsString(), "Annual");
    cds_->Post();
    EXPECT_EQ(form_->log,
              (std::vector<std::string>{"data NCONDITION", "update", "state 1", "data *"}));
    EXPECT_EQ(cds_->FieldByName("NCONDITION")->AsString(), "Annual");
    EXPECT_EQ(cds_->RecNo(), 2);  // the record moved to its place in the index
    EXPECT_EQ(Names(*cds_), (std::vector<std::string>{"Alpha", "Annual", "Month ", "alpha"}));
    EXPECT_FALSE(cds_->FindKey({Variant("Week"), Variant("796"), Variant("KPQX07")}));

    // Cancel drops the edit buffer.
    cds_->First();
    cds_->Edit();
    cds_->FieldByName("CREATOR")->SetAsString("999");
    cds_->Cancel();
    EXPECT_EQ(cds_->FieldByName("CREATOR")->AsString(), "796");
    // Moving on posts a pending edit.
    cds_->Edit();
    cds_->FieldByName("CREATOR")->SetAsString("111");
    cds_->Next();
    cds_->Prior();
    EXPECT_EQ(cds_->FieldByName("CREATOR")->AsString(), "111");
    EXPECT_EQ(cds_->State(), dsBrowse);
}

TEST_F(DBClientTest, TextEventsAndFieldRules) {
    cds_->First();
    TField* name = cds_->FieldByName("NCONDITION");
    EXPECT_EQ(name->Text(), "Alpha");
    EXPECT_EQ(name->DisplayText(), "[Alpha]");
    // Writing outside the edit state is refused and changes nothing.
    EXPECT_THROW(name->SetText("x"), EDatabaseError);
    cds_->Edit();
    name->SetText("  Padded  ");  // through OnSetText, which trims
    EXPECT_EQ(name->AsString(), "Padded");
    name->SetReadOnly(true);
    EXPECT_THROW(name->SetAsString("y"), EDatabaseError);
    name->SetReadOnly(false);
    cds_->Cancel();
    EXPECT_THROW(name->SetFieldName("OTHER"), EDatabaseError);  // only while closed
    cds_->Close();
    EXPECT_THROW(name->AsString(), EDatabaseError);
}

TEST_F(DBClientTest, DisabledControlsHearOneChangeWhenEnabledAgain) {
    cds_->DisableControls();
    cds_->First();
    cds_->Next();
    cds_->Edit();
    cds_->Cancel();
    EXPECT_TRUE(form_->log.empty());
    cds_->DisableControls();
    cds_->EnableControls();
    EXPECT_TRUE(form_->log.empty());  // still disabled once
    cds_->EnableControls();
    EXPECT_EQ(form_->log, (std::vector<std::string>{"data *"}));
}

TEST_F(DBClientTest, FieldDataLinkFollowsItsField) {
    struct TLinkLog : TComponent {
        explicit TLinkLog(TComponent* owner) : TComponent(owner) {}
        void Changed(TObject*) { texts.push_back(link.Field() ? link.Field()->AsString() : "-"); }
        void Update(TObject*) { link.Field()->SetAsString("from control"); }
        TFieldDataLink link;
        std::vector<std::string> texts;
    };
    TLinkLog log(nullptr);
    log.link.OnDataChange = TNotifyEvent(&log, &TLinkLog::Changed);
    log.link.OnUpdateData = TNotifyEvent(&log, &TLinkLog::Update);
    log.link.SetFieldName("NCONDITION");
    log.link.SetDataSource(form_->dsMain);
    cds_->First();
    cds_->Next();
    EXPECT_EQ(log.texts.back(), "Month ");
    ASSERT_TRUE(log.link.Edit());  // AutoEdit puts the data set into the edit state
    EXPECT_EQ(cds_->State(), dsEdit);
    log.link.Modified();
    cds_->Post();  // the control writes its value first
    EXPECT_EQ(cds_->FieldByName("NCONDITION")->AsString(), "from control");
    cds_->Close();
    EXPECT_EQ(log.texts.back(), "-");
    EXPECT_FALSE(log.link.Active());
}

TEST(ClientDataSet, InMemoryRowsInsertAppendDeleteLocateAndPackets) {
    TClientDataSet cds(nullptr);
    cds.SetName("cdsPeople");
    EXPECT_THROW(cds.Open(), EDatabaseError);  // no provider, no packet
    cds.FieldDefs()->Add("ID", ftInteger);
    cds.FieldDefs()->Add("NAME", ftString, 20, true);
    cds.CreateDataSet();
    EXPECT_TRUE(cds.IsEmpty());
    EXPECT_TRUE(cds.Bof() && cds.Eof());
    cds.AppendRecord({Variant(1), Variant("Ann")});
    cds.AppendRecord({Variant(3), Variant("Cid")});
    cds.First();
    cds.Next();
    cds.Insert();  // before the current record
    EXPECT_EQ(cds.RecNo(), -1);
    cds.FieldByName("ID")->SetAsString("2");
    EXPECT_THROW(cds.Post(), EDatabaseError);  // NAME is required
    cds.FieldByName("NAME")->SetAsString("Bob");
    cds.Post();
    EXPECT_EQ(cds.RecNo(), 2);
    EXPECT_EQ(cds.FieldByName("ID")->AsInteger(), 2);
    std::vector<std::string> names;
    for (cds.First(); !cds.Eof(); cds.Next())
        names.push_back(cds.FieldByName("NAME")->AsString());
    EXPECT_EQ(names, (std::vector<std::string>{"Ann", "Bob", "Cid"}));
    cds.Last();
    cds.Delete();
    EXPECT_EQ(cds.FieldByName("NAME")->AsString(), "Bob");  // the new last record
    EXPECT_EQ(cds.RecordCount(), 2);
}

TEST(ClientDataSet, TypedFieldsRefuseValuesOfAnotherType) {
    TClientDataSet cds(nullptr);
    cds.FieldDefs()->Add("ID", ftInteger);
    cds.FieldDefs()->Add("RATE", ftFloat);
    cds.FieldDefs()->Add("OK", ftBoolean);
    cds.CreateDataSet();
    cds.Append();
    TField* id = cds.FieldByName("ID");
    EXPECT_THROW(id->SetAsString("abc"), EDatabaseError);
    EXPECT_THROW(id->SetAsFloat(1.5), EDatabaseError);
    id->SetAsString(" 42 ");
    EXPECT_EQ(id->AsInteger(), 42);
    EXPECT_THROW(cds.FieldByName("RATE")->SetAsString("x"), EDatabaseError);
    cds.FieldByName("OK")->SetAsString("true");
    EXPECT_EQ(cds.FieldByName("OK")->AsString(), "True");
    EXPECT_TRUE(cds.FieldByName("RATE")->IsNull());
    cds.Post();
    EXPECT_EQ(cds.RecordCount(), 1);
}

TEST(ClientDataSet, PacketsLocateAndDelete) {
    TClientDataSet cds(nullptr);
    cds.SetData(MakeProviderPacket(SchemeRows()));
    EXPECT_EQ(cds.FieldCount(), 4);  // fields made from the columns
    EXPECT_EQ(cds.Fields(0)->Owner(), &cds);
    EXPECT_TRUE(cds.Locate("NCONDITION", {Variant("ALPHA")}, {loCaseInsensitive}));
    EXPECT_EQ(cds.FieldByName("CREATE_DATE")->AsString(), "20240101");
    EXPECT_TRUE(cds.Locate("NCONDITION;CREATE_DATE", {Variant("Mon"), Variant("20240103")},
                           {loPartialKey}));
    EXPECT_FALSE(cds.Locate("NCONDITION", {Variant("Mon")}));
    ASSERT_TRUE(cds.Locate("NCONDITION", {Variant("Alpha")}));
    cds.Delete();
    EXPECT_EQ(cds.RecordCount(), 3);
    EXPECT_EQ(cds.FieldByName("NCONDITION")->AsString(), "alpha");  // the next takes its place
    const TProviderRows back = ReadProviderPacket(cds.Data());
    EXPECT_EQ(back.rows.size(), 3u);

    const Variant malformed = VarArrayOf({Variant(1)});
    EXPECT_THROW(cds.SetData(malformed), EDatabaseError);
    EXPECT_EQ(cds.RecordCount(), 3);  // unchanged
}

// ---- the index order kept by posts and deletes, checked against a fresh stable sort

// Orders two cells as the index does: nulls first, numbers by value, texts by bytes or
// ignoring letter case.
int CompareCells(const Variant& a, const Variant& b, bool caseInsensitive) {
    if (a.IsNull() || b.IsNull()) return a.IsNull() == b.IsNull() ? 0 : a.IsNull() ? -1 : 1;
    if (!VarIsStr(a)) return a.AsInteger() < b.AsInteger() ? -1 : a.AsInteger() > b.AsInteger();
    std::string x = VarToStr(a);
    std::string y = VarToStr(b);
    if (caseInsensitive) {
        x = UpperCase(x);
        y = UpperCase(y);
    }
    return x < y ? -1 : x > y ? 1 : 0;
}

struct IndexSetup {
    const char* name;
    const char* fieldNames;  // IndexFieldNames, or the fields of a named index with options
    TIndexOptions options;
    bool named;
    std::vector<int> columns;  // the key columns of the reference order: 0 ID, 1 CODE, 2 NUM
};

// The records (ID, CODE, NUM) in storage order, and the order an index gives them.
struct ReferenceRows {
    const IndexSetup& setup;
    std::vector<std::vector<Variant>> rows;

    int Compare(const std::vector<Variant>& a, const std::vector<Variant>& b,
                std::size_t parts) const {
        const bool descending = setup.options.Contains(ixDescending);
        const bool caseInsensitive = setup.options.Contains(ixCaseInsensitive);
        for (std::size_t i = 0; i < parts; ++i) {
            const auto column = static_cast<std::size_t>(setup.columns[i]);
            const int result = CompareCells(a[column], b[column], caseInsensitive);
            if (result != 0) return descending ? -result : result;
        }
        return 0;
    }
    std::vector<std::vector<Variant>> Ordered() const {
        std::vector<std::vector<Variant>> ordered = rows;
        std::stable_sort(ordered.begin(), ordered.end(), [&](const auto& a, const auto& b) {
            return Compare(a, b, setup.columns.size()) < 0;
        });
        return ordered;
    }
    std::vector<int> Ids() const {
        std::vector<int> ids;
        for (const auto& row : Ordered())
            ids.push_back(row[0].AsInteger());
        return ids;
    }
    // The record number of the first record whose leading key cells equal the key (0: none).
    int FirstWith(const std::vector<Variant>& key) const {
        const std::vector<std::vector<Variant>> ordered = Ordered();
        std::vector<Variant> probe(3, Variant::Null());
        for (std::size_t i = 0; i < key.size(); ++i)
            probe[static_cast<std::size_t>(setup.columns[i])] = key[i];
        for (std::size_t row = 0; row < ordered.size(); ++row)
            if (Compare(ordered[row], probe, key.size()) == 0) return static_cast<int>(row) + 1;
        return 0;
    }
};

std::vector<int> IdsInOrder(TDataSet& ds) {
    std::vector<int> ids;
    for (ds.First(); !ds.Eof(); ds.Next())
        ids.push_back(ds.FieldByName("ID")->AsInteger());
    return ids;
}

TEST(ClientDataSet, PostsAndDeletesKeepTheOrderOfAFreshStableSort) {
    const IndexSetup setups[] = {
        {"natural order", "", {}, false, {}},
        {"by code", "CODE", {}, false, {1}},
        {"by number, code descending ignoring case",
         "NUM;CODE",
         {ixDescending, ixCaseInsensitive},
         true,
         {2, 1}},
    };
    const Variant codes[] = {Variant("a"), Variant("B"), Variant("b"), Variant("c"),
                             Variant::Null()};
    const Variant numbers[] = {Variant(1), Variant(2), Variant(3), Variant::Null()};
    for (const IndexSetup& setup : setups) {
        SCOPED_TRACE(setup.name);
        TClientDataSet cds(nullptr);
        cds.FieldDefs()->Add("ID", ftInteger);
        cds.FieldDefs()->Add("CODE", ftString, 10);
        cds.FieldDefs()->Add("NUM", ftInteger);
        cds.IndexDefs()->Add("ixKey", setup.fieldNames, setup.options);
        cds.CreateDataSet();
        if (setup.named) {
            cds.SetIndexName("ixKey");
        } else {
            cds.SetIndexFieldNames(setup.fieldNames);
        }
        ReferenceRows reference{setup, {}};
        std::mt19937 random(7);
        const auto pick = [&](int count) {
            return static_cast<int>(random() % static_cast<unsigned>(count));
        };
        int nextId = 1;
        for (int step = 0; step < 400; ++step) {
            SCOPED_TRACE(step);
            const int op = reference.rows.empty() ? 0 : pick(4);
            if (!reference.rows.empty()) cds.SetRecNo(pick(cds.RecordCount()) + 1);
            // The record under the cursor in the reference.
            const auto current =
                std::find_if(reference.rows.begin(), reference.rows.end(), [&](const auto& row) {
                    return !cds.IsEmpty() && row[0] == cds.FieldByName("ID")->Value();
                });
            if (op == 3) {
                cds.Delete();
                reference.rows.erase(current);
                EXPECT_EQ(IdsInOrder(cds), reference.Ids());
                continue;
            }
            std::vector<Variant> values{Variant(nextId), codes[pick(5)], numbers[pick(4)]};
            if (op == 2) {
                values[0] = cds.FieldByName("ID")->Value();
                cds.Edit();
                *current = values;
            } else {
                ++nextId;
                if (op == 1) {
                    cds.Insert();  // before the current record in the natural order only
                } else {
                    cds.Append();
                }
                const bool before = op == 1 && setup.columns.empty();
                reference.rows.insert(before ? current : reference.rows.end(), values);
            }
            for (int field = 0; field < 3; ++field)
                cds.Fields(field)->SetValue(values[static_cast<std::size_t>(field)]);
            cds.Post();
            const std::vector<int> ids = reference.Ids();
            const auto posted = std::find(ids.begin(), ids.end(), values[0].AsInteger());
            EXPECT_EQ(cds.RecNo(), posted - ids.begin() + 1);  // the cursor stays on it
            EXPECT_EQ(IdsInOrder(cds), ids);
        }
        if (setup.columns.empty()) continue;
        // Key searches land on the first record of the key; a failed one stays put.
        const bool byCode = setup.columns[0] == 1;
        const Variant keys[] = {codes[0],     codes[1],   codes[2],   codes[3],   codes[4],
                                Variant("z"), numbers[0], numbers[2], numbers[3], Variant(9)};
        for (const Variant& key : keys) {
            SCOPED_TRACE(VarToDebugText(key));
            if (VarIsStr(key) != byCode && !key.IsNull()) continue;
            cds.Last();
            const int expected = reference.FirstWith({key});
            EXPECT_EQ(cds.FindKey({key}), expected > 0);
            EXPECT_EQ(cds.RecNo(), expected > 0 ? expected : cds.RecordCount());
            if (!byCode || key.IsNull()) continue;
            cds.Last();
            EXPECT_EQ(cds.Locate("CODE", {key}), expected > 0);
            EXPECT_EQ(cds.RecNo(), expected > 0 ? expected : cds.RecordCount());
        }
    }
}

// Texts and numbers mixed in a key column (as a packet may hand them in): a key matches by
// text where either side is a text, whatever the index order.
TEST(ClientDataSet, KeySearchesInAColumnOfMixedKinds) {
    TProviderRows rows;
    rows.fields = {"CODE", "NUM"};
    rows.rows = {{Variant("b"), Variant(100)},
                 {Variant(9), Variant(10)},
                 {Variant("10"), Variant(9)},
                 {Variant::Null(), Variant::Null()}};
    TClientDataSet cds(nullptr);
    cds.SetData(MakeProviderPacket(rows));
    struct Case {
        const char* index;
        Variant key;
        int recNo;  // 0: not found
    };
    // By CODE: null, "10", 9, "b" (a number among texts is ordered by its text).
    // By NUM: null, 9, 10, 100.
    const Case cases[] = {
        {"CODE", Variant(9), 3},   {"CODE", Variant("9"), 3},    {"CODE", Variant(10), 2},
        {"CODE", Variant("b"), 4}, {"CODE", Variant::Null(), 1}, {"CODE", Variant("B"), 0},
        {"NUM", Variant("10"), 3}, {"NUM", Variant(10.0), 3},    {"NUM", Variant("1e1"), 0},
        {"NUM", Variant(100), 4},  {"NUM", Variant::Null(), 1},  {"NUM", Variant(11), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.index) + " " + VarToDebugText(c.key));
        cds.SetIndexFieldNames(c.index);
        cds.First();
        EXPECT_EQ(cds.FindKey({c.key}), c.recNo > 0);
        EXPECT_EQ(cds.RecNo(), c.recNo > 0 ? c.recNo : 1);
        cds.First();
        EXPECT_EQ(cds.Locate(c.index, {c.key}), c.recNo > 0);
        EXPECT_EQ(cds.RecNo(), c.recNo > 0 ? c.recNo : 1);
    }
}

}  // namespace
}  // namespace kv::test
