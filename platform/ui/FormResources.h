// The form descriptions compiled into the libraries and programs, found by form class name.
//
// A library embeds the ".kvform" files beside its form units with the CMake function
// kv_embed_form_descriptions(<target> <files...>) (cmake/KvForms.cmake): the build turns each
// file into a C++ source that registers its text when the library is loaded and takes it back
// when the library is unloaded. A form's constructor then reads the descriptions of its class
// chain (FormReader.h). Embed into shared libraries and programs: a static library drops the
// registering objects nobody refers to.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kv {

struct TFormDescriptionText {
    std::string ClassName;  // the class the description is of (its first line)
    std::string FileName;   // for messages: the file it came from
    std::string Text;
};

// Registers the description of a form class. The newest registration of a class name wins
// (letter case ignored) until it is unregistered.
void RegisterFormDescription(std::string_view className, std::string_view fileName,
                             std::string_view text);
// Removes the newest registration of that class made with that file name.
void UnregisterFormDescription(std::string_view className, std::string_view fileName);
std::optional<TFormDescriptionText> FindFormDescription(std::string_view className);

// Registers for the life of a library (the generated sources hold one each).
class TFormDescriptionRegistration {
public:
    TFormDescriptionRegistration(const char* className, const char* fileName,
                                 std::string_view text);
    ~TFormDescriptionRegistration();
    TFormDescriptionRegistration(const TFormDescriptionRegistration&) = delete;
    TFormDescriptionRegistration& operator=(const TFormDescriptionRegistration&) = delete;

private:
    const char* className_;
    const char* fileName_;
};

}  // namespace kv
