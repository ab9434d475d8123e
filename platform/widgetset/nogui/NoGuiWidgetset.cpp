#include "platform/widgetset/nogui/NoGuiWidgetset.h"

#include <algorithm>
#include <cstdlib>

#include "platform/ui/Controls.h"

namespace kv {

void TNoGuiWidgetset::Refresh(TWinControl& control, TNoGuiPeer& peer) const {
    peer.ClassName = control.ClassName();
    peer.Name = control.Name();
    peer.Text = control.Text();
    peer.Bounds = control.BoundsRect();
    peer.Visible = control.Showing();
    peer.Enabled = control.EffectiveEnabled();
}

void TNoGuiWidgetset::CreatePeer(TWinControl& control) {
    TNoGuiPeer& peer = peers_[control.Handle()];
    peer = TNoGuiPeer{};
    Refresh(control, peer);
}

void TNoGuiWidgetset::DestroyPeer(TWinControl& control) {
    const HWND window = control.Handle();
    peers_.erase(window);
    std::erase_if(timers_, [window](const TTimer& t) { return t.window == window; });
}

void TNoGuiWidgetset::UpdatePeer(TControl& control, TPeerChange) {
    auto* win = dynamic_cast<TWinControl*>(&control);
    if (win == nullptr || !win->HandleAllocated()) return;
    const auto found = peers_.find(win->Handle());
    if (found == peers_.end()) return;
    Refresh(*win, found->second);
    ++found->second.Updates;
}

TIdleResult TNoGuiWidgetset::WaitForInput(TCustomForm*) {
    return TIdleResult::NoInput;
}

void TNoGuiWidgetset::Sleep(std::uint64_t milliseconds) {
    const std::uint64_t target = clock_ + milliseconds;
    // Due timers in the order they fall due; each posts once and is set to its next interval
    // after the target time.
    std::vector<TTimer*> due;
    for (TTimer& timer : timers_)
        if (timer.due <= target) due.push_back(&timer);
    std::stable_sort(due.begin(), due.end(),
                     [](const TTimer* a, const TTimer* b) { return a->due < b->due; });
    std::vector<TTimer> fired;
    for (TTimer* timer : due) {
        clock_ = std::max(clock_, timer->due);
        fired.push_back(*timer);
        const std::uint64_t periods = (target - timer->due) / timer->interval + 1;
        timer->due += periods * timer->interval;
    }
    clock_ = target;
    for (const TTimer& timer : fired)
        PostMessage(timer.window, WM_TIMER, timer.id, 0);
}

void TNoGuiWidgetset::SetTimer(HWND window, UINT id, UINT interval) {
    const std::uint64_t period = std::max<std::uint64_t>(interval, 1);
    for (TTimer& timer : timers_) {
        if (timer.window == window && timer.id == id) {
            timer.interval = period;
            timer.due = clock_ + period;
            return;
        }
    }
    timers_.push_back(TTimer{window, id, period, clock_ + period});
}

void TNoGuiWidgetset::KillTimer(HWND window, UINT id) {
    std::erase_if(timers_, [&](const TTimer& t) { return t.window == window && t.id == id; });
}

TTextExtent TNoGuiWidgetset::TextExtent(const TFont& font, std::string_view text) const {
    const int em = font.Height() == 0 ? 13 : std::abs(font.Height());
    TTextExtent extent{0, em + 2};
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            extent.Width += (em + 1) / 2;
            ++i;
        } else {
            extent.Width += em;
            i += lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        }
    }
    return extent;
}

const TNoGuiPeer* TNoGuiWidgetset::Peer(HWND window) const {
    const auto found = peers_.find(window);
    return found == peers_.end() ? nullptr : &found->second;
}

}  // namespace kv
