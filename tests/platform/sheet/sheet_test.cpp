// Workbooks written by the tests as real .xlsx packages: reading every kind of cell,
// writing and reading back, a save that keeps every other part as stored, formulas,
// damaged or missing workbooks and saves that fail.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <fstream>

#include "platform/sheet/sheet.h"
#include "support/xlsx_fixture.h"

namespace {

namespace fx = xlsx_fixture;
using sheet::CellError;
using sheet::Variant;

const std::string kRows =
    "<row r=\"1\" spans=\"1:2\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"inlineStr\"><is><t>Inline</t></is>"
    "</c></row>"
    "<row r=\"2\" spans=\"1:12\"><c r=\"A2\"><v>100</v></c><c r=\"B2\" t=\"n\"><v>20</v></c><c r=\"C2\" s=\"1\"/>"
    "<c r=\"D2\" t=\"b\"><v>1</v></c><c r=\"E2\" t=\"e\"><v>#DIV/0!</v></c>"
    "<c r=\"F2\" t=\"str\"><f>A2&amp;\"x\"</f><v>100x</v></c><c r=\"G2\" t=\"s\"><v>1</v></c>"
    "<c r=\"H2\" t=\"s\"><v>2</v></c><c r=\"I2\" t=\"s\"><v>3</v></c><c r=\"J2\" t=\"inlineStr\"><is><t>in</t></is>"
    "</c><c r=\"K2\" s=\"1\"><v>0.5</v></c><c r=\"L2\"><f>A2*2</f><v>200</v></c></row>"
    "<row r=\"4\"><c><v>1</v></c><c><v>2</v></c></row>"
    "<row><c r=\"A5\"><v>5</v></c></row>";

const std::vector<std::string> kStrings = {
    "<t>Capacity</t>",
    "<r><t>Ri</t></r><r><rPr><b/></rPr><t>ch</t></r><rPh sb=\"0\" eb=\"1\"><t>ignored</t></rPh>",
    "<t>a_x000D_b</t>",
    "<t xml:space=\"preserve\">  </t>",
};

fx::Parts StandardWorkbook() { return fx::Workbook(fx::SheetXml(kRows, "A1:L5"), fx::SharedStrings(kStrings)); }

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class Workbooks : public ::testing::Test {
protected:
    // Writes the parts and opens them as the workbook of a fresh application.
    sheet::Workbook& Open(const fx::Parts& parts) {
        fx::Write(file, parts);
        return app.Workbooks().Open(file.string());
    }
    // The value of a cell of the first worksheet, read by a fresh application from the file.
    Variant Reread(int row, int column) {
        sheet::Application other;
        return other.Workbooks().Open(file.string()).Worksheets().Item(1).Cells(row, column).Value();
    }

    fx::TempFolder folder;
    std::filesystem::path file = folder / "cases.xlsx";
    sheet::Application app;
};

TEST(ValueToText, EachKindOfValue) {
    const std::pair<Variant, const char*> cases[] = {
        {std::monostate{}, ""},    {100.0, "100"},         {2.5, "2.5"},
        {-0.25, "-0.25"},          {1e20, "1E20"},         {std::string("A1"), "A1"},
        {std::string(""), ""},     {true, "True"},         {false, "False"},
        {CellError{"#N/A"}, "#N/A"}, {static_cast<double>(0.033f), "0.0329999998211861"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(sheet::ValueToText(value), text);
}

TEST_F(Workbooks, ReadsEveryKindOfCell) {
    sheet::Worksheet& s = Open(StandardWorkbook()).Worksheets().Item(1);
    EXPECT_EQ(s.Name(), "Cases");
    const std::tuple<int, int, Variant> cases[] = {
        {1, 1, std::string("Capacity")},
        {1, 2, std::string("Inline")},
        {1, 3, std::monostate{}},  // no cell
        {2, 1, 100.0},
        {2, 2, 20.0},
        {2, 3, std::monostate{}},  // a format only
        {2, 4, true},
        {2, 5, CellError{"#DIV/0!"}},
        {2, 6, std::string("100x")},  // a formula's last result
        {2, 7, std::string("Rich")},  // runs joined, the reading aid left out
        {2, 8, std::string("a\rb")},
        {2, 9, std::string("  ")},
        {2, 10, std::string("in")},
        {2, 11, 0.5},
        {2, 12, 200.0},
        {3, 1, std::monostate{}},  // no row
        {4, 1, 1.0},               // cells and rows without their names follow the ones before
        {4, 2, 2.0},
        {5, 1, 5.0},
        {1048576, 16384, std::monostate{}},
    };
    for (const auto& [row, column, value] : cases) EXPECT_EQ(s.Cells(row, column).Value(), value) << row << "," << column;
}

TEST_F(Workbooks, ListsWorksheetsInTabOrderAndRefusesPlacesOutsideTheGrid) {
    sheet::Workbook& book = Open(StandardWorkbook());
    EXPECT_EQ(book.FullName(), file.string());
    ASSERT_EQ(book.Worksheets().Count(), 2);
    EXPECT_EQ(book.Worksheets().Item(2).Name(), "Notes");
    EXPECT_EQ(book.Worksheets().Item(2).Cells(1, 1).Value(), Variant(7.0));
    EXPECT_THROW(book.Worksheets().Item(0), Exception);
    EXPECT_THROW(book.Worksheets().Item(3), Exception);
    sheet::Worksheet& s = book.Worksheets().Item(1);
    for (auto [row, column] : {std::pair{0, 1}, {1, 0}, {1048577, 1}, {1, 16385}})
        EXPECT_THROW(s.Cells(row, column), Exception) << row << "," << column;
}

TEST_F(Workbooks, WritesReadBackAndEveryOtherPartStaysAsStored) {
    const fx::Parts before = StandardWorkbook();
    sheet::Workbook& book = Open(before);
    chmod(file.c_str(), 0640);
    sheet::Worksheet& s = book.Worksheets().Item(1);
    s.Cells(3, 4).SetValue(static_cast<double>(0.033f));  // a new row between two
    s.Cells(6, 1).SetValue(std::string(" A1 "));          // after the last row
    s.Cells(4, 3).SetValue(std::string("_x0041_"));       // among cells stored without names
    s.Cells(2, 3).SetValue(350.0);                        // a formatted empty cell
    s.Cells(1, 1).SetValue(std::string("Class\rtext"));   // a shared text replaced
    s.Cells(2, 4).SetValue(std::monostate{});             // cleared: the cell goes
    s.Cells(2, 11).SetValue(std::monostate{});            // cleared: the format stays
    s.Cells(2, 5).SetValue(false);
    book.SaveAs(file.string());

    const std::tuple<int, int, Variant> cases[] = {
        {3, 4, static_cast<double>(0.033f)}, {6, 1, std::string(" A1 ")},     {4, 3, std::string("_x0041_")},
        {4, 1, 1.0},                          {4, 2, 2.0},                     {2, 3, 350.0},
        {1, 1, std::string("Class\rtext")},   {2, 4, std::monostate{}},       {2, 11, std::monostate{}},
        {2, 5, false},                        {2, 6, std::string("100x")},    {2, 7, std::string("Rich")},
    };
    for (const auto& [row, column, value] : cases) EXPECT_EQ(Reread(row, column), value) << row << "," << column;

    const fx::Parts after = fx::Read(file);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].first, before[i].first) << "parts keep their order";
        if (before[i].first == "xl/worksheets/sheet1.xml" || before[i].first == "xl/workbook.xml") continue;
        EXPECT_EQ(after[i].second, before[i].second) << before[i].first;
    }
    const std::string xml = fx::Part(after, "xl/worksheets/sheet1.xml");
    EXPECT_NE(xml.find("<dimension ref=\"A1:L6\"/>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<c r=\"D3\"><v>0.032999999821186066</v></c>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<c r=\"C2\" s=\"1\"><v>350</v></c>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<c r=\"K2\" s=\"1\"/>"), std::string::npos) << xml;
    EXPECT_EQ(xml.find("r=\"D2\""), std::string::npos) << xml;
    EXPECT_LT(xml.find("<row r=\"2\""), xml.find("<row r=\"3\""));
    EXPECT_LT(xml.find("<row r=\"3\""), xml.find("<row r=\"4\""));
    EXPECT_LT(xml.find("r=\"B4\""), xml.find("r=\"C4\""));
    EXPECT_NE(xml.find("<pageMargins"), std::string::npos) << "what follows the cells stays";
    EXPECT_EQ(xml.find("spans=\"1:12\""), std::string::npos) << "a touched row drops its hint";
    EXPECT_NE(fx::Part(after, "xl/workbook.xml").find("fullCalcOnLoad=\"1\""), std::string::npos)
        << "the sheet has formulas, which are calculated again on opening";

