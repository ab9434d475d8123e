#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Dispatch.h"
#include "platform/core/Exceptions.h"

namespace kv {
namespace {

// A small automation object with the kinds of members the host's services have.
class TTestService : public TAutoObject {
public:
    TTestService() {
        RegisterMethod(
            "Add",
            [](std::vector<Variant>& args) {
                return Variant(args[0].AsInt64() + args[1].AsInt64());
            },
            2, 2);
        RegisterProperty(
            "ProductID", [this] { return Variant(productId_); },
            [this](const Variant& v) { productId_ = v.AsInteger(); });
        RegisterProperty("Name", [] { return Variant("service"); });
        // Like a check query: answers found and writes the rows into the last argument.
        RegisterMethod(
            "QueryData",
            [](std::vector<Variant>& args) {
                args[4] = VarArrayOf({VarArrayOf({args[0], "row"})});
                return Variant(true);
            },
            5, 5);
        RegisterMethod("Fail", [](std::vector<Variant>&) -> Variant {
            throw EConvertError("'x' is not a valid integer value");
        });
        RegisterMethod("Self",
                       [this](std::vector<Variant>&) { return Variant(shared_from_this()); });
        RegisterMethod("CallInner", [this](std::vector<Variant>& args) {
            return OleCall(inner_, args.at(0).AsString());
        });
    }
    int productId_ = 3;
    Variant inner_;
};

class DispatchTest : public ::testing::Test {
protected:
    std::shared_ptr<TTestService> service_ = std::make_shared<TTestService>();
    Variant object_ = service_;
};

TEST_F(DispatchTest, NamesIgnoreLetterCase) {
    EXPECT_EQ(OleCall(object_, "add", {1, 2}).AsInteger(), 3);
    EXPECT_EQ(OleCall(object_, "ADD", {1, 2}).AsInteger(), 3);
    OlePut(object_, "productid", 7);
    EXPECT_EQ(OleGet(object_, "ProductId").AsInteger(), 7);
    EXPECT_TRUE(service_->HasMember("QUERYDATA"));
    EXPECT_FALSE(service_->HasMember("Query"));
}

TEST_F(DispatchTest, MethodsAndPropertiesAnswerEitherAccess) {
    EXPECT_EQ(OleCall(object_, "Name").AsString(), "service");  // property read as a call
    EXPECT_EQ(OleGet(object_, "Add", {2, 3}).AsInteger(), 5);   // method read as a property
}

TEST_F(DispatchTest, ByReferenceArgumentsComeBack) {
    // Through VarRef in a braced list.
    Variant rows;
    Variant found = OleCall(object_, "QueryData", {"RMAMA", "01", "db", Variant(), VarRef(rows)});
    EXPECT_TRUE(found.AsBoolean());
    EXPECT_EQ(VarToDebugText(rows), "[['RMAMA', 'row']]");

    // Through an argument vector, which receives every write.
    std::vector<Variant> args{"CMSMT", "01", "db", Variant(), Variant()};
    OleCall(object_, "QueryData", args);
    EXPECT_EQ(VarToDebugText(args[4]), "[['CMSMT', 'row']]");
}

TEST_F(DispatchTest, CalleeSeesValuesNotMarkers) {
    TVarType seen = 0;
    service_->RegisterMethod("Peek", [&seen](std::vector<Variant>& args) {
        seen = args[0].Type();
        return Variant();
    });
    Variant value = "x";
    OleCall(object_, "Peek", {VarRef(value)});
    EXPECT_EQ(seen, varString);
}

TEST_F(DispatchTest, DispatcherErrors) {
    struct Case {
        std::function<void()> call;
        std::string message;
    } cases[] = {
        {[&] { OleCall(object_, "NoSuchMember"); }, "Unknown name \"NoSuchMember\""},
        {[&] { OleCall(object_, "Add", {1}); },
         "Invalid number of parameters for \"Add\": 2 expected, 1 given"},
        {[&] { OlePut(object_, "Name", "x"); }, "Property \"Name\" is read-only"},
        {[&] { OlePut(object_, "Add", 1); }, "Member not found \"Add\""},
        {[&] { OleGet(object_, "ProductID", {1}); },
         "Invalid number of parameters for \"ProductID\": 0 expected, 1 given"},
    };
    for (const auto& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const EOleSysError& e) {
            EXPECT_STREQ(e.ClassName(), "EOleSysError");
            EXPECT_EQ(e.Message(), c.message);
        }
    }
}

TEST_F(DispatchTest, MemberErrorsTravelAsOleExceptions) {
    try {
        OleCall(object_, "Fail");
        FAIL() << "no error";
    } catch (const EOleException& e) {
        EXPECT_EQ(e.Message(), "'x' is not a valid integer value");
        EXPECT_TRUE(e.InheritsFrom("EOleError"));
    }
    // A conversion failure inside a setter is the object's answer as well.
    EXPECT_THROW(OlePut(object_, "ProductID", "abc"), EOleException);
    // An unknown name met by the member on another object is part of the member's answer.
    service_->inner_ = std::make_shared<TTestService>();
    try {
        OleCall(object_, "CallInner", {"Missing"});
        FAIL() << "no error";
    } catch (const EOleException& e) {
        EXPECT_STREQ(e.ClassName(), "EOleException");
        EXPECT_EQ(e.Message(), "Unknown name \"Missing\"");
    }
}

TEST_F(DispatchTest, CallsOnVariantsWithoutObjectRaise) {
    const Variant noObjects[] = {Variant(), Null(), Variant(42), Variant("Counter"),
                                 Variant(DispatchPtr())};
    for (const auto& v : noObjects) {
        try {
            OleCall(v, "Add", {1, 2});
            ADD_FAILURE() << "no error for " << v;
        } catch (const EOleError& e) {
            EXPECT_STREQ(e.ClassName(), "EOleError");
            EXPECT_EQ(e.Message(), "Variant does not reference an automation object");
        }
    }
    EXPECT_THROW(OlePut(Variant(), "ProductID", 1), EOleError);
}

TEST_F(DispatchTest, VariantsShareTheObject) {
    std::weak_ptr<TTestService> watch = service_;
    Variant self = OleCall(object_, "Self");
    EXPECT_EQ(self, object_);
    Variant copy = object_;
    OlePut(copy, "ProductID", 11);
    EXPECT_EQ(service_->productId_, 11);
    service_.reset();
    object_ = Variant();
    copy = Variant();
    EXPECT_FALSE(watch.expired());  // `self` still holds it
    self = Variant();
    EXPECT_TRUE(watch.expired());
}

}  // namespace
}  // namespace kv
