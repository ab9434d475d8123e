// Form descriptions: the text that lists a form's components, their properties and their event
// bindings, and the parser that turns it into a tree (TDescObject). FormReader.h builds
// components from the tree; FormResources.h keeps the descriptions compiled into a library.
//
// The text (docs/architecture.md, "Form descriptions", has the grammar):
//   object frmOrder: TfrmOrder
//     Caption = 'Order'
//     Font.Name = 'SimSun'
//     OnShow = FormShow
//     object pnlTop: TPanel
//       Align = alTop
//       object edName: TEdit
//         Text = 'It''s'
//       end
//     end
//   end
// A description of a derived form starts with "inherited" and may name inherited components
// again with "inherited" to override their properties or add children to them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Exceptions.h"

namespace kv {

// Any fault of a form description, in its text or in what it asks of the components. The
// message starts with the file name and the line: "BaseGene.kvform(12): ...".
class EFormDescError : public EReadError {
public:
    EFormDescError(const std::string& fileName, int line, const std::string& message);
    const char* ClassName() const noexcept override { return "EFormDescError"; }
    bool InheritsFrom(const std::string& className) const noexcept override {
        return className == "EFormDescError" || EReadError::InheritsFrom(className);
    }
    const std::string& FileName() const { return fileName_; }
    int Line() const { return line_; }
    // The message without the file and line.
    const std::string& Reason() const { return reason_; }

private:
    std::string fileName_;
    int line_;
    std::string reason_;
};

struct TDescItem;

// A property value as written.
struct TDescValue {
    enum class TKind {
        Integer,     // 12, -13, $FF
        Float,       // 1.5, 2e3
        String,      // 'text' (UTF-8; '' is a quote, #13 a character code)
        Ident,       // alClient, True, clRed, btnOkClick, pgOption, nil
        Set,         // [biSystemMenu, biMaximize]
        List,        // ( 'a' 'b' )  string lists
        Collection,  // < item ... end >
    };
    TKind kind = TKind::Integer;
    int line = 0;
    std::int64_t integer = 0;
    double number = 0;
    std::string text;                 // String, Ident
    std::vector<std::string> names;   // Set
    std::vector<TDescValue> items;    // List
    std::vector<TDescItem> elements;  // Collection

    // How the value reads in a message: "'text'", "alClient", "[a, b]", "(list)", "<collection>".
    std::string Describe() const;
};

// "Path = value": Path is a property name or a dotted path of them (Font.Name).
struct TDescProperty {
    std::string path;
    TDescValue value;
    int line = 0;
};

// One item of a collection value.
struct TDescItem {
    std::vector<TDescProperty> properties;
    int line = 0;
};

// One object block: its properties (in file order), then the components nested in it.
struct TDescObject {
    bool inherited = false;  // "inherited": a component the ancestor's description made
    std::string name;
    std::string className;
    int line = 0;
    std::vector<TDescProperty> properties;
    std::vector<TDescObject> children;
};

// Parses a whole description: exactly one object block, then nothing but blanks and comments.
// Raises EFormDescError naming fileName and the line for any fault; never reads past the text.
TDescObject ParseFormDescription(std::string_view text, std::string_view fileName);

// The class named in the first line ("object X: TClass" or "inherited X: TClass"), or "" when
// the text does not start with such a line.
std::string FormDescriptionClassName(std::string_view text);

}  // namespace kv