    struct stat st;
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"cases.xlsx"}) << "no temporary file is left";
}

TEST_F(Workbooks, ASaveWithoutChangesCopiesEveryPart) {
    const fx::Parts before = StandardWorkbook();
    sheet::Workbook& book = Open(before);
    EXPECT_EQ(book.Worksheets().Item(1).Cells(1, 1).Value(), Variant(std::string("Capacity")));
    const std::filesystem::path copy = folder / "copy.xlsx";
    book.SaveAs(copy.string());
    EXPECT_EQ(fx::Read(copy), before);
    EXPECT_EQ(book.FullName(), copy.string());
    book.Worksheets().Item(1).Cells(9, 9).SetValue(1.0);
    book.SaveAs(copy.string());  // a second save reads the package it wrote
    EXPECT_EQ(fx::Read(file), before);
    EXPECT_EQ(fx::Part(fx::Read(copy), "xl/styles.xml"), fx::Part(before, "xl/styles.xml"));
}

TEST_F(Workbooks, TextsThatXmlCannotHoldAsTheyAre) {
    sheet::Workbook& book = Open(StandardWorkbook());
    sheet::Worksheet& s = book.Worksheets().Item(1);
    s.Cells(7, 1).SetValue(std::string("bell\x07 <&> \"q\""));
    s.Cells(7, 2).SetValue(std::string("bad \xE9 byte"));
    s.Cells(7, 3).SetValue(std::string("\tlead"));
    s.Cells(7, 4).SetValue(std::string(32767, 'x'));
    EXPECT_THROW(s.Cells(7, 5).SetValue(std::string(32768, 'x')), Exception);
    EXPECT_THROW(s.Cells(7, 5).SetValue(std::nan("")), Exception);
    EXPECT_THROW(s.Cells(7, 5).SetValue(HUGE_VAL), Exception);
    book.SaveAs(file.string());
    EXPECT_EQ(Reread(7, 1), Variant(std::string("bell\x07 <&> \"q\"")));
    EXPECT_EQ(Reread(7, 2), Variant(std::string("bad \xEF\xBF\xBD byte")));
    EXPECT_EQ(Reread(7, 3), Variant(std::string("\tlead")));
    EXPECT_EQ(Reread(7, 4), Variant(std::string(32767, 'x')));
    EXPECT_EQ(Reread(7, 5), Variant(std::monostate{}));
}

