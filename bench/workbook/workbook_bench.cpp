// The workbook side of a batch: one row's cells read and written (9 reads, 95
// writes), the save of a workbook of many rows (replaced, and written over in place
// for one with a second name), and whole batches of 500 and 5,000
// rows from the open to the save (the latter also with a formula filled down a
// written column), against the peer of a save, a plain copy of the same package
// with libzip.
#include <benchmark/benchmark.h>
#include <zip.h>

#include "platform/sheet/cell_text.h"
#include "platform/sheet/sheet.h"
#include "support/xlsx_fixture.h"

namespace {

namespace fx = xlsx_fixture;

// A workbook of design cases with results written in earlier batches.
void WriteCases(const std::filesystem::path& file, int rows) {
    std::string xml;
    for (int r = 2; r <= rows + 1; ++r) {
        const std::string n = std::to_string(r);
        xml += "<row r=\"" + n + "\"><c r=\"A" + n + "\"><v>100</v></c><c r=\"B" + n + "\"><v>20</v></c><c r=\"C" +
               n + "\"><v>4000</v></c><c r=\"D" + n + "\"><v>5000</v></c><c r=\"E" + n +
               "\" t=\"inlineStr\"><is><t>A" + n + "</t></is></c>";
        for (int c = 6; c <= 117; ++c) xml += "<c r=\"" + sheet::ColumnLetters(c) + n + "\"><v>1.25</v></c>";
        xml += "</row>";
    }
    fx::Write(file, fx::Workbook(fx::SheetXml(xml), fx::SharedStrings({})));
}

void BM_RowReadsAndWrites(benchmark::State& state) {
    fx::TempFolder folder;
    const auto file = folder / "cases.xlsx";
    WriteCases(file, 500);
    sheet::Application app;
    sheet::Worksheet& s = app.Workbooks().Open(file.string()).Worksheets().Item(1);
    int row = 2;
    for (auto _ : state) {
        for (int c : {1, 2, 5, 1, 2, 3, 4, 12, 19}) benchmark::DoNotOptimize(sheet::ValueToText(s.Cells(row, c).Value()));
        for (int c = 6; c <= 100; ++c) s.Cells(row, c).SetValue(static_cast<double>(0.033f));
        row = row == 501 ? 2 : row + 1;
    }
}
BENCHMARK(BM_RowReadsAndWrites);

void BM_SaveWorkbook(benchmark::State& state) {
    fx::TempFolder folder;
    const auto file = folder / "cases.xlsx";
    WriteCases(file, static_cast<int>(state.range(0)));
    sheet::Application app;
    sheet::Workbook& book = app.Workbooks().Open(file.string());
    book.Worksheets().Item(1).Cells(2, 6).SetValue(1.0);
    for (auto _ : state) book.SaveAs(file.string());
}
BENCHMARK(BM_SaveWorkbook)->Arg(10)->Arg(500)->Unit(benchmark::kMillisecond);

// The same save of a workbook with a second name, which is written over in place.
void BM_SaveWorkbookInPlace(benchmark::State& state) {
    fx::TempFolder folder;
    const auto file = folder / "cases.xlsx";
    WriteCases(file, static_cast<int>(state.range(0)));
    std::filesystem::create_hard_link(file, folder / "other name.xlsx");
    sheet::Application app;
    sheet::Workbook& book = app.Workbooks().Open(file.string());
    book.Worksheets().Item(1).Cells(2, 6).SetValue(1.0);
    for (auto _ : state) book.SaveAs(file.string());
}
BENCHMARK(BM_SaveWorkbookInPlace)->Arg(10)->Arg(500)->Unit(benchmark::kMillisecond);

// A workbook of design cases as users keep them: rows that also total the weights
// (column DN), and a second worksheet that sums them. With filled, column CU (99,
// written by every row) holds a formula filled down all rows, which spreadsheet
// programs store as one shared formula.
void WriteBatchCases(const std::filesystem::path& file, int rows, bool filled) {
    std::string xml;
    const std::string last = std::to_string(rows + 1);
    for (int r = 2; r <= rows + 1; ++r) {
        const std::string n = std::to_string(r);
        xml += "<row r=\"" + n + "\"><c r=\"A" + n + "\"><v>100</v></c><c r=\"B" + n + "\"><v>20</v></c><c r=\"C" +
               n + "\"><v>4000</v></c><c r=\"D" + n + "\"><v>5000</v></c><c r=\"E" + n +
               "\" t=\"inlineStr\"><is><t>A" + n + "</t></is></c><c r=\"L" + n +
               "\" t=\"inlineStr\"><is><t>H594 x 302 x 14 x 23</t></is></c><c r=\"S" + n + "\"><v>500</v></c>";
        if (filled) {
            xml += r == 2 ? "<c r=\"CU2\"><f t=\"shared\" ref=\"CU2:CU" + last + "\" si=\"0\">CS2/CP2</f><v>1</v></c>"
                          : "<c r=\"CU" + n + "\"><f t=\"shared\" si=\"0\"/><v>1</v></c>";
        }
        xml += "<c r=\"DN" + n + "\"><f>DD" + n + "*1.1</f><v>0</v></c></row>";
    }
    const std::string notes = fx::SheetXml("<row r=\"1\"><c r=\"A1\"><f>SUM(Cases!DD2:DD" + last +
                                           ")</f><v>0</v></c><c r=\"B1\"><f>MAX(Cases!AU:AU)</f><v>0</v></c></row>");
    fx::Write(file, fx::Workbook(fx::SheetXml(xml), fx::SharedStrings({}), notes));
}

// The workbook side of a whole batch: the open, every row's 9 reads and 95 writes,
// and the save under its own name.
void RunBatch(benchmark::State& state, int rows, bool filled) {
    fx::TempFolder folder;
    const auto file = folder / "cases.xlsx";
    WriteBatchCases(file, rows, filled);
    for (auto _ : state) {
        sheet::Application app;
        sheet::Workbook& book = app.Workbooks().Open(file.string());
        sheet::Worksheet& s = book.Worksheets().Item(1);
        for (int row = 2; row <= rows + 1; ++row) {
            for (int c : {1, 2, 5, 1, 2, 3, 4, 12, 19})
                benchmark::DoNotOptimize(sheet::ValueToText(s.Cells(row, c).Value()));
            for (int c = 6; c <= 100; ++c) s.Cells(row, c).SetValue(static_cast<double>(0.033f));
        }
        book.SaveAs(file.string());
        app.Quit();
    }
}

void BM_Batch500(benchmark::State& state) { RunBatch(state, 500, false); }
BENCHMARK(BM_Batch500)->Unit(benchmark::kMillisecond);

// 5,000 rows, without and with the filled-down formula in a written column: the
// second should cost about as much as the first.
void BM_Batch5000(benchmark::State& state) { RunBatch(state, 5000, state.range(0) != 0); }
BENCHMARK(BM_Batch5000)->ArgName("filled")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The peer: the same package copied entry by entry, recompressing the worksheet.
void BM_PlainZipCopy(benchmark::State& state) {
    fx::TempFolder folder;
    const auto file = folder / "cases.xlsx";
    const auto copy = folder / "copy.xlsx";
    WriteCases(file, static_cast<int>(state.range(0)));
    const fx::Parts parts = fx::Read(file);
    for (auto _ : state) fx::Write(copy, parts);
}
BENCHMARK(BM_PlainZipCopy)->Arg(10)->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
