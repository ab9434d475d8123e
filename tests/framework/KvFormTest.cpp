// The base form: its form resource, what FormCreate does to the components, the disabled
// pictures of glyph buttons, the language packages of the class chain, ShowDialog and the
// language strings, on the headless widgetset.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Buttons.h"
#include "platform/ui/StdCtrls.h"
#include "src/framework/KvForm.h"
#include "src/runtime/CodeConverter.h"
#include "src/runtime/LanguageController.h"
#include "tests/framework/FrameworkTestSupport.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv {

// A form of the chain below the base form; it has no description of its own, so it reads the
// base form's.
class TfrmKvTest : public TKvForm {
    KV_CLASS(TfrmKvTest, TKvForm)
public:
    explicit TfrmKvTest(TComponent* owner, bool createNew = false) : TKvForm(owner, createNew) {}

    static std::vector<std::string> Chain(const TComponent& target, bool withAncestors,
                                          bool skipBaseForm) {
        return PackageChain(target, withAncestors, skipBaseForm);
    }
};
KV_PUBLISHED(TfrmKvTest) {}

namespace {

using test::TClientSettings;
using test::TestInstallation;

class KvFormTest : public test::UiTest {
protected:
    // The installation must exist before the form reads it.
    TfrmKvTest* NewForm(const TClientSettings& settings = {}) {
        installation_.emplace(settings);
        return FixtureForm(NewObject<TfrmKvTest>(&Application()));
    }

    std::optional<TestInstallation> installation_;
};

TEST_F(KvFormTest, FormResourceGivesSettingsAndComponents) {
    TfrmKvTest* form = NewForm();
    EXPECT_EQ(form->Name(), "KvForm");
    EXPECT_EQ(form->Caption(), "KvForm");
    EXPECT_EQ(form->Width(), 400);
    EXPECT_EQ(form->Height(), 191);
    EXPECT_EQ(form->Font()->Name(), "宋体");
    EXPECT_EQ(form->Font()->Height(), -13);
    EXPECT_TRUE(form->KeyPreview());
    EXPECT_EQ(form->Position(), poScreenCenter);
    EXPECT_FALSE(form->Scaled());
    EXPECT_TRUE(form->ShowHint());
    ASSERT_NE(form->KvConverter, nullptr);
    EXPECT_EQ(form->KvConverter->DesignType(), dtClient);
    EXPECT_EQ(form->KvConverter->Translator(), nullptr);  // mode 0 loads no library
    ASSERT_NE(form->LangController, nullptr);
    EXPECT_FALSE(form->LangController->Active());
    EXPECT_FALSE(form->FormConverted);
    EXPECT_TRUE(form->LanguageOnShow);
    // The converter's values are the configuration's.
    EXPECT_EQ(form->UICodePage(), "936");
    EXPECT_EQ(form->SysCodePage(), "936");
    EXPECT_EQ(form->UIConvertMode(), 0);
    EXPECT_EQ(form->DBConvertMode(), 0);
}

TEST_F(KvFormTest, ConvertOnceConvertsOnceAndMarksTheForm) {
    TfrmKvTest* form = NewForm();
    form->ConvertOnce();
    EXPECT_TRUE(form->FormConverted);
    form->ConvertOnce();
    EXPECT_TRUE(form->FormConverted);
    EXPECT_EQ(form->Caption(), "KvForm");  // mode 0: nothing converted
}

TEST_F(KvFormTest, InterfaceOn950WithoutLanguageLibraryFailsTheCreation) {
    installation_.emplace(TClientSettings{"950", "950", "950"});
    try {
        NewObject<TfrmKvTest>(&Application());
        FAIL() << "the form was created without the language library";
    } catch (const Exception& error) {
        EXPECT_NE(error.Message().find("Load Library Kvlanguage.dll Error!"), std::string::npos)
            << error.Message();
    }
}

// ---- FormCreate

struct FontCase {
    const char* uiCodePage;
    bool english;
};

class KvFormFontTest : public KvFormTest, public ::testing::WithParamInterface<FontCase> {};

TEST_P(KvFormFontTest, FontsSwitchOnTheEnglishCodePageOnly) {
    const FontCase c = GetParam();
    TfrmKvTest* form = NewForm({"936", c.uiCodePage, "936"});
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetImeName("Chinese (Simplified) - Microsoft Pinyin");
    edit->Font()->SetName("SimHei");
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->Font()->SetName("SimHei");
    form->FormCreate(form);
    EXPECT_EQ(edit->ImeName(), "");
    for (TControl* control : std::vector<TControl*>{edit, label}) {
        EXPECT_EQ(control->Font()->Name(), c.english ? "Tahoma" : "SimHei") << control->ClassName();
        EXPECT_EQ(control->Font()->Charset(), c.english ? GB2312_CHARSET : DEFAULT_CHARSET);
    }
    EXPECT_EQ(form->Font()->Name(), "宋体");  // the form owns no font of its own to switch
}

INSTANTIATE_TEST_SUITE_P(CodePages, KvFormFontTest,
                         ::testing::Values(FontCase{"437", true}, FontCase{"936", false}));

// ---- disabled pictures

constexpr TColor kTransparent = clFuchsia;

// A picture from rows of characters: '.' transparent, 'L' light, 'D' dark, 'G' grey at the
// border of dark (red + green + blue = 384, not dark), 'g' just below it (383, dark).
std::unique_ptr<TBitmap> Picture(const std::vector<std::string>& rows) {
    const int height = static_cast<int>(rows.size());
    const int width = static_cast<int>(rows.front().size());
    auto picture = std::make_unique<TBitmap>(width, height);
    picture->SetPixelFormat(pf24bit);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            TColor color = kTransparent;
            switch (rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]) {
                case 'L':
                    color = clSilver;
                    break;
                case 'D':
                    color = 0x404040;
                    break;
                case 'G':
                    color = 0x808080;
                    break;
                case 'g':
                    color = 0x7F8080;
                    break;
                default:
                    break;
            }
            picture->SetPixel(x, y, color);
        }
    }
    picture->SetTransparentColor(kTransparent);
    return picture;
}