TEST_F(Workbooks, AnOverwrittenFormulaDropsTheListOfFormulaCells) {
    fx::Parts parts = StandardWorkbook();
    for (auto& [name, bytes] : parts) {
        if (name == "[Content_Types].xml")
            bytes.insert(bytes.find("</Types>"),
                         "<Override PartName=\"/xl/calcChain.xml\" ContentType=\"application/vnd.openxmlformats-"
                         "officedocument.spreadsheetml.calcChain+xml\"/>");
        if (name == "xl/_rels/workbook.xml.rels")
            bytes.insert(bytes.find("</Relationships>"),
                         std::string("<Relationship Id=\"rId9\" Type=\"") + fx::kRel +
                             "/calcChain\" Target=\"calcChain.xml\"/>");
    }
    parts.push_back({"xl/calcChain.xml", std::string("<calcChain xmlns=\"") + fx::kMain +
                                             "\"><c r=\"F2\" i=\"1\"/><c r=\"L2\"/></calcChain>"});
    sheet::Workbook& book = Open(parts);
    book.Worksheets().Item(1).Cells(2, 12).SetValue(1.5);
    book.SaveAs(file.string());

    const fx::Parts after = fx::Read(file);
    EXPECT_FALSE(fx::HasPart(after, "xl/calcChain.xml"));
    EXPECT_EQ(fx::Part(after, "xl/_rels/workbook.xml.rels").find("calcChain"), std::string::npos);
    EXPECT_EQ(fx::Part(after, "[Content_Types].xml").find("calcChain"), std::string::npos);
    EXPECT_NE(fx::Part(after, "[Content_Types].xml").find("/xl/styles.xml"), std::string::npos);
    EXPECT_NE(fx::Part(after, "xl/workbook.xml").find("<calcPr calcId=\"191029\" fullCalcOnLoad=\"1\"/>"),
              std::string::npos);
    EXPECT_EQ(fx::Part(after, "xl/worksheets/sheet1.xml").find("A2*2"), std::string::npos);
    EXPECT_EQ(Reread(2, 12), Variant(1.5));
    EXPECT_EQ(Reread(2, 6), Variant(std::string("100x")));
}

