// The edit-mask engine behind the platform's mask edits: parses an edit mask and applies it to
// texts, without any control attached, so the mask-edit control, re-formatting helpers and
// checks share one set of rules.
//
// An edit mask has up to three fields separated by ';': the mask itself, the save-literals flag
// ("0" = the edit's Text holds only the typed characters; anything else or missing = Text holds
// the literals too) and the blank character shown in positions not typed yet ('_' when
// missing). Mask characters:
//   0 digit, required        9 digit, optional        # digit, '+' or '-', optional
//   L letter, required       l letter, optional
//   A letter or digit, req.  a letter or digit, opt.
//   C any character, req.    c any character, optional
//   >  upper case from here  <  lower case from here  <>  no case conversion from here
//   \  the next character is a literal     _  a literal blank
//   :  the time separator    /  the date separator (both from the format settings)
//   !  anywhere: optional characters are leading blanks, not trailing ones
// Every other character is a literal. Letters are ASCII letters and every character outside
// ASCII (ideographs among them); digits are ASCII digits.
//
// Two texts belong to a masked edit: the edit text (what the control shows, one character per
// mask position, the blank character where nothing is typed) and the Text (what the program
// reads and writes: blanks as spaces, with or without the literals as the flag says). All texts
// are UTF-8; positions count characters; a byte that is no UTF-8 is read as the character of
// the same number (Latin-1), so every answer is valid UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/SysUtils.h"

namespace kv {

enum class TMaskCharKind : std::uint8_t {
    Literal,
    DigitRequired,   // 0
    DigitOptional,   // 9
    DigitOrSign,     // #
    LetterRequired,  // L
    LetterOptional,  // l
    AlnumRequired,   // A
    AlnumOptional,   // a
    AnyRequired,     // C
    AnyOptional,     // c
};

enum class TMaskCase : std::uint8_t { None, Upper, Lower };

struct TMaskPosition {
    TMaskCharKind Kind = TMaskCharKind::Literal;
    TMaskCase Case = TMaskCase::None;
    char32_t Literal = 0;  // the character shown, for literal positions
};

inline constexpr char32_t kDefaultMaskBlank = U'_';

class TEditMask {
public:
    // No mask: every text is taken as it is.
    TEditMask() = default;
    // The separators for ':' and '/' are read from settings once, here.
    explicit TEditMask(std::string_view editMask, const TFormatSettings& settings = FormatSettings);

    const std::string& EditMask() const noexcept { return editMask_; }
    // False when the mask has no positions at all (an empty mask).
    bool IsMasked() const noexcept { return !positions_.empty(); }
    bool SaveLiterals() const noexcept { return saveLiterals_; }
    char32_t Blank() const noexcept { return blank_; }
    bool LeadingBlanks() const noexcept { return leadingBlanks_; }

    // Number of positions, i.e. characters of the edit text.
    int Length() const noexcept { return static_cast<int>(positions_.size()); }
    // The position's rule; pos must lie in 0..Length()-1.
    const TMaskPosition& At(int pos) const { return positions_.at(static_cast<size_t>(pos)); }
    bool IsLiteral(int pos) const;
    bool IsRequired(int pos) const;
    // The first input position at or after pos, or Length() when none is left.
    int NextInputPos(int pos) const;

    // The character that goes into pos when ch is typed there (letter case converted as the
    // mask says), or nullopt when pos is a literal, outside the mask, or rejects ch.
    std::optional<char32_t> Accept(int pos, char32_t ch) const;
    bool Accepts(int pos, char32_t ch) const { return Accept(pos, ch).has_value(); }

    // The edit text of an empty field: literals in place, the blank character elsewhere.
    std::string EmptyEditText() const;
    // The Text of an empty field: the literals with spaces between them when literals are
    // saved, otherwise empty.
    std::string EmptyText() const { return TextOf(EmptyEditText()); }

    // The edit text for typed characters without literals: they fill the input positions from
    // the left (from the right with '!'); positions left over show the blank character, and
    // characters beyond the input positions are dropped.
    std::string FormatValue(std::string_view raw) const;
    // The edit text after the edit's Text is set to text: with saved literals a text of the
    // mask's length with every literal in place maps position by position, and any other text
    // fills each run of input positions with the characters up to the literal that closes it
    // (so "1/5/2024" and "01052024" both fit "99/99/9999"); without, as FormatValue.
    std::string EditTextFor(std::string_view text) const;
    // The value held by an edit text: with literals, one character per position with blanks as
    // spaces; without, the input characters only, trailing blanks trimmed (leading ones with
    // '!'). An edit text shorter than the mask counts as blank at the missing positions.
    std::string ExtractText(std::string_view editText, bool withLiterals) const;
    // The edit's Text for an edit text: ExtractText with the mask's own flag.
    std::string TextOf(std::string_view editText) const {
        return ExtractText(editText, saveLiterals_);
    }

    // True when no input position of editText holds a typed character.
    bool IsEmpty(std::string_view editText) const;
    // The first position that makes editText an incomplete or wrong entry (a required position
    // left blank, a character the position rejects, a changed literal, a text longer than the
    // mask), or -1 when the entry is complete.
    int FirstInvalidPos(std::string_view editText) const;
    bool IsValid(std::string_view editText) const { return FirstInvalidPos(editText) < 0; }

private:
    bool IsUnfilled(char32_t ch) const { return ch == blank_ || ch == U' '; }
    bool LiteralsInPlace(const std::u32string& text) const;
    std::u32string FillGroupsFrom(const std::u32string& text) const;

    std::string editMask_;
    std::vector<TMaskPosition> positions_;
    bool saveLiterals_ = true;
    char32_t blank_ = kDefaultMaskBlank;
    bool leadingBlanks_ = false;
};

// value applied to editMask as the edit's Text, answered with the literals and with blanks as
// spaces; an empty mask answers value unchanged.
std::string FormatMaskText(std::string_view editMask, std::string_view value);

}  // namespace kv
