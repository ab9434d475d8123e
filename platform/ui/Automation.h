// The automation interface: drives forms and controls as a user would, answers message boxes
// and modal forms from a script, and records every message box shown.
//
// Used directly by the tests and by the host shell's scripted mode. It works on any widgetset:
// input goes through TInput (Forms.h), the same paths a backend feeds real input through, so
// every event a user would raise is raised, in the same order.
//
//   auto& a = Automation();
//   a.AnswerBox(mrYes);                              // the next box is answered Yes
//   a.TypeText("frmOrder.pcMain.tsGeneral.edName", "Smith");
//   a.Click("frmOrder.btnOk");                       // the box appears and gets its answer
//   EXPECT_EQ(a.LastBox().Text, "Save the order?");
//
// Name paths: the first name is a form on the screen (or, for the relative forms taking a base
// component, a component inside the base); each further name is a child control of the
// previous one, else a component it owns, else a control anywhere inside it. Letter case is
// ignored.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Exceptions.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"

namespace kv {

class TMenuItem;

// A path that names no control, or a control that cannot take the input asked of it.
KV_DECLARE_EXCEPTION(EAutomationError, Exception);

// One message box as it was shown and answered.
struct TBoxRecord {
    std::string Caption;
    std::string Text;
    TMsgDlgType Type = mtCustom;
    TMsgDlgButtons Buttons;
    TModalResult Answer = mrNone;
    bool Scripted = false;  // answered by the script (else closed for want of an answer)
};

// One modal form (other than a message box) as it ended.
struct TModalRecord {
    std::string FormName;
    std::string FormClass;
    TModalResult Result = mrNone;
    bool Scripted = false;
};

class TAutomation {
public:
    using TModalScript = std::function<void(TCustomForm& form)>;

    // ---- finding (EAutomationError when the path names nothing)
    TCustomForm& FindForm(std::string_view name) const;
    TControl& Find(std::string_view path) const;
    TControl& Find(const TComponent& base, std::string_view path) const;
    TControl* TryFind(std::string_view path) const;
    TControl* TryFind(const TComponent& base, std::string_view path) const;
    template <class T>
    T& FindAs(std::string_view path) const {
        T* result = dynamic_cast<T*>(&Find(path));
        if (result == nullptr) WrongClass(path, T::StaticClass());
        return *result;
    }

    // ---- acting as the user. Each raises EAutomationError when the control is not showing,
    // not enabled, or on a form that takes no input (a modal form of another window is up).
    void Click(TControl& control);
    void Click(std::string_view path) { Click(Find(path)); }
    void DblClick(TControl& control);
    void DblClick(std::string_view path) { DblClick(Find(path)); }
    // Moves the focus there; raises when it does not arrive (an exit check kept it elsewhere).
    void Focus(TControl& control);
    void Focus(std::string_view path) { Focus(Find(path)); }
    // Focuses the control, then types the text (change events are the control's own).
    void TypeText(TControl& control, std::string_view text);
    void TypeText(std::string_view path, std::string_view text) { TypeText(Find(path), text); }
    // Types into the focused control.
    void TypeText(std::string_view text);
    // Presses and releases a key on the focused control (the form's key preview first).
    void PressKey(Word key, TShiftState shift = {});
    void PressKey(TControl& control, Word key, TShiftState shift = {});
    void PressKey(std::string_view path, Word key, TShiftState shift = {}) {
        PressKey(Find(path), key, shift);
    }
    // Selects an item by text or index in a control with items (lists, combo boxes, pages).
    void Select(TControl& control, const std::string& item);
    void Select(std::string_view path, const std::string& item) { Select(Find(path), item); }
    void SelectIndex(TControl& control, int index);
    void SelectIndex(std::string_view path, int index) { SelectIndex(Find(path), index); }
    // Sets a control's published "Checked" state by clicking it when it differs.
    void Check(TControl& control, bool checked);
    void Check(std::string_view path, bool checked) { Check(Find(path), checked); }
    // The form's close box.
    void CloseForm(TCustomForm& form);
    void CloseForm(std::string_view name) { CloseForm(FindForm(name)); }
    // A right click at (x, y) of the control: the right button goes down and up, then the
    // control's context menu pops up (ShowContextMenu, Menus.h).
    void RightClick(TControl& control, int x = 1, int y = 1);
    void RightClick(std::string_view path, int x = 1, int y = 1) { RightClick(Find(path), x, y); }