TEST_F(Workbooks, FormulasSavedWithoutTheirResultReadAsNotYetCalculated) {
    const std::string rows =
        "<row r=\"2\"><c r=\"A2\"><f>2000*2</f><v></v></c><c r=\"B2\" t=\"str\"><f>\"x\"&amp;\"y\"</f><v></v></c>"
        "<c r=\"C2\"><f>1+1</f></c><c r=\"D2\" s=\"1\"><v></v></c><c r=\"E2\" t=\"s\"><f>F2</f><v/></c>"
        "<c r=\"F2\"><f>2*2</f><v>4</v></c></row>";
    sheet::Worksheet& s = Open(fx::Workbook(fx::SheetXml(rows), fx::SharedStrings({}))).Worksheets().Item(1);
    const std::tuple<int, Variant, bool> cases[] = {
        {1, std::monostate{}, true}, {2, std::string(), true}, {3, std::monostate{}, true},
        {4, std::monostate{}, false}, {5, std::monostate{}, true}, {6, 4.0, true},
        {7, std::monostate{}, false},
    };
    for (const auto& [column, value, formula] : cases) {
        EXPECT_EQ(s.Cells(2, column).Value(), value) << column;
        EXPECT_EQ(s.Cells(2, column).HasFormula(), formula) << column;
    }
}

// Formulas that read a cell given a value, directly, through other formulas, through
// a defined name or over a run of worksheets, on the same worksheet or another, lose
// their stored result; the others keep it, an input formula of the first worksheet
// and the first cell of a shared formula whose own row was not written included.
TEST_F(Workbooks, FormulasThatReadChangedCellsLoseTheirStoredResults) {
    const std::string cases =
        "<row r=\"1\"><c r=\"DQ1\"><f t=\"shared\" ref=\"DQ1:DQ3\" si=\"1\">DD1*2</f><v>0</v></c></row>"
        "<row r=\"2\"><c r=\"A2\"><v>100</v></c><c r=\"C2\"><f>3000+700</f><v>3700</v></c>"
        "<c r=\"DD2\"><v>1</v></c><c r=\"DN2\"><f>DD2*1.1</f><v>1.1</v></c>"
        "<c r=\"DO2\"><f t=\"shared\" ref=\"DO2:DO3\" si=\"0\">DD2+1</f><v>2</v></c>"
        "<c r=\"DP2\"><f t=\"array\" ref=\"DP2:DP3\">DD2:DD3*2</f><v>2</v></c>"
        "<c r=\"DQ2\"><f t=\"shared\" si=\"1\"/><v>2</v></c></row>"
        "<row r=\"3\"><c r=\"DO3\"><f t=\"shared\" si=\"0\"/><v>2</v></c><c r=\"DP3\"><v>2</v></c>"
        "<c r=\"DQ3\"><f t=\"shared\" si=\"1\"/><v>2</v></c></row>";
    const std::string notes =
        "<row r=\"1\">" + fx::LibreOfficeFormula("A1", "SUM(Cases!DD2:DD21)", "2") + "</row>"
        "<row r=\"2\">" + fx::LibreOfficeFormula("A2", "Cases!C2*2", "7400") + "</row>"
        "<row r=\"3\">" + fx::LibreOfficeFormula("A3", "A1*2", "4") + "</row>"
        "<row r=\"4\"><c r=\"A4\" t=\"str\"><f>\"w=\"&amp;'Cases'!DD3</f><v>w=1</v></c></row>"
        "<row r=\"5\">" + fx::LibreOfficeFormula("A5", "A6+1", "2") + "</row>"
        "<row r=\"6\">" + fx::LibreOfficeFormula("A6", "MAX(cases!DD:DD)", "1") + "</row>"
        "<row r=\"7\">" + fx::LibreOfficeFormula("A7", "SUM(Weights)", "2") + "</row>"
        "<row r=\"8\">" + fx::LibreOfficeFormula("A8", "Cases!A2+Cases!DD4+DD2", "100") + "</row>"
        "<row r=\"9\">" + fx::LibreOfficeFormula("A9", "SUM(Cases:Notes!DD2)", "1") + "</row>";
    fx::Parts parts = fx::LibreOfficeShaped(fx::Workbook(fx::SheetXml(cases), fx::SharedStrings({}), fx::SheetXml(notes)));
    for (auto& [name, bytes] : parts)
        if (name == "xl/workbook.xml")
            bytes.insert(bytes.find("<calcPr"),
                         "<definedNames><definedName name=\"weights\">Cases!$DD$2:$DD$21</definedName></definedNames>");
    sheet::Workbook& book = Open(parts);
    sheet::Worksheet& first = book.Worksheets().Item(1);
    first.Cells(2, 108).SetValue(27.92);
    first.Cells(3, 108).SetValue(27.92);
    book.SaveAs(file.string());

    sheet::Application other;
    sheet::Workbook& saved = other.Workbooks().Open(file.string());
    const std::tuple<int, int, int, Variant> values[] = {
        {1, 2, 3, 3700.0},           {1, 2, 118, std::monostate{}}, {1, 2, 119, std::monostate{}},
        {1, 3, 119, std::monostate{}}, {1, 2, 120, std::monostate{}}, {1, 3, 120, std::monostate{}},
        {2, 1, 1, std::monostate{}},  {2, 2, 1, 7400.0},            {2, 3, 1, std::monostate{}},
        {2, 4, 1, std::monostate{}},  {2, 5, 1, std::monostate{}},  {2, 6, 1, std::monostate{}},
        {2, 7, 1, std::monostate{}},  {2, 8, 1, 100.0},            {2, 9, 1, std::monostate{}},
        {1, 1, 121, 0.0},             {1, 2, 121, std::monostate{}}, {1, 3, 121, std::monostate{}},
    };
    for (const auto& [sheet, row, column, value] : values) {
        sheet::CellRef cell = saved.Worksheets().Item(sheet).Cells(row, column);
        EXPECT_EQ(cell.Value(), value) << sheet << ": " << row << "," << column;
        EXPECT_TRUE(cell.HasFormula() || (row == 3 && column == 120)) << sheet << ": " << row << "," << column;
    }
    const fx::Parts after = fx::Read(file);
    const std::string xml = fx::Part(after, "xl/worksheets/sheet2.xml");
    EXPECT_NE(xml.find("<c r=\"A1\" s=\"0\"><f aca=\"false\">SUM(Cases!DD2:DD21)</f></c>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<c r=\"A4\"><f>"), std::string::npos) << "no type for a result it does not hold: " << xml;
    EXPECT_NE(fx::Part(after, "xl/workbook.xml").find("fullCalcOnLoad=\"1\""), std::string::npos);
}

