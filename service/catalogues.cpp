// The section catalogues: reading the numbered entries of a reply, and the four
// downloads that fill the tables and their selectors.
#include "service/catalogues.h"

#include <cstdio>
#include <sstream>

#include "app/DOVEREFORM.h"
#include "platform/text/code_page.h"
#include "platform/text/number_text.h"
#include "service/jsonxx/jsonxx.h"
#include "service/service_link.h"

namespace service_link {

std::string ClassName(const std::string& catalogue_name) {
    constexpr std::size_t kPrefix = 5;
    return catalogue_name.size() > kPrefix ? catalogue_name.substr(kPrefix) : std::string();
}

namespace {

// A number of an entry that has no single-precision value.
struct NumberOutOfRange {
    const char* key;
    double value;
};

float SingleNumber(const jsonxx::Object& entry, const char* key) {
    const double value = entry.get<double>(key);
    if (!FitsSingle(value)) throw NumberOutOfRange{key, value};
    return static_cast<float>(value);
}

// Walks "1", "2", ... while each holds an object; read_entry gives one entry and may
// throw, which ends the walk with that error and without the entry. A key that is
// missing or out of range is reported with the catalogue and the entry.
template <class ReadEntry>
CatalogueRead ReadNumbered(const jsonxx::Object& reply, const char* catalogue, ReadEntry read_entry) {
    CatalogueRead read;
    for (int i = 1; i <= kMaxCatalogueEntries; ++i) {
        const std::string key = std::to_string(i);
        if (!reply.has<jsonxx::Object>(key)) break;
        const std::string entry = std::string(catalogue) + " entry " + key + ": ";
        try {
            read.entries.push_back(read_entry(reply.get<jsonxx::Object>(key)));
        } catch (const jsonxx::MissingKey& e) {
            read.error = entry + e.Describe("key");
            break;
        } catch (const NumberOutOfRange& e) {
            char value[32];
            std::snprintf(value, sizeof value, "%g", e.value);
            read.error = entry + "key \"" + e.key + "\" holds a number out of range: " + value;
            break;
        } catch (const Exception& e) {
            read.error = e.Message();
            break;
        }
    }
    return read;
}

}  // namespace

CatalogueRead ReadClassCatalogue(const jsonxx::Object& reply) {
    return ReadNumbered(reply, "Class catalogue", [](const jsonxx::Object& entry) {
        CatalogueEntry e;
        e.name = ClassName(entry.get<std::string>("Class"));
        e.numbers.push_back(SingleNumber(entry, "tc"));
        e.numbers.push_back(SingleNumber(entry, "Bc"));
        return e;
    });
}

CatalogueRead ReadSectionCatalogue(const jsonxx::Object& reply) {
    return ReadNumbered(reply, "Section catalogue", [](const jsonxx::Object& entry) {
        CatalogueEntry e;
        e.name = entry.get<std::string>("SEC");
        for (const char* key : {"D", "W", "tw", "tf"}) {
            const std::string& dimension = entry.get<std::string>(key);
            e.numbers.push_back(NarrowToSingle(ParseServiceFloatText(dimension), dimension));
        }
        return e;
    });
}

bool ParseReplyObject(const std::string& reply_text, jsonxx::Object& object) {
    std::istringstream input(text::ToSystemCodePage(reply_text));
    input.imbue(std::locale::classic());
    return jsonxx::Object::parse(input, object);
}

}  // namespace service_link

namespace {

// A reply that is no catalogue at all changes nothing; the user hears of it as of
// any other failed exchange.
bool ParseCatalogue(const std::string& reply_text, jsonxx::Object& reply) {
    if (service_link::ParseReplyObject(reply_text, reply)) return true;
    Application->ShowException(Exception(kConnectionMessage));
    return false;
}

}  // namespace

void DOVEREForm::LoadClassCatalogue(const char* path, SectionTable& table, TComboBox* selector) {
    CataloguePath = path;
    if (!SendCatalogueRequest()) return;
    jsonxx::Object reply;
    if (!ParseCatalogue(ReplyText, reply)) return;
    const service_link::CatalogueRead read = service_link::ReadClassCatalogue(reply);
    table.clear();
    selector->Items().Clear();
    for (const auto& entry : read.entries) {
        WorkString = entry.name;
        WorkText = entry.name;
        ClassTc = entry.numbers[0];
        ClassBc = entry.numbers[1];
        selector->Items().Add(entry.name);
        auto& numbers = table[entry.name];
        numbers.insert(numbers.end(), entry.numbers.begin(), entry.numbers.end());
    }
    selector->SetItemIndex(0);
    // An entry that breaks the catalogue's format ends it; the classes before it stay.
    if (read.error) Application->ShowException(Exception(*read.error));
}

void DOVEREForm::LoadSectionCatalogue(const char* path, SectionTable& table, TComboBox* first, TComboBox* second) {
    if (!GuardedGet(path, "", [this](const std::string& text) { ReplyText = service_link::RewrapObject(text); }))
        return;
    jsonxx::Object reply;
    if (!ParseCatalogue(ReplyText, reply)) return;
    const service_link::CatalogueRead read = service_link::ReadSectionCatalogue(reply);
    // The table is filled once per start and not emptied.
    first->Items().Clear();
    second->Items().Clear();
    for (const auto& entry : read.entries) {
        WorkString = entry.name;
        WorkText = entry.name;
        first->Items().Add(entry.name);
        second->Items().Add(entry.name);
        auto& numbers = table[entry.name];
        numbers.insert(numbers.end(), entry.numbers.begin(), entry.numbers.end());
    }
    first->SetItemIndex(0);
    second->SetItemIndex(0);
    // A dimension that does not convert under the regional settings ends the
    // catalogue there; the sections before it stay and the program goes on.
    if (read.error) Application->ShowException(Exception(*read.error));
}

void DOVEREForm::LoadCrossTypeSections() {
    LoadClassCatalogue(service_link::kCrossTypePath, CrossTypeSectionTable, ComboBox_Py);
}

void DOVEREForm::LoadSinglePlateSections() {
    LoadClassCatalogue(service_link::kSinglePlatePath, SinglePlateSectionTable, ComboBox_SP_Py);
}

void DOVEREForm::LoadUniversalBeams() {
    LoadSectionCatalogue(service_link::kUniversalBeamsPath, UniversalBeamTable, ComboBox_UpperBeam,
                         ComboBox_LowerBeam);
}

void DOVEREForm::LoadUniversalColumns() {
    LoadSectionCatalogue(service_link::kUniversalColumnsPath, UniversalColumnTable, ComboBox_LeftColumn,
                         ComboBox_RightColumn);
}
