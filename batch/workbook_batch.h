#pragma once
// The rules of the workbook batch that need no window: the texts a row makes from
// its cells, and the cells written back after a row's run.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/sheet/sheet.h"
#include "service/jsonxx/jsonxx.h"

// "100", "20", "A1" give "100-20-A1".
std::string BatchListEntry(const std::string& capacity, const std::string& thickness, const std::string& mark);
// "100", "20" give "100tonf(tc=20mm)", a capacity class name.
std::string BatchClassText(const std::string& capacity, const std::string& thickness);

// What a row's run left besides the result object.
struct TBatchRunFacts {
    bool Fresh = false;  // the run read a result of its own
    std::int32_t FailedCheckCount = 0;
    std::int32_t RunTimeMs = 0;
    float t_g = 0.0f, t_c = 0.0f, A_j = 0.0f, A_c = 0.0f;  // brace members of the result
    std::string DateTime;
};

// The verdict column of a row whose run read no result of its own.
inline constexpr const char* kBatchNoResult = "NO RESULT";

// The output cells of a row that ran, as (column, value) in ascending column order.
// Numbers go as single precision widened. A key the result lacks, and a quotient
// that is no finite number, give an empty cell. After a run that read no result of
// its own, every cell is empty but the verdict (kBatchNoResult) and the date.
std::vector<std::pair<int, sheet::Variant>> BatchOutputCells(const jsonxx::Object& result,
                                                              const TBatchRunFacts& facts);
