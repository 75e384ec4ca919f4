#pragma once
// Small .xlsx packages written with libzip for the tests, and the parts of a package
// read back as stored.
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace xlsx_fixture {

using Parts = std::vector<std::pair<std::string, std::string>>;  // in package order

inline const char* const kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
inline const char* const kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

inline std::string SheetXml(const std::string& rows, const std::string& dimension = "A1") {
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<worksheet xmlns=\"") +
           kMain + "\" xmlns:r=\"" + kRel + "\"><dimension ref=\"" + dimension +
           "\"/><sheetViews><sheetView workbookViewId=\"0\"/></sheetViews><sheetFormatPr defaultRowHeight=\"15\"/>"
           "<sheetData>" + rows + "</sheetData><pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" "
           "header=\"0.3\" footer=\"0.3\"/></worksheet>";
}

inline std::string SharedStrings(const std::vector<std::string>& items) {
    std::string xml = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<sst xmlns=\"") +
                      kMain + "\" count=\"" + std::to_string(items.size()) + "\" uniqueCount=\"" +
                      std::to_string(items.size()) + "\">";
    for (const std::string& item : items) xml += "<si>" + item + "</si>";
    return xml + "</sst>";
}

// A workbook as a spreadsheet application writes it: two worksheets ("Cases" first,
// then "Notes"), shared strings, styles, document properties and a custom part
// that nothing here knows.
inline Parts Workbook(const std::string& sheet1, const std::string& shared_strings,
                      const std::string& sheet2 = SheetXml("<row r=\"1\"><c r=\"A1\"><v>7</v></c></row>")) {
    const std::string decl = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
    return {
        {"[Content_Types].xml",
         decl + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/vnd.openxmlformats-officedocument."
                "spreadsheetml.sheet.main+xml\"/>"
                "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"application/vnd.openxmlformats-"
                "officedocument.spreadsheetml.worksheet+xml\"/>"
                "<Override PartName=\"/xl/worksheets/sheet2.xml\" ContentType=\"application/vnd.openxmlformats-"
                "officedocument.spreadsheetml.worksheet+xml\"/>"
                "<Override PartName=\"/xl/styles.xml\" ContentType=\"application/vnd.openxmlformats-officedocument."
                "spreadsheetml.styles+xml\"/>"
                "<Override PartName=\"/xl/sharedStrings.xml\" ContentType=\"application/vnd.openxmlformats-"
                "officedocument.spreadsheetml.sharedStrings+xml\"/>"
                "<Override PartName=\"/docProps/core.xml\" ContentType=\"application/vnd.openxmlformats-package."
                "core-properties+xml\"/></Types>"},
        {"_rels/.rels",
         decl + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                "relationships/officeDocument\" Target=\"xl/workbook.xml\"/>"
                "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/package/2006/relationships/"
                "metadata/core-properties\" Target=\"docProps/core.xml\"/></Relationships>"},
        {"docProps/core.xml",
         decl + "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/"
                "core-properties\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:creator>Engineer</dc:creator>"
                "</cp:coreProperties>"},
        {"xl/workbook.xml",
         decl + "<workbook xmlns=\"" + kMain + "\" xmlns:r=\"" + kRel +
             "\"><bookViews><workbookView/></bookViews><sheets><sheet name=\"Cases\" sheetId=\"1\" r:id=\"rId1\"/>"
             "<sheet name=\"Notes\" sheetId=\"2\" r:id=\"rId2\"/></sheets><calcPr calcId=\"191029\"/></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         decl + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                "<Relationship Id=\"rId1\" Type=\"" + kRel + "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
                "<Relationship Id=\"rId2\" Type=\"" + kRel + "/worksheet\" Target=\"/xl/worksheets/sheet2.xml\"/>"
                "<Relationship Id=\"rId3\" Type=\"" + kRel + "/styles\" Target=\"styles.xml\"/>"
                "<Relationship Id=\"rId4\" Type=\"" + kRel + "/sharedStrings\" Target=\"sharedStrings.xml\"/>"
                "</Relationships>"},
        {"xl/worksheets/sheet1.xml", sheet1},
        {"xl/worksheets/sheet2.xml", sheet2},
        {"xl/styles.xml",
         decl + "<styleSheet xmlns=\"" + kMain +
             "\"><numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"0.000\"/></numFmts>"
             "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
             "<fills count=\"1\"><fill><patternFill patternType=\"none\"/></fill></fills>"
             "<borders count=\"1\"><border/></borders><cellStyleXfs count=\"1\"><xf/></cellStyleXfs>"
             "<cellXfs count=\"2\"><xf/><xf numFmtId=\"164\" applyNumberFormat=\"1\"/></cellXfs></styleSheet>"},
        {"xl/sharedStrings.xml", shared_strings},
        {"customXml/item1.xml", "<unknown>kept \x01 as it is</unknown>"},
    };
}

