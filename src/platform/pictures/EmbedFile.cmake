# SPDX-License-Identifier: GPL-3.0-or-later
# Writes a C++ source whose function FUNCTION returns the bytes of INPUT.
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DFUNCTION=name -DHEADER=include -P EmbedFile.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
if(digits EQUAL 0)
  message(FATAL_ERROR "${INPUT} is empty")
endif()
# Sixteen bytes to a line.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp" "// Generated at build time from ${name}; edit the picture, not this file.
#include \"${HEADER}\"

namespace tintaro {

namespace {
const std::uint8_t kBytes[] = {
    ${bytes}
};
} // namespace

std::span<const std::uint8_t> ${FUNCTION}() {
    return kBytes;
}

} // namespace tintaro
")
# Rewritten only when different, so an unchanged picture recompiles nothing.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