TEST_F(Workbooks, FormulasOnlyOnAnotherWorksheetAskForAFullCalculation) {
    const std::string notes = "<row r=\"1\">" + fx::LibreOfficeFormula("A1", "Cases!A2*2", "200") + "</row>";
    const fx::Parts before = fx::Workbook(fx::SheetXml("<row r=\"2\"><c r=\"A2\"><v>100</v></c></row>"),
                                          fx::SharedStrings({}), fx::SheetXml(notes));
    sheet::Workbook& book = Open(before);
    book.Worksheets().Item(1).Cells(2, 6).SetValue(1.0);
    book.SaveAs(file.string());
    const fx::Parts after = fx::Read(file);
    EXPECT_EQ(fx::Part(after, "xl/worksheets/sheet2.xml"), fx::Part(before, "xl/worksheets/sheet2.xml"))
        << "nothing it reads changed";
    EXPECT_NE(fx::Part(after, "xl/workbook.xml").find("<calcPr calcId=\"191029\" fullCalcOnLoad=\"1\"/>"),
              std::string::npos);
}

// A formula filled down N2:N4 and one filled over B6:C7, as spreadsheet programs
// store them: the first cell holds the text and the range, the others its index.
const std::string kSharedRows =
    "<row r=\"2\"><c r=\"M2\"><f t=\"array\" ref=\"M2:M3\">A2:A3*2</f><v>200</v></c>"
    "<c r=\"N2\"><f t=\"shared\" ref=\"N2:N4\" si=\"0\">A2*$A$1+SUM(A2:B2)</f><v>102</v></c></row>"
    "<row r=\"3\"><c r=\"M3\"><v>0</v></c><c r=\"N3\" s=\"1\"><f t=\"shared\" si=\"0\"/><v>103</v></c>"
    "<c r=\"O3\"><f t=\"shared\" ref=\"O3\" si=\"2\">N3</f><v>103</v></c></row>"
    "<row r=\"4\"><c r=\"N4\"><f t=\"shared\" si=\"0\"/><v>104</v></c></row>"
    "<row r=\"6\"><c r=\"B6\"><f t=\"shared\" ref=\"B6:C7\" si=\"1\">A6+$A$1</f><v>6</v></c>"
    "<c r=\"C6\"><f t=\"shared\" si=\"1\"/><v>7</v></c></row>"
    "<row r=\"7\"><c r=\"B7\"><f t=\"shared\" si=\"1\"/><v>8</v></c><c r=\"C7\"><f t=\"shared\" si=\"1\"/><v>9</v>"
    "</c></row>"
    "<row r=\"9\"><c r=\"A9\"><f t=\"shared\" ref=\"A9:A10\" si=\"3\">A1048576</f><v>0</v></c></row>"
    "<row r=\"10\"><c r=\"A10\"><f t=\"shared\" si=\"3\"/><v>0</v></c></row>";