// Writes the parts as a zip package (deflated, or stored for the ones named).
inline void Write(const std::filesystem::path& file, const Parts& parts) {
    int error = 0;
    zip_t* archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive) throw std::runtime_error("zip_open " + std::to_string(error));
    for (const auto& [name, bytes] : parts) {
        zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) throw std::runtime_error("zip_file_add " + name);
        zip_file_set_mtime(archive, static_cast<zip_uint64_t>(index), 1600000000, 0);
    }
    if (zip_close(archive) < 0) throw std::runtime_error("zip_close");
}

// The package as the bytes of a file.
inline std::string Bytes(const Parts& parts) {
    char pattern[] = "/tmp/zorv-package-XXXXXX";
    const int fd = mkstemp(pattern);
    if (fd < 0) throw std::runtime_error("mkstemp");
    close(fd);
    Write(pattern, parts);
    std::ifstream in(pattern, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::filesystem::remove(pattern);
    return bytes;
}

// Other programs' saves of a workbook that is open here. One that writes the file
// over in place, keeping its inode (as openpyxl does): the file is cut, then filled.
inline void SaveInPlace(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.flush()) throw std::runtime_error("cannot write " + file.string());
}
// One that writes a new file beside it and renames it over the workbook (as
// LibreOffice and file sync clients do).
inline void SaveByRename(const std::filesystem::path& file, const std::string& bytes) {
    const std::filesystem::path temp = file.parent_path() / "lu2104vqk1.tmp";
    SaveInPlace(temp, bytes);
    std::filesystem::rename(temp, file);
}
// The lock file that LibreOffice keeps beside a workbook it has open.
inline std::filesystem::path WriteLibreOfficeLock(const std::filesystem::path& file) {
    const std::filesystem::path lock = file.parent_path() / (".~lock." + file.filename().string() + "#");
    std::ofstream(lock) << "Engineer,engineer,workstation,25.06.2021 15:04,file:///home/engineer/.config/libreoffice/4;";
    return lock;
}

// The parts in the order a program writes them; parts it does not name go last.
inline void InPartOrder(Parts& parts, const std::vector<std::string>& order) {
    std::stable_sort(parts.begin(), parts.end(), [&](const auto& a, const auto& b) {
        return std::find(order.begin(), order.end(), a.first) < std::find(order.begin(), order.end(), b.first);
    });
}

