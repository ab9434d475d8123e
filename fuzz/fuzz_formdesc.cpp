// Arbitrary bytes as a form description, read into a form: the reader either builds the
// components or raises EFormDescError (with a line inside the text); after a failure the form
// holds none of the components the read made, and after a success none is left loading.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/ui/FormReader.h"
#include "platform/ui/Forms.h"

namespace kv {

// A form with published methods, so that event bindings are exercised too.
class TfrmFuzz : public TForm {
    KV_CLASS(TfrmFuzz, TForm)
public:
    explicit TfrmFuzz(TComponent* owner) : TForm(owner, true) {}
    void btnClick(TObject*) {}
    void edKeyDown(TObject*, Word&, TShiftState) {}
};
KV_PUBLISHED(TfrmFuzz) {
    b.Method("btnClick", &T::btnClick);
    b.Method("edKeyDown", &T::edKeyDown);
}

}  // namespace kv

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

int CountLines(std::string_view text) {
    int lines = 1;
    for (char c : text)
        if (c == '\n' || c == '\r') ++lines;
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto* form = kv::NewObject<kv::TfrmFuzz>(nullptr);
    try {
        kv::ReadComponentDescription(*form, text, "fuzz.kvform");
        for (int i = 0; i < form->ComponentCount(); ++i)
            Check(!form->Components(i)->ComponentState().Contains(kv::csLoading));
    } catch (const kv::EFormDescError& error) {
        Check(error.Line() >= 1 && error.Line() <= CountLines(text));
        Check(form->ComponentCount() == 0);
    }
    Check(!form->ComponentState().Contains(kv::csLoading));
    form->Free();
    return 0;
}