TEST_F(Workbooks, AnOverwrittenSharedFormulaPassesToTheCellsThatUseIt) {
    sheet::Workbook& book = Open(fx::Workbook(fx::SheetXml(kSharedRows), fx::SharedStrings({})));
    sheet::Worksheet& s = book.Worksheets().Item(1);
    EXPECT_EQ(s.Cells(2, 14).Refusal(), std::nullopt);
    s.Cells(2, 14).SetValue(1.0);
    std::string xml = [&] {
        book.SaveAs(file.string());
        return fx::Part(fx::Read(file), "xl/worksheets/sheet1.xml");
    }();
    EXPECT_NE(xml.find("<c r=\"N3\" s=\"1\"><f t=\"shared\" si=\"0\" ref=\"N3:N4\">A3*$A$1+SUM(A3:B3)</f><v>103</v>"),
              std::string::npos)
        << xml;
    EXPECT_NE(xml.find("<c r=\"N4\"><f t=\"shared\" si=\"0\"/><v>104</v>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<c r=\"O3\"><f t=\"shared\" ref=\"O3\" si=\"2\">N3</f>"), std::string::npos)
        << "another shared formula is left alone: " << xml;

    // The new first cell passes it on again; with one user left it is a formula of its own.
    s.Cells(3, 14).SetValue(std::string("x"));
    // Over an area, each cell that used it gets its own formula.
    s.Cells(6, 2).SetValue(2.0);
    book.SaveAs(file.string());
    xml = fx::Part(fx::Read(file), "xl/worksheets/sheet1.xml");
    EXPECT_NE(xml.find("<c r=\"N4\"><f>A4*$A$1+SUM(A4:B4)</f><v>104</v>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<c r=\"C6\"><f>B6+$A$1</f></c>"), std::string::npos) << "B6 changed under it: " << xml;
    EXPECT_NE(xml.find("<c r=\"O3\"><f t=\"shared\" ref=\"O3\" si=\"2\">N3</f></c>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<c r=\"B7\"><f>A7+$A$1</f><v>8</v>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<c r=\"C7\"><f>B7+$A$1</f><v>9</v>"), std::string::npos) << xml;
    for (auto [row, column, value] : {std::tuple{2, 14, Variant(1.0)}, {3, 14, Variant(std::string("x"))},
                                      {4, 14, Variant(104.0)}, {6, 2, Variant(2.0)}, {7, 3, Variant(9.0)}})
        EXPECT_EQ(Reread(row, column), value) << row << "," << column;
}

// A formula filled down a column that a batch writes row by row passes down with
// each row, to the cells that still use it: here after the last of them, N7, was
// written first. Another, whose range does not hold all its users (a damaged sheet),
// passes only to those inside.
TEST_F(Workbooks, AFormulaFilledDownPassesDownRowByRow) {
    std::string rows = "<row r=\"2\"><c r=\"N2\"><f t=\"shared\" ref=\"N2:N7\" si=\"0\">A2*2</f><v>0</v></c>"
                       "<c r=\"P2\"><f t=\"shared\" ref=\"P2:P3\" si=\"4\">A2+1</f><v>1</v></c></row>";
    for (int r = 3; r <= 7; ++r) {
        const std::string n = std::to_string(r);
        rows += "<row r=\"" + n + "\"><c r=\"N" + n + "\"><f t=\"shared\" si=\"0\"/><v>0</v></c>";
        if (r == 3 || r == 6) rows += "<c r=\"P" + n + "\"><f t=\"shared\" si=\"4\"/><v>1</v></c>";
        rows += "</row>";
    }
    sheet::Workbook& book = Open(fx::Workbook(fx::SheetXml(rows), fx::SharedStrings({})));
    sheet::Worksheet& s = book.Worksheets().Item(1);
    const auto saved = [&] {
        book.SaveAs(file.string());
        return fx::Part(fx::Read(file), "xl/worksheets/sheet1.xml");
    };
    s.Cells(7, 14).SetValue(7.0);
    for (int r = 2; r <= 4; ++r) s.Cells(r, 14).SetValue(static_cast<double>(r));
    s.Cells(2, 16).SetValue(2.0);
    std::string xml = saved();
    EXPECT_NE(xml.find("<c r=\"N5\"><f t=\"shared\" si=\"0\" ref=\"N5:N6\">A5*2</f><v>0</v></c>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<c r=\"N6\"><f t=\"shared\" si=\"0\"/><v>0</v></c>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<c r=\"P3\"><f>A3+1</f><v>1</v></c>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<c r=\"P6\"><f t=\"shared\" si=\"4\"/>"), std::string::npos) << "outside: " << xml;
    // With one cell left it gets a formula of its own.
    s.Cells(5, 14).SetValue(5.0);
    xml = saved();
    EXPECT_NE(xml.find("<c r=\"N6\"><f>A6*2</f><v>0</v></c>"), std::string::npos) << xml;
    for (int r = 2; r <= 7; ++r) EXPECT_EQ(Reread(r, 14), Variant(r == 6 ? 0.0 : double(r))) << r;
}