// The workbook as LibreOffice Calc stores it: parts in its order (the first worksheet
// last), its workbook part, and formula cells typed, with "aca" and a stored result.
inline Parts LibreOfficeShaped(Parts parts) {
    const std::vector<std::string> order = {"_rels/.rels", "xl/workbook.xml", "xl/styles.xml",
                                            "xl/worksheets/sheet2.xml", "xl/_rels/workbook.xml.rels",
                                            "xl/sharedStrings.xml", "docProps/core.xml", "customXml/item1.xml",
                                            "[Content_Types].xml", "xl/worksheets/sheet1.xml"};
    InPartOrder(parts, order);
    for (auto& [name, bytes] : parts) {
        if (name != "xl/workbook.xml") continue;
        bytes = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<workbook xmlns=\"") +
                kMain + "\" xmlns:r=\"" + kRel +
                "\"><fileVersion appName=\"Calc\"/><workbookPr backupFile=\"false\" showObjects=\"all\" "
                "date1904=\"false\"/><workbookProtection/><bookViews><workbookView showHorizontalScroll=\"true\" "
                "activeTab=\"0\"/></bookViews><sheets><sheet name=\"Cases\" sheetId=\"1\" state=\"visible\" "
                "r:id=\"rId1\"/><sheet name=\"Notes\" sheetId=\"2\" state=\"visible\" r:id=\"rId2\"/></sheets>"
                "<calcPr iterateCount=\"100\" refMode=\"A1\" iterate=\"false\" iterateDelta=\"0.001\"/>"
                "<extLst><ext xmlns:loext=\"http://schemas.libreoffice.org/\" uri=\"{7626C862-2A13-11E5-B345-"
                "FEFF819CDC9F}\"><loext:extCalcPr stringRefSyntax=\"CalcA1\"/></ext></extLst></workbook>";
    }
    return parts;
}
inline std::string LibreOfficeFormula(const std::string& ref, const std::string& formula, const std::string& value) {
    return "<c r=\"" + ref + "\" s=\"0\" t=\"n\"><f aca=\"false\">" + formula + "</f><v>" + value + "</v></c>";
}

// The workbook as openpyxl saves it: the worksheets first and the content types
// last, a workbook part that asks for a full calculation, and every formula saved
// with an empty result.
inline Parts OpenpyxlShaped(Parts parts) {
    const std::vector<std::string> order = {"docProps/core.xml", "xl/worksheets/sheet1.xml",
                                            "xl/worksheets/sheet2.xml", "xl/sharedStrings.xml", "xl/styles.xml",
                                            "_rels/.rels", "xl/workbook.xml", "xl/_rels/workbook.xml.rels",
                                            "customXml/item1.xml", "[Content_Types].xml"};
    InPartOrder(parts, order);
    for (auto& [name, bytes] : parts) {
        if (name == "xl/workbook.xml") {
            const size_t calc = bytes.find("<calcPr");
            if (calc != std::string::npos) bytes.replace(calc, bytes.find("/>", calc) + 2 - calc,
                                                         "<calcPr calcId=\"124519\" fullCalcOnLoad=\"1\"/>");
        } else if (name.rfind("xl/worksheets/", 0) == 0) {
            for (size_t f = bytes.find("</f>"); f != std::string::npos; f = bytes.find("</f>", f + 1)) {
                const size_t v = f + 4, end = bytes.find("</v>", v);
                if (bytes.compare(v, 3, "<v>") == 0 && end != std::string::npos) bytes.replace(v, end + 4 - v, "<v></v>");
            }
        }
    }
    return parts;
}

// Every part of a package, in its stored order.
inline Parts Read(const std::filesystem::path& file) {
    int error = 0;
    zip_t* archive = zip_open(file.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive) throw std::runtime_error("not a zip package: " + file.string());
    Parts parts;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &st);
        std::string bytes(static_cast<size_t>(st.size), '\0');
        zip_file_t* f = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        if (!f || zip_fread(f, bytes.data(), st.size) != static_cast<zip_int64_t>(st.size))
            throw std::runtime_error("cannot read " + std::string(st.name));
        zip_fclose(f);
        parts.emplace_back(st.name, bytes);
    }
    zip_discard(archive);
    return parts;
}

inline std::string Part(const Parts& parts, const std::string& name) {
    for (const auto& [n, bytes] : parts)
        if (n == name) return bytes;
    throw std::runtime_error("no part " + name);
}

inline bool HasPart(const Parts& parts, const std::string& name) {
    for (const auto& [n, bytes] : parts)
        if (n == name) return true;
    return false;
}

// A fresh folder under the temporary directory, removed with the object.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zorv-sheet-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) names.push_back(entry.path().filename());
        return names;
    }

private:
    std::filesystem::path path_;
};

}  // namespace xlsx_fixture
