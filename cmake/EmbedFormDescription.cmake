# Turns one form description into a C++ source that registers it (see KvForms.cmake).
# Arguments: INPUT (the .kvform file), OUTPUT (the .cpp to write), SHOWN (the name messages
# use), ID (a C identifier unique to the file).
file(READ ${INPUT} text)
# The class the description is of: the first "object Name: TClass" or "inherited Name: TClass"
# outside comments.
string(REGEX REPLACE "//[^\n]*" "" stripped "${text}")
string(REGEX MATCH "([Oo][Bb][Jj][Ee][Cc][Tt]|[Ii][Nn][Hh][Ee][Rr][Ii][Tt][Ee][Dd])[ \t]+[A-Za-z_][A-Za-z_0-9]*[ \t]*:[ \t]*([A-Za-z_][A-Za-z_0-9]*)" header "${stripped}")
if(NOT header)
    message(FATAL_ERROR "${SHOWN}: a form description starts with 'object Name: TClass' or "
                        "'inherited Name: TClass'")
endif()
set(class ${CMAKE_MATCH_2})
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" length)
math(EXPR size "${length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n    " bytes "${bytes}")
file(WRITE ${OUTPUT}.tmp
"// Generated from ${SHOWN}; do not edit.
#include <string_view>

#include \"platform/ui/FormResources.h\"

namespace {

const unsigned char kText_${ID}[] = {
    ${bytes}0x00};

const kv::TFormDescriptionRegistration kRegistration_${ID}(
    \"${class}\", \"${SHOWN}\",
    std::string_view(reinterpret_cast<const char*>(kText_${ID}), ${size}));

}  // namespace
")
# Rewriting an unchanged source would rebuild its object for nothing.
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
