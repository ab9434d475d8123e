// StdCtrls: edits and memos.
#include <algorithm>

#include "platform/core/SysUtils.h"
#include "platform/ui/EditPublish.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/Widgetset.h"

namespace kv {

KV_REGISTER_CLASS(TEdit);
KV_REGISTER_CLASS(TMemo);

namespace {

bool IsLoading(const TComponent& component) {
    return component.ComponentState().Contains(csLoading);
}

// The longest start of text whose code-page length is at most room.
std::string FitInto(std::string_view text, int room) {
    int used = 0;
    std::size_t end = 0;
    for (int n = 1; n <= CharCount(text); ++n) {
        const std::size_t next = ByteOffset(text, n);
        const int width = CodePageLength(text.substr(end, next - end));
        if (used + width > room) break;
        used += width;
        end = next;
    }
    return std::string(text.substr(0, end));
}

// Normalises every line break to CR LF.
std::string CrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

// ---- TCustomEdit

KV_PUBLISHED(TCustomEdit) {}

KV_PUBLISHED(TEdit) {
    PublishEditMembers(b,
                       "Align Anchors AutoSelect AutoSize BorderStyle CharCase Color Enabled Font "
                       "HideSelection ImeMode ImeName MaxLength ParentColor ParentFont "
                       "ParentShowHint PasswordChar PopupMenu ReadOnly ShowHint TabOrder TabStop "
                       "Text Visible OnChange OnClick OnDblClick OnEnter OnExit OnKeyDown "
                       "OnKeyPress OnKeyUp OnMouseDown OnMouseMove OnMouseUp");
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 121, 21);
}

void TCustomEdit::SetAutoSize(bool value) {
    if (autoSize_ == value) return;
    autoSize_ = value;
    AdjustHeight();
}

void TCustomEdit::AdjustHeight() {
    if (!autoSize_ || MultiLine() || IsLoading(*this)) return;
    SetHeight(Widgetset().TextExtent(*Font(), "Wg").Height + 8);
}

void TCustomEdit::SetBorderStyle(TFormBorderStyle value) {
    borderStyle_ = value == bsNone ? bsNone : bsSingle;
    Invalidate();
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
    if (charCase_ == value) return;
    charCase_ = value;
    // The platform's edit converts what it holds when the case rule changes.
    if (value == ecUpperCase) SetText(AnsiUpperCase(Text()));
    if (value == ecLowerCase) SetText(AnsiLowerCase(Text()));
}

void TCustomEdit::SetMaxLength(int value) {
    maxLength_ = std::max(value, 0);
}

void TCustomEdit::SetPasswordChar(char value) {
    if (passwordChar_ == value) return;
    passwordChar_ = value;
    Invalidate();
}

void TCustomEdit::SetTextValue(const std::string& value) {
    buffer_.SetText(value);
    modified_ = false;
}

void TCustomEdit::SetSelText(const std::string& value) {
    std::string text = value;
    if (charCase_ == ecUpperCase) text = AnsiUpperCase(text);
    if (charCase_ == ecLowerCase) text = AnsiLowerCase(text);
    buffer_.ReplaceSelection(text);
    UserChanged();
}

void TCustomEdit::ClearSelection() {
    if (buffer_.SelLength() == 0) return;
    buffer_.Backspace();
    UserChanged();
}

void TCustomEdit::Change() {
    OnChange(this);
}

void TCustomEdit::UserChanged() {
    modified_ = true;
    Perform(CM_TEXTCHANGED);
}

bool TCustomEdit::UserInsert(std::string text) {
    if (readOnly_) return false;
    if (charCase_ == ecUpperCase) text = AnsiUpperCase(text);
    if (charCase_ == ecLowerCase) text = AnsiLowerCase(text);
    if (maxLength_ > 0) {
        const int room =
            maxLength_ - CodePageLength(buffer_.Text()) + CodePageLength(buffer_.SelText());
        text = FitInto(text, std::max(room, 0));
    }
    if (text.empty() && buffer_.SelLength() == 0) return false;
    buffer_.ReplaceSelection(text);
    UserChanged();
    return true;
}

void TCustomEdit::DefaultKeyPress(char& key) {
    const auto ch = static_cast<unsigned char>(key);
    if (ch == 8) {
        if (!readOnly_ && buffer_.Backspace()) UserChanged();
    } else if (ch >= 32 && ch != 127) {
        UserInsert(std::string(1, key));
    }
}

void TCustomEdit::InputMethodText(const std::string& text) {
    UserInsert(text);
}

void TCustomEdit::DefaultKeyDown(Word& key, TShiftState shift) {
    const bool extend = shift.Contains(ssShift);
    switch (key) {
        case VK_LEFT:
            buffer_.MoveCaret(buffer_.Caret() - 1, extend);
            break;
        case VK_RIGHT:
            buffer_.MoveCaret(buffer_.Caret() + 1, extend);
            break;
        case VK_HOME:
            buffer_.MoveCaret(
                MultiLine() ? buffer_.LineStart(buffer_.LineFromChar(buffer_.Caret())) : 0, extend);
            break;
        case VK_END: {
            const int line = buffer_.LineFromChar(buffer_.Caret());
            buffer_.MoveCaret(
                MultiLine() ? buffer_.LineStart(line) + buffer_.LineLength(line) : buffer_.Length(),
                extend);
            break;
        }
        case VK_DELETE:
            if (!readOnly_ && buffer_.DeleteForward()) UserChanged();
            break;
        default:
            break;
    }
}

void TCustomEdit::DoEnter() {
    if (autoSelect_ && !MultiLine()) buffer_.SelectAll();
    TWinControl::DoEnter();
}

void TCustomEdit::WndProc(TMessage& message) {
    const auto life = LifeToken();
    TWinControl::WndProc(message);
    if (life.expired()) return;
    if (message.Msg == CM_TEXTCHANGED) Change();
    if (message.Msg == CM_FONTCHANGED) AdjustHeight();
}

void TCustomEdit::Loaded() {
    TWinControl::Loaded();
    AdjustHeight();
}

// ---- TCustomMemo

KV_PUBLISHED(TCustomMemo) {}

KV_PUBLISHED(TMemo) {
    PublishControlMembers(b, "Align");
    b.Property("Alignment", &T::Alignment, &T::SetAlignment).Default(taLeftJustify);
    PublishEditMembers(b, "Anchors BorderStyle Color Enabled Font HideSelection ImeMode ImeName");
    b.Property("Lines", &T::Lines, &T::SetLines);
    PublishEditMembers(b, "MaxLength ParentColor ParentFont ParentShowHint PopupMenu ReadOnly");
    b.Property("ScrollBars", &T::ScrollBars, &T::SetScrollBars).Default(ssNone);
    PublishControlMembers(b, "ShowHint TabOrder TabStop Visible");
    b.Property("WantReturns", &T::WantReturns, &T::SetWantReturns).Default(1);
    b.Property("WantTabs", &T::WantTabs, &T::SetWantTabs).Default(0);
    b.Property("WordWrap", &T::WordWrap, &T::SetWordWrap).Default(1);
    PublishEditMembers(b,
                       "OnChange OnClick OnDblClick OnEnter OnExit OnKeyDown OnKeyPress OnKeyUp "
                       "OnMouseDown OnMouseMove OnMouseUp");
}

TCustomMemo::TCustomMemo(TComponent* owner)
    : TCustomEdit(owner), lines_(std::make_unique<TMemoStrings>(*this)) {
    SetBounds(0, 0, 185, 89);
    SetAutoSize(false);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::SetLines(TStrings* value) {
    if (value != nullptr) lines_->Assign(value);
}

TPoint TCustomMemo::CaretPos() const {
    const int start = buffer_.SelStart();
    const int line = buffer_.LineFromChar(start);
    return Point(start - buffer_.LineStart(line), line);
}

void TCustomMemo::SetCaretPos(TPoint value) {
    const int line = std::clamp(value.Y, 0, buffer_.LineCount() - 1);
    const int column = std::clamp(value.X, 0, buffer_.LineLength(line));
    buffer_.SetSel(buffer_.LineStart(line) + column, 0);
}

LRESULT TCustomMemo::DialogCode() const {
    LRESULT code = TCustomEdit::DialogCode();
    if (wantReturns_) code |= DLGC_WANTALLKEYS;
    if (wantTabs_) code |= DLGC_WANTTAB;
    return code;
}

void TCustomMemo::DefaultKeyPress(char& key) {
    if (key == '\r') {
        if (wantReturns_) UserInsert("\r\n");
        return;
    }
    if (key == '\t') {
        if (wantTabs_) UserInsert("\t");
        return;
    }
    TCustomEdit::DefaultKeyPress(key);
}

void TCustomMemo::DefaultKeyDown(Word& key, TShiftState shift) {
    if (key != VK_UP && key != VK_DOWN) {
        TCustomEdit::DefaultKeyDown(key, shift);
        return;
    }
    const int caret = buffer_.Caret();
    const int line = buffer_.LineFromChar(caret);
    const int target = key == VK_UP ? line - 1 : line + 1;
    if (target < 0 || target >= buffer_.LineCount()) return;
    const int column = std::min(caret - buffer_.LineStart(line), buffer_.LineLength(target));
    buffer_.MoveCaret(buffer_.LineStart(target) + column, shift.Contains(ssShift));
}

// ---- TMemoStrings

KV_PUBLISHED(TMemoStrings) {}

int TMemoStrings::Count() const {
    const TEditBuffer& buffer = memo_.buffer_;
    int count = buffer.LineCount();
    if (buffer.LineLength(count - 1) == 0) --count;  // the empty line after the last break
    return count;
}

std::string TMemoStrings::Get(int index) const {
    CheckIndex(index);
    const TEditBuffer& buffer = memo_.buffer_;
    const std::string& text = buffer.Text();
    const int start = buffer.LineStart(index);
    const std::size_t from = ByteOffset(text, start);
    const std::size_t to = ByteOffset(text, start + buffer.LineLength(index));
    return text.substr(from, to - from);
}

// A line inserted where a line starts goes in front of it with its own break; past the last
// line it is appended after a break.
void TMemoStrings::Insert(int index, const std::string& s) {
    if (index < 0 || index > Count()) IndexError(index);
    const TEditBuffer& buffer = memo_.buffer_;
    std::string text = buffer.Text();
    const std::string line = CrLf(s);
    if (index < buffer.LineCount()) {
        text.insert(ByteOffset(text, buffer.LineStart(index)), line + "\r\n");
    } else {
        text += "\r\n" + line;
    }
    memo_.SetText(text);
}

void TMemoStrings::Delete(int index) {
    CheckIndex(index);
    const TEditBuffer& buffer = memo_.buffer_;
    std::string text = buffer.Text();
    const std::size_t from = ByteOffset(text, buffer.LineStart(index));
    const std::size_t to = index + 1 < buffer.LineCount()
                               ? ByteOffset(text, buffer.LineStart(index + 1))
                               : text.size();
    text.erase(from, to - from);
    memo_.SetText(text);
}

void TMemoStrings::Put(int index, const std::string& s) {
    CheckIndex(index);
    const TEditBuffer& buffer = memo_.buffer_;
    std::string text = buffer.Text();
    const int start = buffer.LineStart(index);
    const std::size_t from = ByteOffset(text, start);
    const std::size_t to = ByteOffset(text, start + buffer.LineLength(index));
    text.replace(from, to - from, CrLf(s));
    memo_.SetText(text);
}

void TMemoStrings::Clear() {
    memo_.SetText("");
}

std::string TMemoStrings::Text() const {
    return memo_.Text();
}

void TMemoStrings::SetText(std::string_view text) {
    memo_.SetText(CrLf(text));
}

}  // namespace kv
