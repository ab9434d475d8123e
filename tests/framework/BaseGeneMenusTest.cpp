// The scheme panel's menus of the generic condition form, as its form description makes them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/ImgList.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Menus.h"
#include "src/framework/BaseGene.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv {
namespace {

std::vector<std::string> Captions(const TMenu& menu) {
    std::vector<std::string> captions;
    for (int i = 0; i < menu.Items()->Count(); ++i)
        captions.push_back(menu.Items()->Items(i)->Caption());
    return captions;
}

class BaseGeneMenusTest : public test::UiTest {};

TEST_F(BaseGeneMenusTest, TheSchemeMenusCarryTheirItems) {
    auto* form = NewObject<TfrmBaseGene>(nullptr);
    ASSERT_TRUE(form->muOperation != nullptr && form->mnList != nullptr);
    EXPECT_EQ(Captions(*form->muOperation), (std::vector<std::string>{"开启(&O)", "删除(&D)"}));
    TMenuItem* open = form->muOperation->Items()->Items(0);
    EXPECT_EQ(open->Name(), "N2");
    EXPECT_EQ(open->ImageIndex(), 2);
    EXPECT_EQ(open->GetImageList(), form->ImageList1);
    EXPECT_EQ(form->muOperation->Items()->Items(1)->ImageIndex(), 3);
    EXPECT_EQ(form->lstCondition->PopupMenu(), form->muOperation);

    EXPECT_EQ(Captions(*form->mnList), (std::vector<std::string>{"大型图标(&G)", "小型图标(&M)",
                                                                 "清单(&L)", "详细信息(&D)"}));
    std::string checks;
    for (int i = 0; i < 4; ++i) {
        const TMenuItem* item = form->mnList->Items()->Items(i);
        EXPECT_TRUE(item->RadioItem());
        checks += item->Checked() ? '1' : '0';
    }
    EXPECT_EQ(checks, "1000") << "large icons checked";
    form->mnList->Items()->Items(2)->SetChecked(true);
    EXPECT_FALSE(form->mnList->Items()->Items(0)->Checked()) << "one view at a time";
    form->Free();
}

}  // namespace
}  // namespace kv
