// The grid pack's data-aware combo box: it shows the field of the current record (the display
// part of a mapped item) and writes the user's pick into the field (the value part).
#include <gtest/gtest.h>

#include "platform/ui/FormReader.h"
#include "platform/ui/wwClient.h"
#include "platform/ui/wwDBComb.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv::test {
namespace {

class TfrmDBCombo : public TForm {
    KV_CLASS(TfrmDBCombo, TForm)
public:
    explicit TfrmDBCombo(TComponent* owner) : TForm(owner, true) {}
    TwwClientDataSet* cdsUsers = nullptr;
    TwwDataSource* dsUsers = nullptr;
    TwwDBComboBox* cboType = nullptr;
};
KV_PUBLISHED(TfrmDBCombo) {
    b.Field("cdsUsers", &T::cdsUsers);
    b.Field("dsUsers", &T::dsUsers);
    b.Field("cboType", &T::cboType);
}

class DBComboBoxTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form_ = FixtureForm(NewObject<TfrmDBCombo>(&Application()));
        ReadComponentDescription(*form_,
                                 "object frmDBCombo: TfrmDBCombo\n"
                                 "  object cdsUsers: TwwClientDataSet\n"
                                 "    FieldDefs = <\n"
                                 "      item\n"
                                 "        Name = 'ID'\n"
                                 "        DataType = ftString\n"
                                 "      end\n"
                                 "      item\n"
                                 "        Name = 'TYPE'\n"
                                 "        DataType = ftString\n"
                                 "      end>\n"
                                 "  end\n"
                                 "  object dsUsers: TwwDataSource\n"
                                 "    DataSet = cdsUsers\n"
                                 "  end\n"
                                 "  object cboType: TwwDBComboBox\n"
                                 "    Style = csDropDownList\n"
                                 "    DataSource = dsUsers\n"
                                 "    DataField = 'TYPE'\n"
                                 "    MapList = True\n"
                                 "    Items = ( 'System'#9'1' 'Portal'#9'5' )\n"
                                 "  end\n"
                                 "end\n",
                                 "dbcombo.kvform");
        cds_ = form_->cdsUsers;
        cds_->CreateDataSet();
        cds_->AppendRecord({Variant("796"), Variant("5")});
        cds_->AppendRecord({Variant("797"), Variant("1")});
        cds_->First();
        form_->Show();
    }
    TfrmDBCombo* form_ = nullptr;
    TwwClientDataSet* cds_ = nullptr;
};

TEST_F(DBComboBoxTest, ShowsTheDisplayPartOfTheFieldsItem) {
    TwwDBComboBox& combo = *form_->cboType;
    EXPECT_EQ(combo.Field(), cds_->FieldByName("TYPE"));
    EXPECT_EQ(combo.Text(), "Portal");
    cds_->Next();
    EXPECT_EQ(combo.Text(), "System");
    EXPECT_EQ(combo.ItemIndex(), 0);
    cds_->Close();
    EXPECT_EQ(combo.ItemIndex(), -1);
}

TEST_F(DBComboBoxTest, APickEditsTheRecordAndWritesTheValuePart) {
    Automation().Select("frmDBCombo.cboType", "System");
    EXPECT_EQ(cds_->State(), dsEdit);
    EXPECT_EQ(cds_->FieldByName("TYPE")->AsString(), "1");
    cds_->Post();
    cds_->First();
    EXPECT_EQ(cds_->FieldByName("TYPE")->AsString(), "1");

    // Without AutoEdit a browsing data set keeps its value and the combo box shows it again.
    form_->dsUsers->SetAutoEdit(false);
    Automation().Select("frmDBCombo.cboType", "Portal");
    EXPECT_EQ(cds_->State(), dsBrowse);
    EXPECT_EQ(cds_->FieldByName("TYPE")->AsString(), "1");
    EXPECT_EQ(form_->cboType->Text(), "System");
}

}  // namespace
}  // namespace kv::test
