// The text model of edits, memos and the edit part of combo boxes: UTF-8 text with a caret and a
// selection, counted in characters (a byte that is no UTF-8 counts as one character, so any
// text can be edited and comes back unchanged where it was not touched). Line breaks of memos
// are CR LF and count as two characters, as on the platform; the caret never stops between them.
#pragma once

#include <string>
#include <string_view>

namespace kv {

// The length of a text in bytes of a double-byte code page: a character in ASCII counts one,
// any other two (what the platform's edits count their maximum length in).
int CodePageLength(std::string_view text);
// The number of characters of a UTF-8 text.
int CharCount(std::string_view text);
// The byte offset of character index (clamped to the text).
std::size_t ByteOffset(std::string_view text, int index);

class TEditBuffer {
public:
    const std::string& Text() const { return text_; }
    // Replaces the text; the caret goes to the start and the selection is empty.
    void SetText(std::string_view text);
    int Length() const { return CharCount(text_); }

    int SelStart() const;
    int SelLength() const;
    // Selects length characters from start (clamped to the text); the caret at the end.
    void SetSel(int start, int length);
    void SelectAll() { SetSel(0, Length()); }
    std::string SelText() const;
    int Caret() const { return caret_; }
    // Moves the caret; with extend the selection runs from where it was anchored.
    void MoveCaret(int pos, bool extend);

    // Replaces the selection with text; the caret stands after it.
    void ReplaceSelection(std::string_view text);
    // The selection, else the character before the caret (a whole CR LF). False when nothing
    // was deleted.
    bool Backspace();
    // The selection, else the character after the caret (a whole CR LF).
    bool DeleteForward();

    // Lines (CR LF separated), numbered from 0.
    int LineCount() const;
    int LineFromChar(int index) const;
    // The index of the first character of line (the text's length past the last line).
    int LineStart(int line) const;
    int LineLength(int line) const;

private:
    // A caret position that does not split a CR LF pair.
    int Settle(int pos, bool forward) const;
    void Erase(int from, int to);
    void PlaceCaret(std::size_t byte);

    std::string text_;
    int anchor_ = 0;
    int caret_ = 0;
};

}  // namespace kv