// The embossed picture of a shape ('#'): shadow on the shape, highlight one pixel down and right
// of it, button face elsewhere.
void ExpectEmbossed(const TBitmap& result, const std::vector<std::string>& shape) {
    const int height = static_cast<int>(shape.size());
    const int width = static_cast<int>(shape.front().size());
    auto in = [&](int x, int y) {
        return x >= 0 && y >= 0 &&
               shape[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '#';
    };
    ASSERT_EQ(result.Width(), width);
    ASSERT_EQ(result.Height(), height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const TColor expected = in(x, y)           ? ColorToRGB(clBtnShadow)
                                    : in(x - 1, y - 1) ? ColorToRGB(clBtnHighlight)
                                                       : ColorToRGB(clBtnFace);
            EXPECT_EQ(result.Pixel(x, y), expected) << "pixel " << x << "," << y;
        }
    }
}

struct GlyphCase {
    const char* name;
    std::vector<std::string> picture;
    std::vector<std::string> shape;
};

class DisabledGlyphTest : public ::testing::TestWithParam<GlyphCase> {};

TEST_P(DisabledGlyphTest, ShapeFollowsDarkPixelsAndTheTransparentBorder) {
    const GlyphCase& c = GetParam();
    std::unique_ptr<TBitmap> source = Picture(c.picture);
    ExpectEmbossed(*MakeDisabledGlyph(*source), c.shape);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, DisabledGlyphTest,
    ::testing::Values(GlyphCase{"AllTransparent", {"...", "...", "..."}, {"...", "...", "..."}},
                      // A light pixel among light pixels stays out; its light neighbours border the
                      // transparent area and count.
                      GlyphCase{"LightCentre",
                                {".....", ".LLL.", ".LLL.", ".LLL.", "....."},
                                {".....", ".###.", ".#.#.", ".###.", "....."}},
                      GlyphCase{"DarkCentre",
                                {".....", ".LLL.", ".LDL.", ".LLL.", "....."},
                                {".....", ".###.", ".###.", ".###.", "....."}},
                      // Neighbours outside the picture are the pixel itself, never transparent.
                      GlyphCase{"NoTransparentPixel", {"LLL", "LLL", "LLL"}, {"...", "...", "..."}},
                      GlyphCase{"DarkBorderIs384",
                                {"LLLLL", "LGLgL", "LLLLL", "LLLLL", "LLLLL"},
                                {".....", "...#.", ".....", ".....", "....."}}),
    [](const ::testing::TestParamInfo<GlyphCase>& param) { return std::string(param.param.name); });

TEST(DisabledGlyph, AddDisabledGlyphPutsTheDisabledPictureBesideTheOriginal) {
    std::unique_ptr<TBitmap> picture = Picture({".....", ".LLL.", ".LDL.", ".LLL.", "....."});
    TBitmap original;
    original.Assign(picture.get());
    TBitmap copy;
    copy.Assign(picture.get());
    const std::unique_ptr<TBitmap> disabled = MakeDisabledGlyph(copy);
    AddDisabledGlyph(*picture);
    ASSERT_EQ(picture->Width(), 10);
    ASSERT_EQ(picture->Height(), 5);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(picture->Pixel(x, y), original.Pixel(x, y)) << x << "," << y;
            EXPECT_EQ(picture->Pixel(x + 5, y), disabled->Pixel(x, y)) << x << "," << y;
        }
    }
    TBitmap empty;
    AddDisabledGlyph(empty);
    EXPECT_TRUE(empty.Empty());
}

