// The section catalogues: the numbered entries a reply holds, and the downloads that
// fill the tables and selectors, also when a reply is empty, broken or does not
// convert.
#include <gtest/gtest.h>

#include "platform/text/regional.h"
#include "service/jsonxx/jsonxx.h"
#include "support/form_environment.h"

namespace {

using service_link::CatalogueEntry;
using testing_support::ConnectionBox;
using testing_support::ErrorBox;
using testing_support::FormEnvironment;
using testing_support::ReplyFault;
using Box = ui::HeadlessBackend::Box;

jsonxx::Object Parse(const std::string& text) {
    jsonxx::Object object;
    EXPECT_TRUE(service_link::ParseReplyObject(text, object)) << text;
    return object;
}

std::string ClassEntry(int number, const std::string& name, double tc, double bc) {
    return "\"" + std::to_string(number) + "\":{\"Class\":\"[CR] " + name + "\",\"tc\":" + std::to_string(tc) +
           ",\"Bc\":" + std::to_string(bc) + "}";
}

TEST(CatalogueReader, ClassEntriesAreReadInOrderUpToTheFirstGap) {
    struct ClassCase {
        const char* what;
        std::string reply;
        std::vector<CatalogueEntry> entries;
        std::optional<std::string> error;
    };
    std::string many = "{";
    for (int i = 1; i <= 1200; ++i) many += (i > 1 ? "," : "") + ClassEntry(i, std::to_string(i), 20, 100);
    many += "}";
    const ClassCase cases[] = {
        {"a gap ends the catalogue",
         "{" + ClassEntry(1, "a", 20, 100) + "," + ClassEntry(2, "b", 25, 150) + "," + ClassEntry(4, "d", 30, 200) + "}",
         {{"a", {20, 100}}, {"b", {25, 150}}},
         std::nullopt},
        {"an empty catalogue", "{}", {}, std::nullopt},
        {"the prefix of five characters is cut", "{" + ClassEntry(1, "280", 20, 150) + "}", {{"280", {20, 150}}},
         std::nullopt},
        {"members other than numbers and other keys are ignored",
         R"({"x":1,"1":{"Class":"[CR] a","tc":20,"Bc":100,"note":"n"},"0":{"Class":"[CR] z","tc":1,"Bc":1}})",
         {{"a", {20, 100}}},
         std::nullopt},
        {"a number that is not an object ends it", R"({"1":"[CR] a"})", {}, std::nullopt},
        {"names that repeat stay two entries",
         "{" + ClassEntry(1, "a", 20, 100) + "," + ClassEntry(2, "a", 25, 150) + "}",
         {{"a", {20, 100}}, {"a", {25, 150}}},
         std::nullopt},
        {"a missing key ends the catalogue with its message",
         "{" + ClassEntry(1, "a", 20, 100) + R"(,"2":{"Class":"[CR] b","tc":20}})",
         {{"a", {20, 100}}},
         "Class catalogue entry 2: key \"Bc\" is missing or not a number"},
        {"a key of another kind counts as missing", R"({"1":{"Class":"[CR] b","tc":"20","Bc":100}})", {},
         "Class catalogue entry 1: key \"tc\" is missing or not a number"},
        {"a number beyond single precision ends it too",
         "{" + ClassEntry(1, "a", 20, 100) + R"(,"2":{"Class":"[CR] b","tc":20,"Bc":1e39}})",
         {{"a", {20, 100}}},
         "Class catalogue entry 2: key \"Bc\" holds a number out of range: 1e+39"},
        {"the largest single-precision number fits", R"({"1":{"Class":"[CR] b","tc":-3.4e38,"Bc":3.4e38}})",
         {{"b", {-3.4e38f, 3.4e38f}}},
         std::nullopt},
    };
    for (const ClassCase& c : cases) {
        SCOPED_TRACE(c.what);
        const service_link::CatalogueRead read = service_link::ReadClassCatalogue(Parse(c.reply));
        EXPECT_EQ(read.entries, c.entries);
        EXPECT_EQ(read.error, c.error);
    }
    const service_link::CatalogueRead read = service_link::ReadClassCatalogue(Parse(many));
    EXPECT_EQ(read.entries.size(), 999u) << "at most 999 entries are read";
    EXPECT_EQ(read.entries.back().name, "999");
}

TEST(CatalogueReader, SectionDimensionsAreReadWithADecimalPointWhateverTheRegionalSettings) {
    const std::string reply = R"({"1":{"SEC":"UB 1","D":"600","W":"228.2","tw":"11.1","tf":"17.3"},)"
                              R"("2":{"SEC":"UB 2","D":"600.5","W":"300","tw":"12","tf":"20"},)"
                              R"("3":{"SEC":"UB 3","D":"700","W":"300","tw":"12,5","tf":"20"}})";
    for (const char separator : {'.', ','}) {
        SCOPED_TRACE(separator);
        text::ScopedDecimalSeparator regional(separator);
        const service_link::CatalogueRead read = service_link::ReadSectionCatalogue(Parse(reply));
        EXPECT_EQ(read.entries, (std::vector<CatalogueEntry>{{"UB 1", {600, 228.2f, 11.1f, 17.3f}},
                                                              {"UB 2", {600.5f, 300, 12, 20}}}));
        EXPECT_EQ(read.error, "'12,5' is not a valid floating point value") << "a comma is not the service's form";
    }
    const service_link::CatalogueRead numbers =
        service_link::ReadSectionCatalogue(Parse(R"({"1":{"SEC":"UB","D":600,"W":"1","tw":"1","tf":"1"}})"));
    EXPECT_TRUE(numbers.entries.empty()) << "dimensions come as strings";
    EXPECT_EQ(numbers.error, "Section catalogue entry 1: key \"D\" is missing or not a text");
    text::ScopedDecimalSeparator point('.');
    const service_link::CatalogueRead large = service_link::ReadSectionCatalogue(
        Parse(R"({"1":{"SEC":"UB 1","D":"600","W":"228","tw":"11","tf":"17"},)"
              R"("2":{"SEC":"UB 2","D":"600","W":"1e39","tw":"12","tf":"20"}})"));
    EXPECT_EQ(large.entries, (std::vector<CatalogueEntry>{{"UB 1", {600, 228, 11, 17}}}));
    EXPECT_EQ(large.error, "'1e39' is not a valid floating point value") << "the conversion error of the dimension";
}

class CatalogueDownloadTest : public ::testing::Test {
protected:
    FormEnvironment env;
    DOVEREForm* form = env.Create();

