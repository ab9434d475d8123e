#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/core/Classes.h"
#include "platform/core/TypInfo.h"
#include "src/runtime/LibStrs.h"

namespace kv {

// A component with one property of each shape the helpers must tell apart.
class TPropsProbe : public TComponent {
    KV_CLASS(TPropsProbe, TComponent)
public:
    explicit TPropsProbe(TComponent* owner) : TComponent(owner) {}
    const std::string& EditMask() const { return editMask_; }
    void SetEditMask(std::string value) { editMask_ = std::move(value); }
    int Color() const { return color_; }
    void SetColor(int value) { color_ = value; }
    std::string Caption() const { return "fixed"; }

private:
    std::string editMask_;
    int color_ = 7;
};

KV_PUBLISHED(TPropsProbe) {
    b.Property("EditMask", &T::EditMask, &T::SetEditMask);
    b.Property("Color", &T::Color, &T::SetColor);
    b.Property("Caption", &T::Caption);
}

namespace {

TEST(LibStrsProps, SetsStringPropertiesByName) {
    auto probe = std::make_unique<TPropsProbe>(nullptr);
    SetStrPropByName(probe.get(), "editmask", "99/99;1; ");  // names ignore letter case
    EXPECT_EQ(probe->EditMask(), "99/99;1; ");

    // Absent, nameless, of another kind or read-only: left alone, nothing raised.
    SetStrPropByName(probe.get(), "NoSuchProperty", "x");
    SetStrPropByName(probe.get(), "", "x");
    SetStrPropByName(probe.get(), "Color", "12");
    SetStrPropByName(probe.get(), "Caption", "changed");
    SetStrPropByName(nullptr, "EditMask", "x");
    EXPECT_EQ(probe->Color(), 7);
    EXPECT_EQ(probe->Caption(), "fixed");
}

TEST(LibStrsProps, HasPropByName) {
    auto probe = std::make_unique<TPropsProbe>(nullptr);
    EXPECT_TRUE(HasPropByName(probe.get(), "EditMask"));
    EXPECT_TRUE(HasPropByName(probe.get(), "color"));
    EXPECT_TRUE(HasPropByName(probe.get(), "Name"));  // inherited from the component
    EXPECT_FALSE(HasPropByName(probe.get(), "OnEnter"));
    EXPECT_FALSE(HasPropByName(probe.get(), ""));
    EXPECT_FALSE(HasPropByName(nullptr, "EditMask"));
}

}  // namespace
}  // namespace kv
