#pragma once
// Small .xlsx packages written with libzip for the tests, and the parts of a package
// read back as stored.
#include <zip.h>

#include <cstdlib>
#include <filesystem>
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
