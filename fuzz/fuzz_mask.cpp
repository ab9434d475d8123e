// The editing of masked and plain edits as a user would do it: any mask and any run of keys
// must keep the edit text fitting the mask, the caret inside it, and the Text stable.
//
// Input: "mask\nkeys". In the keys, byte 1 is Backspace, 2 Delete, 3..6 Left, Right, Home and
// End, 7 selects (the next two bytes give start and length), 8 sets the program's text (up to
// the next byte 0); any other byte or UTF-8 sequence is typed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/ui/EditBuffer.h"
#include "platform/ui/Mask.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// The next character of the keys: one UTF-8 sequence, or a stray byte on its own.
char32_t NextChar(std::string_view keys, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(keys[i]);
    const std::size_t len = lead >= 0xC2 && lead <= 0xDF   ? 2
                            : lead >= 0xE0 && lead <= 0xEF ? 3
                            : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                           : 1;
    if (len == 1 || i + len > keys.size()) {
        ++i;
        return lead;
    }
    char32_t cp = lead & (0x7Fu >> len);
    for (std::size_t k = 1; k < len; ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(keys[i + k]) & 0x3Fu);
    i += len;
    return cp;
}

// Every position holds its literal, a blank, or a character the position takes as it is.
void CheckFits(const kv::TEditMask& mask, const kv::TMaskEditState& state) {
    Check(state.SelStart >= 0 && state.SelLength >= 0);
    if (!mask.IsMasked()) return;
    Check(state.SelStart + state.SelLength <= mask.Length());
    kv::TMaskEditState refit = state;
    kv::FitEditText(mask, refit);
    Check(refit.EditText == state.EditText);
    Check(kv::CharCount(state.EditText) == mask.Length());
    const std::string text = mask.TextOf(state.EditText);
    Check(mask.TextOf(mask.EditTextFor(text)) == text);
}

void Apply(const kv::TEditMask& mask, kv::TMaskEditState& state, kv::TEditBuffer& plain,
           std::string_view keys, std::size_t& i) {
    const auto op = static_cast<unsigned char>(keys[i]);
    if (op >= 1 && op <= 7) ++i;
    switch (op) {
        case 1:
            kv::MaskBackspace(mask, state);
            plain.Backspace();
            return;
        case 2:
            kv::MaskDelete(mask, state);
            plain.DeleteForward();
            return;
        case 3:
        case 4:
        case 5:
        case 6: {
            static constexpr kv::Word kKeys[] = {kv::VK_LEFT, kv::VK_RIGHT, kv::VK_HOME,
                                                 kv::VK_END};
            kv::MaskMoveCaret(mask, state, kKeys[op - 3]);
            plain.MoveCaret(op == 3 ? plain.Caret() - 1 : op == 4 ? plain.Caret() + 1 : 0, op == 6);
            return;
        }
        case 7: {
            const int start = i < keys.size() ? static_cast<unsigned char>(keys[i++]) : 0;
            const int length = i < keys.size() ? static_cast<unsigned char>(keys[i++]) : 0;
            state.SelStart = start;
            state.SelLength = length;
            kv::FitEditText(mask, state);
            plain.SetSel(start, length);
            return;
        }
        case 8: {
            const std::size_t end = std::min(keys.find('\0', i + 1), keys.size());
            const std::string_view text = keys.substr(i + 1, end - i - 1);
            state = kv::TMaskEditState{mask.EditTextFor(text), 0, 0};
            kv::FitEditText(mask, state);
            plain.SetText(text);
            i = end;
            return;
        }
        default: {
            const std::size_t from = i;
            kv::MaskTypeChar(mask, state, NextChar(keys, i));
            plain.ReplaceSelection(keys.substr(from, i - from));
            return;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    const std::string_view maskText = input.substr(0, newline);
    const std::string_view keys =
        newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1);
    const kv::TEditMask mask(maskText);
    kv::TMaskEditState state;
    kv::FitEditText(mask, state);
    kv::TEditBuffer plain;
    std::size_t i = 0;
    while (i < keys.size()) {
        Apply(mask, state, plain, keys, i);
        CheckFits(mask, state);
        Check(plain.SelStart() + plain.SelLength() <= plain.Length());
        Check(plain.LineFromChar(plain.Length()) == plain.LineCount() - 1);
    }
    (void)mask.FirstInvalidPos(state.EditText);
    return 0;
}
