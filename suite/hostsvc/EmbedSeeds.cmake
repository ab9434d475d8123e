# Writes a C++ source that holds the demo seed files as byte arrays, so the host services
# bring their demo data along wherever they are installed.
#   cmake -DSEED_DIR=<folder> -DOUTPUT=<file.cpp> -P EmbedSeeds.cmake
# Every schema.sql and *.tsv file of the folder is taken, in name order.
file(GLOB seeds RELATIVE ${SEED_DIR} ${SEED_DIR}/*.sql ${SEED_DIR}/*.tsv)
list(SORT seeds)
set(arrays "")
set(entries "")
set(index 0)
foreach(seed ${seeds})
    file(READ ${SEED_DIR}/${seed} hex HEX)
    string(LENGTH "${hex}" digits)
    math(EXPR size "${digits} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND arrays "const unsigned char kSeed${index}[] = {${bytes}0x00};\n")
    string(APPEND entries "    {\"${seed}\", Text(kSeed${index}, ${size})},\n")
    math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT}.tmp "// Generated from the demo seed files by EmbedSeeds.cmake; do not edit.
#include \"suite/hostsvc/DemoSeeds.h\"

namespace kv {

namespace {

std::string_view Text(const unsigned char* bytes, std::size_t size) {
    return {reinterpret_cast<const char*>(bytes), size};
}

${arrays}
}  // namespace

const std::vector<TDemoSeedFile>& DemoSeedFiles() {
    static const std::vector<TDemoSeedFile> files = {
${entries}    };
    return files;
}

}  // namespace kv
")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
