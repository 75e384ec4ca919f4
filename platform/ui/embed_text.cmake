# Writes HEADER and CPP that hold the bytes of SOURCE as embedded::SYMBOL.
file(READ ${SOURCE} hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
string(REGEX REPLACE "(('\\\\x[0-9a-f][0-9a-f]',){16})" "\\1\n" bytes "${bytes}")
file(WRITE ${HEADER}
"#pragma once
// Generated from ${SOURCE}; do not edit.
#include <string_view>
namespace embedded {
extern const std::string_view ${SYMBOL};
}
")
file(WRITE ${CPP}
"// Generated from ${SOURCE}; do not edit.
#include \"embedded/${SYMBOL}.h\"
namespace embedded {
namespace {
const char data[] = {
${bytes}'\\0'};
}
const std::string_view ${SYMBOL}(data, ${size});
}
")
