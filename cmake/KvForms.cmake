# Form descriptions compiled into a library or program.
#
# kv_embed_form_descriptions(<target> <files...>): each ".kvform" file becomes a generated C++
# source of <target> that registers the text under the class named in its first line
# ("object frmX: TfrmX" or "inherited frmX: TfrmX") while the library is loaded; the form's
# constructor then finds it (platform/ui/FormResources.h). The sources are regenerated when a
# description changes. Messages name the file by its path below the repository root.
set(KV_EMBED_FORM_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/EmbedFormDescription.cmake)

function(kv_embed_form_descriptions target)
    foreach(file ${ARGN})
        get_filename_component(path ${file} ABSOLUTE)
        file(RELATIVE_PATH shown ${KV_ROOT} ${path})
        string(MAKE_C_IDENTIFIER ${shown} id)
        set(output ${CMAKE_CURRENT_BINARY_DIR}/kvforms/${id}.cpp)
        add_custom_command(
            OUTPUT ${output}
            COMMAND ${CMAKE_COMMAND} -DINPUT=${path} -DOUTPUT=${output} -DSHOWN=${shown}
                    -DID=${id} -P ${KV_EMBED_FORM_SCRIPT}
            DEPENDS ${path} ${KV_EMBED_FORM_SCRIPT}
            COMMENT "Embedding form description ${shown}"
            VERBATIM)
        target_sources(${target} PRIVATE ${output})
    endforeach()
endfunction()