TEST_F(Workbooks, FormulasThatCannotPassToOtherCellsRefuseAValue) {
    sheet::Worksheet& s = Open(fx::Workbook(fx::SheetXml(kSharedRows), fx::SharedStrings({}))).Worksheets().Item(1);
    const std::string array = "The cell M3 of the worksheet \"Cases\" is part of an array formula and cannot be changed.";
    EXPECT_EQ(s.Cells(3, 13).Refusal(), array);
    EXPECT_THROW(s.Cells(2, 13).SetValue(1.0), Exception);
    try {
        s.Cells(3, 13).SetValue(1.0);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), array);
    }
    // A10 would read one row below the grid.
    EXPECT_EQ(s.Cells(9, 1).Refusal(), "The cell A9 of the worksheet \"Cases\" holds a formula that other cells share, "
                                       "which cannot be carried over to them, so it cannot be changed.");
    EXPECT_THROW(s.Cells(9, 1).SetValue(1.0), Exception);
    EXPECT_EQ(s.Cells(9, 1).Value(), Variant(0.0));
    s.Cells(10, 1).SetValue(1.0);  // a cell that only uses the shared formula
    EXPECT_EQ(s.Cells(10, 1).Value(), Variant(1.0));
    EXPECT_EQ(s.Cells(10, 1).Refusal(), std::nullopt);
}

TEST_F(Workbooks, ElementsOfAnotherPrefix) {
    const std::string main = fx::kMain;
    const std::string sheet1 = "<x:worksheet xmlns:x=\"" + main + "\"><x:sheetData><x:row r=\"1\"><x:c r=\"A1\" "
                               "t=\"inlineStr\"><x:is><x:t>p</x:t></x:is></x:c></x:row></x:sheetData></x:worksheet>";
    fx::Parts parts = fx::Workbook(sheet1, fx::SharedStrings({}));
    for (auto& [name, bytes] : parts)
        if (name == "xl/workbook.xml")
            bytes = "<x:workbook xmlns:x=\"" + main + "\" xmlns:rel=\"" + fx::kRel +
                    "\"><x:sheets><x:sheet name=\"Cases\" sheetId=\"1\" rel:id=\"rId1\"/></x:sheets></x:workbook>";
    sheet::Workbook& book = Open(parts);
    ASSERT_EQ(book.Worksheets().Count(), 1);
    EXPECT_EQ(book.Worksheets().Item(1).Cells(1, 1).Value(), Variant(std::string("p")));
    book.Worksheets().Item(1).Cells(1, 2).SetValue(std::string("q"));
    book.Worksheets().Item(1).Cells(2, 1).SetValue(2.0);
    book.SaveAs(file.string());
    const std::string xml = fx::Part(fx::Read(file), "xl/worksheets/sheet1.xml");
    EXPECT_NE(xml.find("<x:c r=\"B1\" t=\"inlineStr\"><x:is><x:t>q</x:t></x:is></x:c>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<x:row r=\"2\"><x:c r=\"A2\"><x:v>2</x:v></x:c></x:row>"), std::string::npos) << xml;
    EXPECT_EQ(Reread(1, 2), Variant(std::string("q")));
}

