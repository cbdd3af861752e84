# Writes a C++ file holding every resource of a resource script as a table of bytes that
# registers itself with FindModuleResource. Run as:
#   cmake -DSCRIPT=file.rc -DSOURCE_DIR=top -DOUTPUT=file.cpp -P EmbedResources.cmake
include(${CMAKE_CURRENT_LIST_DIR}/ResourceScript.cmake)
tq_read_resource_script("${SCRIPT}" ids types paths)

set(arrays "")
set(entries "")
foreach(id type path IN ZIP_LISTS ids types paths)
  file(READ "${SOURCE_DIR}/${path}" hex HEX)
  # One string literal of 64 bytes a line; every byte a \xHH escape, so none runs into the next.
  string(REGEX REPLACE "(................................................................................................................................)" "\\1\"\n  \"" hex "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" hex "${hex}")
  string(APPEND arrays "// ${path}\nconst unsigned char kResource${id}[] =\n  \"${hex}\";\n\n")
  # The literal's closing NUL is not part of the resource.
  string(APPEND entries "  {${id}, \"${type}\", kResource${id}, sizeof(kResource${id}) - 1},\n")
endforeach()

file(WRITE "${OUTPUT}" "// Generated from ${SCRIPT} at build time; do not edit.
#include \"platform/EmbeddedResources.h\"

namespace
{
${arrays}const EmbeddedResource kResources[] = {
${entries}};

[[maybe_unused]] const bool kRegistered =
  RegisterEmbeddedResources(kResources, sizeof(kResources) / sizeof(kResources[0]));
} // namespace
")