    // ---- menus. A menu item's path runs from the form to the menu component, then through
    // the items by name, else by caption ("&" marks and letter case ignored):
    // "frmMain.mnMain.File.N12", "frmList.muOperation.Open". An item the form owns may also
    // follow the form's name directly ("frmList.N2").
    TMenuItem& FindMenuItem(std::string_view path) const;
    TMenuItem* TryFindMenuItem(std::string_view path) const;
    // Chooses the item as the user does in its open menu: each item above it is clicked as its
    // submenu opens, then the item itself; each is checked as it is reached, and an item that
    // the opening of the menu above rebuilt is found again by name, else by caption. Raises
    // EAutomationError for an item that is in no menu, a separator, hidden or disabled (or
    // under such an item), gone once the menu above opened, or whose form is not showing or
    // takes no input. Errors of the OnClick handlers go to the application, as input's do.
    void ClickMenuItem(TMenuItem& item);
    void ClickMenuItem(std::string_view path) { ClickMenuItem(FindMenuItem(path)); }

    // ---- the script: answers used in order by the boxes and modal forms that match them.
    // A box answer given by result or by button name; textContains limits it to boxes whose
    // text contains that text. A box without such a button raises EAutomationError out of the
    // modal loop (a script error).
    void AnswerBox(TModalResult answer, std::string textContains = {});
    void AnswerBoxWithButton(std::string buttonName, std::string textContains = {});
    // A modal form (by form name or class name; "" for any form that is no message box):
    // actions run inside its modal loop and usually end it (a click on OK); a form they leave
    // open is closed as the user would close it.
    void AnswerModal(std::string formName, TModalScript actions);
    void AnswerModal(std::string formName, TModalResult result);
    int PendingAnswers() const { return static_cast<int>(answers_.size()); }

    // ---- records
    const std::vector<TBoxRecord>& Boxes() const { return boxes_; }
    // The last box shown; raises EAutomationError when none was.
    const TBoxRecord& LastBox() const;
    const std::vector<TModalRecord>& ModalForms() const { return modals_; }
    void ClearRecords();
    // Drops the answers and the records.
    void Reset();
    // Called for every box recorded (the host shell's transcript).
    std::function<void(const TBoxRecord&)> OnBoxRecorded;

    // ---- called by the platform's modal loop
    // Applies the first answer that fits the form; false when the script has none for it.
    bool ApplyModalAnswer(TCustomForm& form);
    // Records the end of a modal form (boxes into Boxes, other forms into ModalForms).
    void ModalEnded(TCustomForm& form, TModalResult result);

private:
    enum class TAnswerKind { Box, Form };
    struct TAnswer {
        TAnswerKind kind = TAnswerKind::Box;
        TModalResult result = mrNone;
        std::string name;  // button name (box) or form name (form)
        std::string textContains;
        TModalScript actions;
    };

    bool Fits(const TAnswer& answer, const TCustomForm& form) const;
    void ApplyBoxAnswer(const TAnswer& answer, TMessageForm& box);
    void CheckInput(const TControl& control, const char* action) const;
    [[noreturn]] static void WrongClass(std::string_view path, TClass expected);

    std::deque<TAnswer> answers_;
    // Forms answered by the script and still in their modal loop (with their life tokens, so
    // that a form freed inside its loop is not mistaken for a later one at the same address).
    std::vector<std::pair<const TCustomForm*, std::weak_ptr<const bool>>> scripted_;
    std::vector<TBoxRecord> boxes_;
    std::vector<TModalRecord> modals_;
};

// The process's automation interface.
TAutomation& Automation();

}  // namespace kv