TEST_F(Workbooks, MissingOrDamagedWorkbooksSayWhy) {
    const std::string name = file.string();
    const std::string opening = "Cannot open the workbook \"" + name + "\": ";
    auto with = [](const std::string& part, const std::string& bytes) {
        fx::Parts parts = StandardWorkbook();
        for (auto& [n, b] : parts)
            if (n == part) b = bytes;
        return parts;
    };
    auto without = [](const std::string& part) {
        fx::Parts parts = StandardWorkbook();
        std::erase_if(parts, [&](const auto& p) { return p.first == part; });
        return parts;
    };
    struct Case {
        const char* what;
        std::function<void()> make;
        std::string message;
    };
    const Case cases[] = {
        {"no file", [&] { std::filesystem::remove(file); }, opening + "the file does not exist."},
        {"a text file", [&] { std::ofstream(file) << "H_col,L_beam\n4000,5000\n"; },
         opening + "it is no .xlsx workbook (the file is damaged, encrypted or of another format)."},
        {"a cut package",
         [&] {
             fx::Write(file, StandardWorkbook());
             const std::string bytes = ReadFile(file);
             std::ofstream(file, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
         },
         opening + "it is no .xlsx workbook (the file is damaged, encrypted or of another format)."},
        {"no workbook part",
         [&] { fx::Write(file, {{"[Content_Types].xml", "<Types/>"}}); }, opening + "it holds no workbook."},
        {"no worksheet part", [&] { fx::Write(file, without("xl/worksheets/sheet1.xml")); },
         opening + "the worksheet \"Cases\" is missing."},
        {"broken workbook XML", [&] { fx::Write(file, with("xl/workbook.xml", "<workbook><sheets>")); },
         opening + "the part xl/workbook.xml is damaged (Start-end tags mismatch at byte 17)."},
        {"broken shared texts", [&] { fx::Write(file, with("xl/sharedStrings.xml", "<sst><si><t>a</si></sst>")); },
         opening + "the part xl/sharedStrings.xml is damaged (Start-end tags mismatch at byte 15)."},
    };
    for (const Case& c : cases) {
        c.make();
        sheet::Application fresh;
        try {
            fresh.Workbooks().Open(name);
            ADD_FAILURE() << c.what << " opened";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), c.message) << c.what;
        }
        EXPECT_EQ(fresh.Workbooks().Count(), 0) << c.what;
    }
}

TEST_F(Workbooks, DamagedWorksheetsSayWhyWhenReached) {
    const std::string part = "Cannot open the workbook \"" + file.string() + "\": the part xl/worksheets/sheet1.xml is damaged (";
    const std::pair<std::string, std::string> cases[] = {
        {"<worksheet><sheetData><row>", "Start-end tags mismatch at byte 26)."},
        {"<chartsheet/>", "it holds no worksheet)."},
        {fx::SheetXml("<row r=\"3\"/><row r=\"2\"/>"), "rows out of order)."},
        {fx::SheetXml("<row r=\"2\"><c r=\"B2\"/><c r=\"A2\"/></row>"), "cells out of order in row 2)."},
        {fx::SheetXml("<row r=\"2\"><c r=\"A3\"/></row>"), "cell A3)."},
    };
    for (const auto& [xml, reason] : cases) {
        fx::Write(file, fx::Workbook(xml, fx::SharedStrings({})));
        sheet::Application fresh;
        sheet::Workbook& book = fresh.Workbooks().Open(file.string());
        try {
            book.Worksheets().Item(1);
            ADD_FAILURE() << xml;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), part + reason);
        }
    }
    fx::Write(file, fx::Workbook(fx::SheetXml("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>9</v></c><c r=\"B1\"><v>x</v></c>"
                                              "</row>"),
                                 fx::SharedStrings({})));
    sheet::Worksheet& s = app.Workbooks().Open(file.string()).Worksheets().Item(1);
    try {
        s.Cells(1, 1).Value();
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), part + "cell A1 names no text).");
    }
    EXPECT_THROW(s.Cells(1, 2).Value(), Exception);
}

TEST_F(Workbooks, AFailedSaveLeavesTheFileAsItWas) {
    const fx::Parts before = StandardWorkbook();
    sheet::Workbook& book = Open(before);
    book.Worksheets().Item(1).Cells(2, 6).SetValue(1.0);
    std::filesystem::create_directory(folder / "taken");
    const std::string taken = (folder / "taken").string();
    try {
        book.SaveAs(taken);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot save the workbook \"" + taken + "\": Is a directory.");
    }
    EXPECT_THROW(book.SaveAs((folder / "no-folder" / "cases.xlsx").string()), Exception);
    EXPECT_EQ(fx::Read(file), before);
    std::vector<std::string> names = folder.Names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"cases.xlsx", "taken"}));
    EXPECT_EQ(book.FullName(), file.string());
    book.SaveAs(file.string());  // still whole after the failures
    EXPECT_EQ(Reread(2, 6), Variant(1.0));
}

TEST_F(Workbooks, QuitClosesWithoutSaving) {
    const fx::Parts before = StandardWorkbook();
    sheet::Workbook& book = Open(before);
    book.Worksheets().Item(1).Cells(2, 1).SetValue(5.0);
    app.Quit();
    EXPECT_EQ(app.Workbooks().Count(), 0);
    EXPECT_EQ(fx::Read(file), before);
}

}  // namespace
