#include "core/result_members.h"

float TFrameValues::*TFrameValues::Member(std::string_view key) {
#define ZORV_MATCH(name) if (key == #name) return &TFrameValues::name;
    ZORV_FRAME_VALUE_KEYS(ZORV_MATCH)
#undef ZORV_MATCH
    return nullptr;
}

float TBraceValues::*TBraceValues::Member(std::string_view key) {
#define ZORV_MATCH(name) if (key == #name) return &TBraceValues::name;
    ZORV_BRACE_VALUE_KEYS(ZORV_MATCH)
#undef ZORV_MATCH
    return nullptr;
}

float TBoltedValues::*TBoltedValues::Member(std::string_view key) {
#define ZORV_MATCH(name, result_key) if (key == result_key) return &TBoltedValues::name;
    ZORV_BOLTED_VALUE_KEYS(ZORV_MATCH)
#undef ZORV_MATCH
    return nullptr;
}
