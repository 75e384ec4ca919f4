#pragma once
// The rules of the workbook batch that need no window: the texts a row makes from
// its cells, and the cells written back after a row's run.
#include <cstdint>
#include <optional>
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

// The verdict column of a row that got no result of its own.
inline constexpr const char* kBatchNoResult = "NO RESULT";

// The columns that a row with a result of its own gets written, in ascending order.
std::vector<int> BatchOutputColumns();

// The output cells of a row that ran, as (column, value) in ascending column order.
// Numbers go as single precision widened. A key the result lacks, and a quotient
// that is no finite number, give an empty cell. A row that got no result of its own
// gets only its verdict (kBatchNoResult) and the date: whatever else it holds, the
// results of an earlier batch among them, stays.
std::vector<std::pair<int, sheet::Variant>> BatchOutputCells(const jsonxx::Object& result,
                                                              const TBatchRunFacts& facts);

// The keys of the result numbers that a row's output cells take.
std::vector<std::string> BatchNumberKeys();

// An input cell of a row as the batch read it.
struct TBatchInput {
    int Column = 0;
    std::string Text;           // the value as text
    bool Uncalculated = false;  // a formula saved without its result
};

struct TInputLimits;

// Why a row cannot be designed, naming each input cell that cannot be read: the
// column height, beam length and column depth must read as the input check reads
// them (whole numbers), the beam section as a designation. Nothing when they do;
// their ranges are the input check's business.
std::optional<std::string> BatchRowProblem(int row, const TBatchInput& height, const TBatchInput& length,
                                           const TBatchInput& beam, const TBatchInput& depth,
                                           const TInputLimits& limits);
