# Turns a text file of one entry a line into a C++ array of string literals.
# -DINPUT=file -DOUTPUT=file.cpp -DNAMESPACE=ns -DSYMBOL=name
file(STRINGS "${INPUT}" lines ENCODING UTF-8)
set(body "")
foreach(line IN LISTS lines)
  string(REPLACE "\\" "\\\\" line "${line}")
  string(REPLACE "\"" "\\\"" line "${line}")
  string(APPEND body "    \"${line}\",\n")
endforeach()
list(LENGTH lines count)
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT}; do not edit.\n#include <cstddef>\n\nnamespace ${NAMESPACE} {\n\nextern const char* const ${SYMBOL}[] = {\n${body}};\nextern const std::size_t ${SYMBOL}Count = ${count};\n\n}\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
