#include "platform/ui/MaskUtils.h"

#include <algorithm>

#include "platform/core/Utf8.h"

namespace kv {

namespace {

bool IsDigit(char32_t ch) {
    return ch >= U'0' && ch <= U'9';
}

// Ideographs and other scripts count as letters; controls do not.
bool IsLetter(char32_t ch) {
    if ((ch >= U'a' && ch <= U'z') || (ch >= U'A' && ch <= U'Z')) return true;
    return ch >= 0xA0;
}

bool IsPrintable(char32_t ch) {
    return ch >= 0x20 && ch != 0x7F;
}

bool KindAccepts(TMaskCharKind kind, char32_t ch) {
    switch (kind) {
        case TMaskCharKind::Literal:
            return false;
        case TMaskCharKind::DigitRequired:
        case TMaskCharKind::DigitOptional:
            return IsDigit(ch);
        case TMaskCharKind::DigitOrSign:
            return IsDigit(ch) || ch == U'+' || ch == U'-';
        case TMaskCharKind::LetterRequired:
        case TMaskCharKind::LetterOptional:
            return IsLetter(ch);
        case TMaskCharKind::AlnumRequired:
        case TMaskCharKind::AlnumOptional:
            return IsLetter(ch) || IsDigit(ch);
        case TMaskCharKind::AnyRequired:
        case TMaskCharKind::AnyOptional:
            return IsPrintable(ch);
    }
    return false;
}

char32_t ApplyCase(TMaskCase rule, char32_t ch) {
    if (rule == TMaskCase::Upper && ch >= U'a' && ch <= U'z') return ch - (U'a' - U'A');
    if (rule == TMaskCase::Lower && ch >= U'A' && ch <= U'Z') return ch + (U'a' - U'A');
    return ch;
}

std::optional<TMaskCharKind> InputKind(char32_t ch) {
    switch (ch) {
        case U'0':
            return TMaskCharKind::DigitRequired;
        case U'9':
            return TMaskCharKind::DigitOptional;
        case U'#':
            return TMaskCharKind::DigitOrSign;
        case U'L':
            return TMaskCharKind::LetterRequired;
        case U'l':
            return TMaskCharKind::LetterOptional;
        case U'A':
            return TMaskCharKind::AlnumRequired;
        case U'a':
            return TMaskCharKind::AlnumOptional;
        case U'C':
            return TMaskCharKind::AnyRequired;
        case U'c':
            return TMaskCharKind::AnyOptional;
        default:
            return std::nullopt;
    }
}

// The two flag fields after the mask: "save-literals;blank".
void ReadFields(const std::u32string& fields, bool& saveLiterals, char32_t& blank) {
    size_t sep = fields.find(U';');
    std::u32string save = fields.substr(0, sep);
    saveLiterals = save.empty() || save.front() != U'0';
    if (sep != std::u32string::npos && sep + 1 < fields.size()) blank = fields[sep + 1];
}

}  // namespace

TEditMask::TEditMask(std::string_view editMask, const TFormatSettings& settings)
    : editMask_(editMask) {
    std::u32string m = Utf8ToChars(editMask);
    TMaskCase rule = TMaskCase::None;
    auto literal = [&](char32_t ch) { positions_.push_back({TMaskCharKind::Literal, rule, ch}); };
    size_t i = 0;
    for (; i < m.size() && m[i] != U';'; ++i) {
        char32_t ch = m[i];
        if (auto kind = InputKind(ch)) {
            positions_.push_back({*kind, rule, 0});
        } else if (ch == U'\\') {
            if (i + 1 < m.size()) literal(m[++i]);  // a trailing backslash escapes nothing
        } else if (ch == U'!') {
            leadingBlanks_ = true;
        } else if (ch == U'>') {
            rule = TMaskCase::Upper;
        } else if (ch == U'<') {
            bool none = i + 1 < m.size() && m[i + 1] == U'>';
            rule = none ? TMaskCase::None : TMaskCase::Lower;
            if (none) ++i;
        } else if (ch == U'_') {
            literal(U' ');
        } else if (ch == U':') {
            literal(static_cast<unsigned char>(settings.TimeSeparator));
        } else if (ch == U'/') {
            literal(static_cast<unsigned char>(settings.DateSeparator));
        } else {
            literal(ch);
        }
    }
    if (i < m.size()) ReadFields(m.substr(i + 1), saveLiterals_, blank_);
}

bool TEditMask::IsLiteral(int pos) const {
    return At(pos).Kind == TMaskCharKind::Literal;
}

bool TEditMask::IsRequired(int pos) const {
    switch (At(pos).Kind) {
        case TMaskCharKind::DigitRequired:
        case TMaskCharKind::LetterRequired:
        case TMaskCharKind::AlnumRequired:
        case TMaskCharKind::AnyRequired:
            return true;
        default:
            return false;
    }
}

int TEditMask::NextInputPos(int pos) const {
    for (int p = std::max(pos, 0); p < Length(); ++p) {
        if (!IsLiteral(p)) return p;
    }
    return Length();
}

std::optional<char32_t> TEditMask::Accept(int pos, char32_t ch) const {
    if (pos < 0 || pos >= Length()) return std::nullopt;
    const TMaskPosition& rule = At(pos);
    if (!KindAccepts(rule.Kind, ch)) return std::nullopt;
    return ApplyCase(rule.Case, ch);
}

std::string TEditMask::EmptyEditText() const {
    return FormatValue({});
}

std::string TEditMask::FormatValue(std::string_view raw) const {
    if (!IsMasked()) return std::string(raw);
    std::u32string value = Utf8ToChars(raw);
    std::u32string out(positions_.size(), blank_);
    auto fill = [this](char32_t ch) { return ch == U' ' ? blank_ : ch; };
    if (!leadingBlanks_) {
        size_t k = 0;
        for (size_t p = 0; p < positions_.size(); ++p) {
            const TMaskPosition& rule = positions_[p];
            if (rule.Kind == TMaskCharKind::Literal) {
                out[p] = rule.Literal;
            } else if (k < value.size()) {
                out[p] = fill(value[k++]);
            }
        }
    } else {
        size_t k = value.size();
        for (size_t p = positions_.size(); p-- > 0;) {
            const TMaskPosition& rule = positions_[p];
            if (rule.Kind == TMaskCharKind::Literal) {
                out[p] = rule.Literal;
            } else if (k > 0) {
                out[p] = fill(value[--k]);
            }
        }
    }
    return CharsToUtf8(out);
}

bool TEditMask::LiteralsInPlace(const std::u32string& text) const {
    if (text.size() != positions_.size()) return false;
    for (size_t p = 0; p < text.size(); ++p) {
        const TMaskPosition& rule = positions_[p];
        if (rule.Kind == TMaskCharKind::Literal && text[p] != rule.Literal) return false;
    }
    return true;
}

std::u32string TEditMask::FillGroupsFrom(const std::u32string& text) const {
    const size_t n = positions_.size();
    if (LiteralsInPlace(text)) {
        // A full text with every literal in place (what the edit's Text gives) maps position
        // by position, so blanks inside a run stay where they are.
        std::u32string out = text;
        for (size_t p = 0; p < n; ++p) {
            if (positions_[p].Kind != TMaskCharKind::Literal && out[p] == U' ') out[p] = blank_;
        }
        return out;
    }
    std::u32string out;
    out.reserve(n);
    size_t k = 0;
    size_t pos = 0;
    while (pos < n) {
        if (positions_[pos].Kind == TMaskCharKind::Literal) {
            char32_t lit = positions_[pos++].Literal;
            out.push_back(lit);
            if (k < text.size() && text[k] == lit) ++k;
            continue;
        }
        size_t end = pos;
        while (end < n && positions_[end].Kind != TMaskCharKind::Literal)
            ++end;
        // The run takes the characters up to the literal that closes it, at most its size.
        std::optional<char32_t> closer;
        if (end < n) closer = positions_[end].Literal;
        size_t take = 0;
        while (take < end - pos && k + take < text.size() && text[k + take] != closer)
            ++take;
        std::u32string run = text.substr(k, take);
        std::replace(run.begin(), run.end(), U' ', blank_);
        std::u32string pad(end - pos - take, blank_);
        out += leadingBlanks_ ? pad + run : run + pad;
        k += take;
        pos = end;
    }
    return out;
}

std::string TEditMask::EditTextFor(std::string_view text) const {
    if (!IsMasked()) return std::string(text);
    if (!saveLiterals_) return FormatValue(text);
    return CharsToUtf8(FillGroupsFrom(Utf8ToChars(text)));
}

std::string TEditMask::ExtractText(std::string_view editText, bool withLiterals) const {
    if (!IsMasked()) return std::string(editText);
    std::u32string t = Utf8ToChars(editText);
    std::u32string out;
    out.reserve(positions_.size());
    for (size_t p = 0; p < positions_.size(); ++p) {
        const TMaskPosition& rule = positions_[p];
        if (rule.Kind == TMaskCharKind::Literal) {
            if (withLiterals) out.push_back(rule.Literal);
            continue;
        }
        char32_t ch = p < t.size() ? t[p] : blank_;
        out.push_back(IsUnfilled(ch) ? U' ' : ch);
    }
    if (!withLiterals) {
        if (leadingBlanks_) {
            out.erase(0, out.find_first_not_of(U' '));
        } else {
            size_t last = out.find_last_not_of(U' ');
            out.erase(last == std::u32string::npos ? 0 : last + 1);
        }
    }
    return CharsToUtf8(out);
}

bool TEditMask::IsEmpty(std::string_view editText) const {
    std::u32string t = Utf8ToChars(editText);
    for (size_t p = 0; p < positions_.size() && p < t.size(); ++p) {
        if (positions_[p].Kind != TMaskCharKind::Literal && !IsUnfilled(t[p])) return false;
    }
    return true;
}

int TEditMask::FirstInvalidPos(std::string_view editText) const {
    if (!IsMasked()) return -1;
    std::u32string t = Utf8ToChars(editText);
    for (int p = 0; p < Length(); ++p) {
        auto index = static_cast<size_t>(p);
        bool present = index < t.size();
        char32_t ch = present ? t[index] : blank_;
        if (IsLiteral(p)) {
            if (present && ch != At(p).Literal) return p;
        } else if (IsUnfilled(ch)) {
            if (IsRequired(p)) return p;
        } else if (!Accepts(p, ch)) {
            return p;
        }
    }
    return t.size() > positions_.size() ? Length() : -1;
}

std::string FormatMaskText(std::string_view editMask, std::string_view value) {
    TEditMask mask(editMask);
    if (!mask.IsMasked()) return std::string(value);
    return mask.ExtractText(mask.EditTextFor(value), true);
}

}  // namespace kv
