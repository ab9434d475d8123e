// The form-description parser: a lexer over the UTF-8 text and a recursive-descent parser that
// builds the TDescObject tree. Depth is bounded, so hostile input cannot exhaust the stack.
#include "platform/ui/FormDesc.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <system_error>

#include "platform/core/SysUtils.h"
#include "platform/core/Utf8.h"

namespace kv {

EFormDescError::EFormDescError(const std::string& fileName, int line, const std::string& message)
    : EReadError(fileName + "(" + std::to_string(line) + "): " + message),
      fileName_(fileName),
      line_(line),
      reason_(message) {}

std::string TDescValue::Describe() const {
    switch (kind) {
        case TKind::Integer:
            return std::to_string(integer);
        case TKind::Float:
            return FloatToStr(number);
        case TKind::String:
            return "'" + text + "'";
        case TKind::Ident:
            return text;
        case TKind::Set: {
            std::string result = "[";
            for (std::size_t i = 0; i < names.size(); ++i)
                result += (i == 0 ? "" : ", ") + names[i];
            return result + "]";
        }
        case TKind::List:
            return "a string list";
        case TKind::Collection:
            return "a collection";
    }
    return {};
}

namespace {

// Objects and values nested deeper than this are refused.
constexpr int kMaxDepth = 64;

enum class TTok { End, Ident, Integer, Float, String, Symbol };

struct TToken {
    TTok kind = TTok::End;
    int line = 1;
    std::string text;  // identifier, string contents, or the symbol
    std::int64_t integer = 0;
    double number = 0;
};

bool IsIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsIdentChar(char c) {
    return IsIdentStart(c) || (c >= '0' && c <= '9');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

class TLexer {
public:
    TLexer(std::string_view text, std::string fileName)
        : text_(text), fileName_(std::move(fileName)) {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    }

    TToken Next() {
        SkipBlanks();
        TToken token;
        token.line = line_;
        if (pos_ >= text_.size()) return token;
        const char c = text_[pos_];
        if (IsIdentStart(c)) return Ident(token);
        if (IsDigit(c) || c == '$' ||
            (c == '-' && pos_ + 1 < text_.size() &&
             (IsDigit(text_[pos_ + 1]) || text_[pos_ + 1] == '$')))
            return Number(token);
        if (c == '\'' || c == '#') return String(token);
        if (std::string_view("=:.,[]()<>+").find(c) != std::string_view::npos) {
            token.kind = TTok::Symbol;
            token.text = std::string(1, c);
            ++pos_;
            return token;
        }
        Fail("Unexpected character " + CharText(c));
    }

    [[noreturn]] void Fail(const std::string& message) const {
        throw EFormDescError(fileName_, line_, message);
    }
    const std::string& FileName() const { return fileName_; }

private:
    static std::string CharText(char c) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) return std::string("'") + c + "'";
        return "#" + std::to_string(byte);
    }