TEST_F(KvFormTest, OnePictureButtonsGetTheirDisabledPicture) {
    TfrmKvTest* form = NewForm();
    TBitmap picture(16, 16);
    picture.Fill(clSilver);
    picture.SetPixel(0, 15, kTransparent);
    auto* bitBtn = new TBitBtn(form);
    bitBtn->SetParent(form);
    bitBtn->SetGlyph(&picture);
    ASSERT_EQ(bitBtn->NumGlyphs(), 1);

    TBitmap twoPictures(32, 16);
    twoPictures.Fill(clSilver);
    auto* speedBtn = new TSpeedButton(form);
    speedBtn->SetParent(form);
    speedBtn->SetGlyph(&twoPictures);
    ASSERT_EQ(speedBtn->NumGlyphs(), 2);

    auto* onePictureSpeedBtn = new TSpeedButton(form);
    onePictureSpeedBtn->SetParent(form);
    onePictureSpeedBtn->SetGlyph(&picture);

    TBitmap expected;
    expected.Assign(&picture);
    AddDisabledGlyph(expected);

    form->FormCreate(form);

    EXPECT_EQ(bitBtn->NumGlyphs(), 2);
    EXPECT_TRUE(bitBtn->Glyph()->Equals(expected));
    EXPECT_EQ(bitBtn->Glyph()->Pixel(1, 1), clSilver);
    EXPECT_EQ(bitBtn->Glyph()->Pixel(16, 14), ColorToRGB(clBtnShadow));  // next to the corner
    EXPECT_EQ(onePictureSpeedBtn->NumGlyphs(), 2);
    EXPECT_EQ(onePictureSpeedBtn->Glyph()->Width(), 32);
    EXPECT_TRUE(speedBtn->Glyph()->Equals(twoPictures));
    EXPECT_EQ(speedBtn->NumGlyphs(), 2);
}

// ---- language packages and strings

TEST(KvFormPackages, ChainRunsFromTheBaseFormToTheClassItself) {
    auto* form = NewObject<TfrmKvTest>(nullptr, true);
    EXPECT_EQ(TfrmKvTest::Chain(*form, true, false),
              (std::vector<std::string>{"TKvForm", "TfrmKvTest"}));
    EXPECT_EQ(TfrmKvTest::Chain(*form, true, true), (std::vector<std::string>{"TfrmKvTest"}));
    EXPECT_EQ(TfrmKvTest::Chain(*form, false, false), (std::vector<std::string>{"TfrmKvTest"}));
    form->Free();
}

TEST_F(KvFormTest, ShowingWithoutPackageFilesKeepsTheDesignedTexts) {
    TfrmKvTest* form = NewForm();
    form->Show();
    EXPECT_EQ(form->Caption(), "KvForm");
    EXPECT_EQ(form->LangController->LangPackageName(), "TfrmKvTest");
    EXPECT_FALSE(form->LangController->Active());
    form->Hide();
}

TEST_F(KvFormTest, LangTextFallsBackToItsDefault) {
    TfrmKvTest* form = NewForm();
    EXPECT_EQ(form->GetLangText("TfrmBaseGene", "sOption", true, "选择条件文字"), "选择条件文字");
    std::string text = "stale";
    form->GetLangText("TfrmBaseGene", "sExeVer", text, false, "[您现在运行的是Exe版本!]");
    EXPECT_EQ(text, "[您现在运行的是Exe版本!]");
}

TEST_F(KvFormTest, LanguageFolderFollowsTheInterfaceCodePage) {
    installation_.emplace(TClientSettings{"936", "950", "936"});
    EXPECT_EQ(LangFolder(false), "");  // the folder is missing
    const std::string folder = installation_->ClientPath() + "MultiLanguage/CHT/";
    TestInstallation::Write(folder + "TKvForm.Lng", "<TKvForm/>");
    EXPECT_EQ(LangFolder(false), folder);
    installation_.reset();
    installation_.emplace(TClientSettings{"936", "1252", "936"});
    EXPECT_EQ(LangFolder(false), "");
}

// ---- ShowDialog

struct DialogCase {
    const char* sysCodePage;
    const char* uiCodePage;
    const char* shownText;
};

class KvFormDialogTest : public KvFormTest, public ::testing::WithParamInterface<DialogCase> {};

TEST_P(KvFormDialogTest, DialogTakesTheFormCaptionAndPadsOnGbSystems) {
    const DialogCase c = GetParam();
    TfrmKvTest* form = NewForm({c.sysCodePage, c.uiCodePage, "936"});
    form->SetCaption("Repairs");
    Automation().AnswerBox(mrNo);
    EXPECT_EQ(form->ShowDialog("Go on?", mtConfirmation, mbYesNoCancel), mrNo);
    EXPECT_EQ(Automation().LastBox().Text, c.shownText);
    EXPECT_EQ(Automation().LastBox().Caption, "Repairs");
    EXPECT_EQ(Automation().LastBox().Buttons, mbYesNoCancel);
}

INSTANTIATE_TEST_SUITE_P(CodePages, KvFormDialogTest,
                         ::testing::Values(DialogCase{"936", "936", "Go on?      "},
                                           DialogCase{"437", "936", "Go on?      "},
                                           DialogCase{"437", "437", "Go on?"}));

TEST_F(KvFormTest, EmptyDialogTextShowsNothing) {
    TfrmKvTest* form = NewForm();
    EXPECT_EQ(form->ShowDialog("", mtError, {mbOK}), mrNone);
    EXPECT_TRUE(Automation().Boxes().empty());
}

}  // namespace
}  // namespace kv
