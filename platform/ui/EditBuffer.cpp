#include "platform/ui/EditBuffer.h"

#include <algorithm>
#include <cstdlib>

#include "platform/core/Utf8.h"

namespace kv {

namespace {

// The bytes of the character at text[i]; a byte that starts no sequence is one character.
std::size_t SequenceAt(std::string_view text, std::size_t i) {
    return std::max<std::size_t>(1, Utf8SequenceLength(text, i));
}

}  // namespace

int CharCount(std::string_view text) {
    int count = 0;
    for (std::size_t i = 0; i < text.size(); i += SequenceAt(text, i))
        ++count;
    return count;
}

int CodePageLength(std::string_view text) {
    int length = 0;
    for (std::size_t i = 0; i < text.size(); i += SequenceAt(text, i))
        length += static_cast<unsigned char>(text[i]) < 0x80 ? 1 : 2;
    return length;
}

std::size_t ByteOffset(std::string_view text, int index) {
    std::size_t i = 0;
    for (int n = 0; n < index && i < text.size(); ++n)
        i += SequenceAt(text, i);
    return i;
}

void TEditBuffer::SetText(std::string_view text) {
    text_ = std::string(text);
    anchor_ = caret_ = 0;
}

int TEditBuffer::SelStart() const {
    return std::min(anchor_, caret_);
}

int TEditBuffer::SelLength() const {
    return std::abs(caret_ - anchor_);
}

void TEditBuffer::SetSel(int start, int length) {
    const int n = Length();
    start = std::clamp(start, 0, n);
    const int end = std::clamp(start + std::max(length, 0), start, n);
    anchor_ = Settle(start, false);
    caret_ = Settle(end, true);
}

std::string TEditBuffer::SelText() const {
    const std::size_t from = ByteOffset(text_, SelStart());
    const std::size_t to = ByteOffset(text_, SelStart() + SelLength());
    return text_.substr(from, to - from);
}

int TEditBuffer::Settle(int pos, bool forward) const {
    pos = std::clamp(pos, 0, Length());
    if (pos > 0) {
        const std::size_t at = ByteOffset(text_, pos);
        if (at < text_.size() && text_[at] == '\n' && text_[at - 1] == '\r')
            pos += forward ? 1 : -1;
    }
    return pos;
}

void TEditBuffer::MoveCaret(int pos, bool extend) {
    caret_ = Settle(pos, pos >= caret_);
    if (!extend) anchor_ = caret_;
}

void TEditBuffer::Erase(int from, int to) {
    const std::size_t a = ByteOffset(text_, from);
    const std::size_t b = ByteOffset(text_, to);
    text_.erase(a, b - a);
    PlaceCaret(a);
}

// Bytes joined by an edit may form one character where there were several (a stray lead byte
// meeting the rest of its sequence), so the caret is counted again from the bytes.
void TEditBuffer::PlaceCaret(std::size_t byte) {
    anchor_ = caret_ = std::min(CharCount(std::string_view(text_).substr(0, byte)), Length());
}

void TEditBuffer::ReplaceSelection(std::string_view text) {
    const int start = SelStart();
    Erase(start, start + SelLength());
    const std::size_t at = ByteOffset(text_, anchor_);
    text_.insert(at, text);
    PlaceCaret(at + text.size());
}

bool TEditBuffer::Backspace() {
    if (SelLength() > 0) {
        Erase(SelStart(), SelStart() + SelLength());
        return true;
    }
    if (caret_ == 0) return false;
    int from = caret_ - 1;
    const std::size_t at = ByteOffset(text_, from);
    if (from > 0 && text_[at] == '\n' && text_[at - 1] == '\r') --from;
    Erase(from, caret_);
    return true;
}

bool TEditBuffer::DeleteForward() {
    if (SelLength() > 0) {
        Erase(SelStart(), SelStart() + SelLength());
        return true;
    }
    const int n = Length();
    if (caret_ >= n) return false;
    int to = caret_ + 1;
    const std::size_t at = ByteOffset(text_, caret_);
    if (text_[at] == '\r' && at + 1 < text_.size() && text_[at + 1] == '\n') ++to;
    Erase(caret_, to);
    return true;
}

int TEditBuffer::LineCount() const {
    int lines = 1;
    for (std::size_t i = 0; i + 1 < text_.size(); ++i)
        if (text_[i] == '\r' && text_[i + 1] == '\n') ++lines;
    return lines;
}

int TEditBuffer::LineFromChar(int index) const {
    const std::size_t end = ByteOffset(text_, index);
    int line = 0;
    for (std::size_t i = 0; i + 1 < end; ++i)  // pairs that end at or before the index
        if (text_[i] == '\r' && text_[i + 1] == '\n') ++line;
    return line;
}

int TEditBuffer::LineStart(int line) const {
    if (line <= 0) return 0;
    int index = 0;
    int current = 0;
    for (std::size_t i = 0; i < text_.size(); i += SequenceAt(text_, i)) {
        ++index;
        if (text_[i] == '\n' && i > 0 && text_[i - 1] == '\r' && ++current == line) return index;
    }
    return Length();
}

int TEditBuffer::LineLength(int line) const {
    if (line < 0 || line >= LineCount()) return 0;
    const int start = LineStart(line);
    const int next = line + 1 < LineCount() ? LineStart(line + 1) - 2 : Length();
    return next - start;
}

}  // namespace kv