    void SkipBlanks() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
            } else if (c == '\r') {
                if (pos_ + 1 >= text_.size() || text_[pos_ + 1] != '\n') ++line_;
                ++pos_;
            } else if (c == ' ' || c == '\t') {
                ++pos_;
            } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
                while (pos_ < text_.size() && text_[pos_] != '\n' && text_[pos_] != '\r')
                    ++pos_;
            } else {
                return;
            }
        }
    }

    TToken Ident(TToken& token) {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && IsIdentChar(text_[pos_]))
            ++pos_;
        token.kind = TTok::Ident;
        token.text = std::string(text_.substr(start, pos_ - start));
        return token;
    }

    TToken Number(TToken& token) {
        const bool negative = text_[pos_] == '-';
        if (negative) ++pos_;
        if (text_[pos_] == '$') return HexNumber(token, negative);
        const std::size_t start = pos_;
        while (pos_ < text_.size() && IsDigit(text_[pos_]))
            ++pos_;
        bool isFloat = false;
        if (pos_ + 1 < text_.size() && text_[pos_] == '.' && IsDigit(text_[pos_ + 1])) {
            isFloat = true;
            ++pos_;
            while (pos_ < text_.size() && IsDigit(text_[pos_]))
                ++pos_;
        }
        if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
            std::size_t k = pos_ + 1;
            if (k < text_.size() && (text_[k] == '+' || text_[k] == '-')) ++k;
            if (k < text_.size() && IsDigit(text_[k])) {
                isFloat = true;
                pos_ = k;
                while (pos_ < text_.size() && IsDigit(text_[pos_]))
                    ++pos_;
            }
        }
        if (pos_ < text_.size() && IsIdentChar(text_[pos_])) Fail("Invalid number");
        const std::string digits =
            (negative ? "-" : "") + std::string(text_.substr(start, pos_ - start));
        const char* first = digits.data();
        const char* last = digits.data() + digits.size();
        if (isFloat) {
            token.kind = TTok::Float;
            const auto [end, error] = std::from_chars(first, last, token.number);
            if (error != std::errc() || end != last || !std::isfinite(token.number))
                Fail("Invalid number " + digits);
        } else {
            token.kind = TTok::Integer;
            const auto [end, error] = std::from_chars(first, last, token.integer);
            if (error != std::errc() || end != last) Fail("Number out of range: " + digits);
        }
        return token;
    }

    TToken HexNumber(TToken& token, bool negative) {
        ++pos_;  // '$'
        const std::size_t start = pos_;
        while (pos_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[pos_])))
            ++pos_;
        const std::string_view digits = text_.substr(start, pos_ - start);
        std::uint64_t value = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
            (pos_ < text_.size() && IsIdentChar(text_[pos_])))
            Fail("Invalid hexadecimal number");
        // $FFFFFFFF and the like keep their bit pattern as a 64-bit value.
        token.kind = TTok::Integer;
        token.integer = static_cast<std::int64_t>(value);
        if (negative) token.integer = -token.integer;
        return token;
    }

    // Quoted parts and character codes written next to each other make one string.
    TToken String(TToken& token) {
        token.kind = TTok::String;
        while (pos_ < text_.size() && (text_[pos_] == '\'' || text_[pos_] == '#')) {
            if (text_[pos_] == '\'') {
                Quoted(token.text);
            } else {
                CharCode(token.text);
            }
        }
        return token;
    }

    void Quoted(std::string& out) {
        ++pos_;
        while (true) {
            if (pos_ >= text_.size() || text_[pos_] == '\n' || text_[pos_] == '\r')
                Fail("Unterminated string");
            const char c = text_[pos_];
            if (c == '\'') {
                if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
                    out += '\'';
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                return;
            }
            const std::size_t length = Utf8SequenceLength(text_, pos_);
            if (length == 0) Fail("Invalid UTF-8 in string");
            out.append(text_.substr(pos_, length));
            pos_ += length;
        }
    }

    void CharCode(std::string& out) {
        ++pos_;  // '#'
        const bool hex = pos_ < text_.size() && text_[pos_] == '$';
        if (hex) ++pos_;
        const std::size_t start = pos_;
        while (pos_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[pos_])) &&
               (hex || IsDigit(text_[pos_])))
            ++pos_;
        const std::string_view digits = text_.substr(start, pos_ - start);
        std::uint32_t cp = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), cp, hex ? 16 : 10);
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
            cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            Fail("Invalid character code #" + std::string(hex ? "$" : "") + std::string(digits));
        AppendUtf8(out, static_cast<char32_t>(cp));
    }

    std::string_view text_;
    std::string fileName_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

class TParser {
public:
    TParser(std::string_view text, std::string_view fileName)
        : lexer_(text, std::string(fileName)) {
        Advance();
    }

    TDescObject Root() {
        if (token_.kind == TTok::End) lexer_.Fail("The description is empty");
        TDescObject root = Object(0);
        if (token_.kind != TTok::End)
            Fail("Text after the end of the description: " + Describe(token_));
        return root;
    }

private:
    void Advance() { token_ = lexer_.Next(); }

    [[noreturn]] void Fail(const std::string& message) const {
        throw EFormDescError(lexer_.FileName(), token_.line, message);
    }

    static std::string Describe(const TToken& token) {
        switch (token.kind) {
            case TTok::End:
                return "the end of the text";
            case TTok::Ident:
                return "'" + token.text + "'";
            case TTok::Integer:
            case TTok::Float:
                return "a number";
            case TTok::String:
                return "a string";
            case TTok::Symbol:
                return "'" + token.text + "'";
        }
        return {};
    }

    bool IsKeyword(const char* word) const {
        return token_.kind == TTok::Ident && SameText(token_.text, word);
    }
    bool IsSymbol(char symbol) const {
        return token_.kind == TTok::Symbol && token_.text[0] == symbol;
    }

    void ExpectSymbol(char symbol) {
        if (!IsSymbol(symbol))
            Fail(std::string("Expected '") + symbol + "' but found " + Describe(token_));
        Advance();
    }

    std::string ExpectIdent(const char* what) {
        if (token_.kind != TTok::Ident)
            Fail(std::string("Expected ") + what + " but found " + Describe(token_));
        std::string text = token_.text;
        Advance();
        return text;
    }

    void CheckDepth(int depth) const {
        if (depth > kMaxDepth) Fail("Nested too deeply (more than 64 levels)");
    }

    TDescObject Object(int depth) {
        CheckDepth(depth);
        TDescObject object;
        object.line = token_.line;
        if (IsKeyword("inherited")) {
            object.inherited = true;
        } else if (!IsKeyword("object")) {
            Fail("Expected 'object' or 'inherited' but found " + Describe(token_));
        }
        Advance();
        object.name = ExpectIdent("a component name");
        ExpectSymbol(':');
        object.className = ExpectIdent("a class name");
        while (!IsKeyword("end")) {
            if (IsKeyword("object") || IsKeyword("inherited")) {
                object.children.push_back(Object(depth + 1));
            } else if (token_.kind == TTok::Ident) {
                if (!object.children.empty())
                    Fail("Property " + token_.text + " must come before the nested objects");
                object.properties.push_back(Property(depth));
            } else {
                Fail("Expected a property, an object or 'end' but found " + Describe(token_));
            }
        }
        Advance();
        return object;
    }