    void SetUp() override { ASSERT_TRUE(env.Headless().TakeBoxes().empty()); }

    void Answer(const std::string& method, const std::string& x) {
        env.Service().FailMethod(method, ReplyFault("{\"result\":[" + x + "]}"));
    }
};

TEST_F(CatalogueDownloadTest, AClassDownloadReplacesTheTableAndTheItems) {
    Answer("Get_tcBc_Colls_for_Cross_Type",
           "{" + ClassEntry(1, "a", 20, 100) + "," + ClassEntry(2, "b", 25, 150) + "," + ClassEntry(3, "a", 30, 200) + "}");
    form->UrlTail = "SM570";
    form->LoadCrossTypeSections();
    EXPECT_EQ(env.Methods().back(), "Get_tcBc_Colls_for_Cross_Type/SM570");
    EXPECT_EQ(form->CataloguePath, service_link::kCrossTypePath);
    EXPECT_EQ(form->CrossTypeSectionTable, (SectionTable{{"a", {20, 100, 30, 200}}, {"b", {25, 150}}}));
    EXPECT_EQ(form->ComboBox_Py->Items().List(), (std::vector<std::string>{"a", "b", "a"}));
    EXPECT_EQ(form->ComboBox_Py->ItemIndex(), 0);
    EXPECT_EQ(form->ClassTc, 30);
    EXPECT_EQ(form->ClassBc, 200);
    EXPECT_TRUE(env.Headless().Boxes().empty());
}

TEST_F(CatalogueDownloadTest, AnEmptyOrShortReplyEmptiesTheTableAndLeavesNoSelection) {
    for (const char* body : {R"({"result":[{}]})", "{}"}) {
        SCOPED_TRACE(body);
        env.Service().FailMethod("Get_tcBc_Colls_for_Single_Plate_Type", ReplyFault(body));
        form->LoadSinglePlateSections();
        EXPECT_TRUE(form->SinglePlateSectionTable.empty());
        EXPECT_EQ(form->ComboBox_SP_Py->Items().Count(), 0);
        EXPECT_EQ(form->ComboBox_SP_Py->ItemIndex(), -1);
        EXPECT_TRUE(env.Headless().Boxes().empty());
    }
}

TEST_F(CatalogueDownloadTest, AFailedOrUnreadableReplyLeavesTableAndSelectorAsTheyWere) {
    const SectionTable table = form->CrossTypeSectionTable;
    const std::vector<std::string> items = form->ComboBox_Py->Items().List();
    zorv_service::Fault status;
    status.status = 500;
    const zorv_service::Fault faults[] = {status, ReplyFault(R"({"result":["not a catalogue"]})"),
                                          ReplyFault(R"({"result":[[1,2]]})")};
    for (const zorv_service::Fault& fault : faults) {
        env.Service().FailMethod("Get_tcBc_Colls_for_Cross_Type", fault);
        form->LoadCrossTypeSections();
        EXPECT_EQ(env.Headless().TakeBoxes(), std::vector<Box>{ConnectionBox()});
        EXPECT_EQ(form->CrossTypeSectionTable, table);
        EXPECT_EQ(form->ComboBox_Py->Items().List(), items);
    }
}

TEST_F(CatalogueDownloadTest, AnEntryWithoutItsKeyEndsTheDownloadWithTheClassesBeforeIt) {
    Answer("Get_tcBc_Colls_for_Cross_Type", "{" + ClassEntry(1, "a", 20, 100) + R"(,"2":{"Class":"[CR] b","tc":20}})");
    form->LoadCrossTypeSections();
    EXPECT_EQ(env.Headless().Boxes(),
              std::vector<Box>{ErrorBox("Class catalogue entry 2: key \"Bc\" is missing or not a number")});
    EXPECT_EQ(form->CrossTypeSectionTable, (SectionTable{{"a", {20, 100}}}));
    EXPECT_EQ(form->ComboBox_Py->Items().List(), (std::vector<std::string>{"a"}));
    EXPECT_EQ(form->ComboBox_Py->ItemIndex(), 0);
}

TEST_F(CatalogueDownloadTest, UniversalSectionsFillBothSelectorsAndAddToTheTable) {
    Answer("Get_Universal_Columns", R"({"1":{"SEC":"C1","D":"310","W":"305","tw":"9.9","tf":"15.4"}})");
    form->LoadUniversalColumns();
    EXPECT_EQ(env.Methods().back(), "Get_Universal_Columns/NZ");
    EXPECT_EQ(form->ComboBox_LeftColumn->Items().List(), (std::vector<std::string>{"C1"}));
    EXPECT_EQ(form->ComboBox_RightColumn->Items().List(), (std::vector<std::string>{"C1"}));
    EXPECT_EQ(form->ComboBox_RightColumn->ItemIndex(), 0);
    EXPECT_EQ(form->UniversalColumnTable.at("C1"), (std::vector<float>{310, 305, 9.9f, 15.4f}));
    EXPECT_GT(form->UniversalColumnTable.size(), 1u) << "the start-up sections stay in the table";
}

}  // namespace