    TDescProperty Property(int depth) {
        TDescProperty property;
        property.line = token_.line;
        property.path = DottedIdent("a property name");
        ExpectSymbol('=');
        property.value = Value(depth + 1);
        return property;
    }

    std::string DottedIdent(const char* what) {
        std::string path = ExpectIdent(what);
        while (IsSymbol('.')) {
            Advance();
            path += "." + ExpectIdent(what);
        }
        return path;
    }

    TDescValue Value(int depth) {
        CheckDepth(depth);
        TDescValue value;
        value.line = token_.line;
        switch (token_.kind) {
            case TTok::Integer:
                value.kind = TDescValue::TKind::Integer;
                value.integer = token_.integer;
                Advance();
                return value;
            case TTok::Float:
                value.kind = TDescValue::TKind::Float;
                value.number = token_.number;
                Advance();
                return value;
            case TTok::String:
                value.kind = TDescValue::TKind::String;
                value.text = Concatenation();
                return value;
            case TTok::Ident:
                if (IsKeyword("end") || IsKeyword("object") || IsKeyword("inherited") ||
                    IsKeyword("item"))
                    break;
                value.kind = TDescValue::TKind::Ident;
                value.text = DottedIdent("a name");
                return value;
            default:
                break;
        }
        if (IsSymbol('[')) return Set(value);
        if (IsSymbol('(')) return List(value, depth);
        if (IsSymbol('<')) return Collection(value, depth);
        Fail("Expected a property value but found " + Describe(token_));
    }

    // 'a' + 'b' (the parts may stand on separate lines).
    std::string Concatenation() {
        std::string text = token_.text;
        Advance();
        while (IsSymbol('+')) {
            Advance();
            if (token_.kind != TTok::String)
                Fail("Expected a string after '+' but found " + Describe(token_));
            text += token_.text;
            Advance();
        }
        return text;
    }

    TDescValue Set(TDescValue& value) {
        value.kind = TDescValue::TKind::Set;
        Advance();
        if (!IsSymbol(']')) {
            value.names.push_back(ExpectIdent("a set element"));
            while (IsSymbol(',')) {
                Advance();
                value.names.push_back(ExpectIdent("a set element"));
            }
        }
        ExpectSymbol(']');
        return value;
    }

    TDescValue List(TDescValue& value, int depth) {
        value.kind = TDescValue::TKind::List;
        Advance();
        while (!IsSymbol(')')) {
            if (token_.kind == TTok::End) Fail("Unterminated list: expected ')'");
            TDescValue element = Value(depth + 1);
            if (element.kind != TDescValue::TKind::String &&
                element.kind != TDescValue::TKind::Integer &&
                element.kind != TDescValue::TKind::Float &&
                element.kind != TDescValue::TKind::Ident)
                throw EFormDescError(lexer_.FileName(), element.line,
                                     "A list holds strings, numbers and names only");
            value.items.push_back(std::move(element));
        }
        Advance();
        return value;
    }

    TDescValue Collection(TDescValue& value, int depth) {
        value.kind = TDescValue::TKind::Collection;
        Advance();
        while (!IsSymbol('>')) {
            if (!IsKeyword("item")) Fail("Expected 'item' or '>' but found " + Describe(token_));
            TDescItem item;
            item.line = token_.line;
            Advance();
            while (!IsKeyword("end")) {
                if (token_.kind != TTok::Ident)
                    Fail("Expected a property or 'end' but found " + Describe(token_));
                item.properties.push_back(Property(depth + 1));
            }
            Advance();
            value.elements.push_back(std::move(item));
        }
        Advance();
        return value;
    }

    TLexer lexer_;
    TToken token_;
};

}  // namespace

TDescObject ParseFormDescription(std::string_view text, std::string_view fileName) {
    TParser parser(text, fileName);
    return parser.Root();
}

std::string FormDescriptionClassName(std::string_view text) {
    try {
        TLexer lexer(text, "");
        const TToken keyword = lexer.Next();
        if (keyword.kind != TTok::Ident ||
            (!SameText(keyword.text, "object") && !SameText(keyword.text, "inherited")))
            return {};
        if (lexer.Next().kind != TTok::Ident) return {};
        const TToken colon = lexer.Next();
        if (colon.kind != TTok::Symbol || colon.text != ":") return {};
        const TToken cls = lexer.Next();
        return cls.kind == TTok::Ident ? cls.text : std::string();
    } catch (const EFormDescError&) {
        return {};
    }
}

}  // namespace kv
