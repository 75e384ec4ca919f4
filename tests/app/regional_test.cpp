// The window under the user's own regional settings, a compiled decimal-comma locale
// and the classic one: the service's numbers are read with their point, what the
// window writes into its edits and grids carries the user's separator and reads
// back, what the user types is read in the user's form, and the request is the
// same JSON under both.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <regex>

#include <nlohmann/json.hpp>

#include "platform/text/number_text.h"
#include "platform/text/regional.h"
#include "core/design_run/run_fixture.h"
#include "support/form_environment.h"
#include "support/locale_environment.h"
#include "support/xlsx_fixture.h"

namespace {

namespace fx = xlsx_fixture;
using testing_support::ErrorBox;
using testing_support::FormEnvironment;
using Box = ui::HeadlessBackend::Box;

const std::string kRunMethod = "RUN_ZORV_PROJECT/";

// The user's locale for the life of the object; the separator is read again on the
// way in and on the way out.
class UserLocale {
public:
    explicit UserLocale(const std::string& name) : locales_(std::in_place, std::vector<std::string>{"de_DE.UTF-8"}) {
        locales_->Set("LANG", name);
        text::UseLocaleDecimalSeparator();
    }
    ~UserLocale() {
        locales_.reset();
        text::UseLocaleDecimalSeparator();
    }
    bool available() const { return locales_->available(); }

private:
    std::optional<test_support::LocaleEnvironment> locales_;
};

std::vector<std::string> RunRequests(FormEnvironment& env) {
    std::vector<std::string> requests;
    for (const std::string& m : env.Methods())
        if (m.rfind(kRunMethod, 0) == 0) requests.push_back(m.substr(kRunMethod.size()));
    return requests;
}

nlohmann::json LastRunRequest(FormEnvironment& env) {
    const std::vector<std::string> requests = RunRequests(env);
    if (requests.empty()) {
        ADD_FAILURE() << "no design request went out";
        return nlohmann::json::object();
    }
    return nlohmann::json::parse(requests.back());
}

struct LocaleCase {
    const char* name;
    char separator;
};

void PrintTo(const LocaleCase& c, std::ostream* out) { *out << c.name; }

class Regional : public ::testing::TestWithParam<LocaleCase> {
protected:
    void SetUp() override {
        if (!locale_.available()) GTEST_SKIP() << "localedef or the locale sources are missing";
        ASSERT_EQ(text::DecimalSeparator(), GetParam().separator) << "the locale is in force";
    }

    // A number text written with a point, in the user's form (an independent
    // spelling of what the window must show).
    std::string Local(std::string point_text) const {
        for (char& c : point_text)
            if (c == '.') c = GetParam().separator;
        return point_text;
    }
    // The same number in the form the user's settings refuse.
    std::string Foreign(std::string point_text) const {
        for (char& c : point_text)
            if (c == '.') c = GetParam().separator == ',' ? '.' : ',';
        return point_text;
    }
    static std::string Printed(const char* format, double value) {
        char text[64];
        std::snprintf(text, sizeof text, format, value);
        return text;
    }

    void PressEnter(TEdit* edit, const std::string& text) {
        ui::UserEditText(edit, text);
        ui::UserPressEnter(edit);
    }

    UserLocale locale_{GetParam().name};
};

TEST_P(Regional, StartsWithTheFourCataloguesAndNoBoxAndDesigns) {
    FormEnvironment env;
    DOVEREForm* form = env.Create();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(env.Headless().Boxes(), std::vector<Box>{});
    EXPECT_FALSE(form->CrossTypeSectionTable.empty());
    EXPECT_FALSE(form->SinglePlateSectionTable.empty());
    // Dimensions that the service writes as "921.0", "420.5", "21.4", "36.6".
    EXPECT_EQ(form->UniversalBeamTable.at("UB914x419x388"), (std::vector<float>{921.0f, 420.5f, 21.4f, 36.6f}));
    EXPECT_EQ(form->UniversalColumnTable.at("UC356x406x551"), (std::vector<float>{455.6f, 418.5f, 42.1f, 67.5f}));
    EXPECT_EQ(form->ComboBox_UpperBeam->Items().Count(), static_cast<int>(form->UniversalBeamTable.size()));

    // The layout's default texts in the user's form.
    EXPECT_EQ(form->LabeledEdit_F_y_b->Text(), Local("0.033"));
    EXPECT_EQ(form->LabeledEdit_Adjust_Beta_f->Text(), Local("1.15"));
    EXPECT_EQ(form->Edit_LcToLwp->Text(), Local("0.3"));
    EXPECT_EQ(form->Bolted_BRB_Fy->Text(), Local("0.0331"));

    ASSERT_EQ(RunRequests(env).size(), 1u) << "the first design went out";
    const nlohmann::json request = LastRunRequest(env);
    EXPECT_EQ(request["FRAME"]["F_y_b"], 0.033);
    EXPECT_EQ(request["FRAME"]["R_y_b"], 1.2);

    // Its results in the user's form.
    const jsonxx::Object& result = form->ResultObject;
    ASSERT_TRUE(result.has<double>("Q_factor") && result.has<double>("K_eff"));
    TStringGrid* grid = form->StringGrid_BRB;
    ASSERT_EQ(grid->Cells(0, 3), "Q");
    EXPECT_EQ(grid->Cells(1, 3), Local(Printed("%.2f", result.get<double>("Q_factor"))));
    const std::regex foreign_fraction(std::string("[0-9]\\") + (GetParam().separator == ',' ? '.' : ',') + "[0-9]");
    for (TStringGrid* g : {form->StringGrid_BRB, form->StringGrid_DCR})
        for (int row = 0; row < g->RowCount(); ++row)
            for (int col = 0; col < g->ColCount(); ++col)
                EXPECT_FALSE(std::regex_search(g->Cells(col, row), foreign_fraction))
                    << g->Name() << " (" << col << ", " << row << "): " << g->Cells(col, row);
    // The stiffness shown in its field reads back as the value it shows; only a point
    // loses a zero decimal, a comma keeps it.
    const double keff = result.get<double>("K_eff");
    std::string shown = Printed("%.1f", keff);
    if (shown.ends_with(".0") && GetParam().separator == '.') shown.resize(shown.size() - 2);
    EXPECT_EQ(form->Edit_Keff_req->Text(), Local(shown));
    EXPECT_NEAR(ParseFloatText(form->Edit_Keff_req->Text()), keff, 0.05);
}

TEST(RegionalRequest, TheFirstDesignSendsTheSameRequestUnderEveryLocale) {
    std::vector<std::string> requests;
    for (const char* name : {"C", "de_DE.UTF-8"}) {
        SCOPED_TRACE(name);
        UserLocale locale(name);
        if (!locale.available()) GTEST_SKIP() << "localedef or the locale sources are missing";
        FormEnvironment env;
        DOVEREForm* form = env.Create();
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(env.Headless().Boxes(), std::vector<Box>{});
        ASSERT_EQ(RunRequests(env).size(), 1u);
        // The client identifier is the service's own for each window.
        std::string request = RunRequests(env).front();
        const size_t id = request.find(form->ClientId);
        ASSERT_NE(id, std::string::npos);
        requests.push_back(request.replace(id, form->ClientId.size(), "ID"));
    }
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0], requests[1]);
    EXPECT_NE(requests[0].find("\"F_y_b\":0.033,\"R_y_b\":1.2,"), std::string::npos) << requests[0];
}

TEST_P(Regional, ATypedYieldStressIsReadInTheUserForm) {
    FormEnvironment env;
    DOVEREForm* form = env.Create();
    ASSERT_NE(form, nullptr);
    env.Headless().TakeBoxes();
    env.Service().ClearRequestTargets();

    PressEnter(form->LabeledEdit_F_y_b, Local("0.04"));
    EXPECT_EQ(env.Headless().TakeBoxes(), std::vector<Box>{});
    ASSERT_EQ(RunRequests(env).size(), 1u);
    EXPECT_EQ(LastRunRequest(env)["FRAME"]["F_y_b"], 0.04);

    // The other separator is refused with the conversion's own message, and nothing
    // goes to the service.
    env.Service().ClearRequestTargets();
    const std::string foreign = Foreign("0.04");
    PressEnter(form->LabeledEdit_F_y_b, foreign);
    EXPECT_EQ(env.Headless().TakeBoxes(),
              std::vector<Box>{ErrorBox("'" + foreign + "' is not a valid floating point value")});
    EXPECT_TRUE(RunRequests(env).empty());

    // A rule's message writes its limits in the user's form.
    PressEnter(form->LabeledEdit_F_y_b, Local("0.06"));
    const std::vector<Box> boxes = env.Headless().TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Fy,b is allowable between 0tonf/mm^2 and " + Local("0.05") + "tonf/mm^2.");
    EXPECT_TRUE(RunRequests(env).empty());
}

TEST_P(Regional, ACatalogueBeamAndColumnAreChosenAndDesigned) {
    FormEnvironment env;
    DOVEREForm* form = env.Create();
    ASSERT_NE(form, nullptr);
    env.Headless().TakeBoxes();
    env.Service().ClearRequestTargets();

    // 921.0 x 420.5 x 21.4 x 36.6: the thicknesses keep their fractions.
    form->ComboBox_UpperBeam->SetText("UB914x419x388");
    ASSERT_EQ(form->ComboBox_UpperBeam->Text(), "UB914x419x388");
    ASSERT_TRUE(ui::Dispatch([&] { form->ComboBox_UpperBeamChange(form->ComboBox_UpperBeam); }));
    // 419.0 deep: a whole number of millimetres.
    form->ComboBox_LeftColumn->SetText("UC356x406x393");
    ASSERT_EQ(form->ComboBox_LeftColumn->Text(), "UC356x406x393");
    ASSERT_TRUE(ui::Dispatch([&] { form->ComboBox_LeftColumnChange(form->ComboBox_LeftColumn); }));

    EXPECT_EQ(env.Headless().Boxes(), std::vector<Box>{});
    ASSERT_EQ(RunRequests(env).size(), 2u);
    EXPECT_EQ(form->LabeledEdit_Beam_up->Text(), Local("H921x421x21.4x36.6"));
    EXPECT_EQ(form->LabeledEdit_d_c_left->Text(), "419");
    const nlohmann::json frame = LastRunRequest(env)["FRAME"];
    EXPECT_EQ(frame["BeamType_up"], "H921x421x21.4x36.6") << "the service's form";
    EXPECT_EQ(frame["UB_Upper_Beam"], "UB914x419x388");
    EXPECT_EQ(frame["d_b_up"], 921);
    EXPECT_EQ(frame["b_w_b_up"], 421);
    // Through the beam's single-precision members.
    EXPECT_EQ(frame["b_t_w_up"], 21.3999996185303);
    EXPECT_EQ(frame["b_t_f_up"], 36.5999984741211);
    EXPECT_EQ(frame["d_c_left"], 419);
    EXPECT_EQ(frame["UC_Left_Column"], "UC356x406x393");
    EXPECT_TRUE(form->ResultObject.has<double>("K_eff")) << "designed";
}

TEST_P(Regional, AWorkbookRowWithFractionalNumbersRuns) {
    FormEnvironment env;
    DOVEREForm* form = env.Create();
    ASSERT_NE(form, nullptr);
    // A class catalogue whose thickness has a fraction, as the service names it.
    env.Service().FailMethod(
        "Get_tcBc_Colls_for_Cross_Type",
        testing_support::ReplyFault(R"j({"result":[{"1":{"Class":"[CR] 100tonf(tc=20mm)","tc":20,"Bc":100},)j"
                                    R"j("2":{"Class":"[CR] 100tonf(tc=12.5mm)","tc":12.5,"Bc":160}}]})j"));
    form->LoadCrossTypeSections();
    env.Headless().TakeBoxes();
    env.Service().ClearRequestTargets();

    const auto num = [](const std::string& ref, const std::string& value) {
        return "<c r=\"" + ref + "\"><v>" + value + "</v></c>";
    };
    const auto str = [](const std::string& ref, const std::string& text) {
        return "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t>" + text + "</t></is></c>";
    };
    // Numbers are stored with a point whatever the user's settings; the beam is
    // text the user typed in the user's own form.
    const std::string row = "<row r=\"2\">" + num("A2", "100") + num("B2", "12.5") + num("C2", "4000") +
                            num("D2", "5000") + str("E2", "A1") + str("L2", Local("H594 x 302 x 14.5 x 23")) +
                            num("S2", "500") + "</row>";
    fx::TempFolder folder;
    const std::filesystem::path file = folder / "cases.xlsx";
    fx::Write(file, fx::Workbook(fx::SheetXml(row, "A1:S2"), fx::SharedStrings({"<t>Capacity</t>"})));
    env.Headless().QueueFileAnswer(file.string());
    ui::Dispatch([&] { form->Button1->OnClick(form->Button1); });

    for (const Box& box : env.Headless().Boxes())
        EXPECT_EQ(box.text.find("is not a valid"), std::string::npos) << box.text;
    EXPECT_EQ(form->CheckListBox_Batch->Items().List(), std::vector<std::string>{Local("100-12.5-A1")});
    ASSERT_EQ(RunRequests(env).size(), 1u) << "the row found its class and ran";
    const nlohmann::json request = LastRunRequest(env);
    EXPECT_EQ(request["BRB"]["Type_of_BRB_capacity"], "[002]100tonf(tc=12.5mm)");
    EXPECT_EQ(request["FRAME"]["BeamType_up"], "H594x302x14.5x23");
    EXPECT_EQ(request["FRAME"]["b_t_w_up"], 14.5);
    EXPECT_EQ(request["FRAME"]["H_col"], 4000);
    EXPECT_EQ(form->LabeledEdit_Beam_up->Text(), Local("H594x302x14.5x23"));
}

TEST_P(Regional, AFailedRunNeverLeavesTheRunLampLit) {
    using design_run_tests::kDone;
    using design_run_tests::LampHidden;
    using design_run_tests::LampOf;
    FormEnvironment env;
    DOVEREForm* form = env.Create();
    ASSERT_NE(form, nullptr);
    env.Headless().TakeBoxes();
    ASSERT_EQ(LampOf(*form), kDone);
    env.Service().ClearRequestTargets();

    // A number in the form the user's settings refuse, in an edit that only the
    // request build reads: the run stops after the lamp said "RUN".
    const std::string foreign = Foreign("1.5");
    form->LabeledEdit_Ib_up->SetText(foreign);
    PressEnter(form->LabeledEdit_H_col, "4100");
    EXPECT_EQ(env.Headless().TakeBoxes(),
              std::vector<Box>{ErrorBox("'" + foreign + "' is not a valid floating point value")});
    EXPECT_TRUE(RunRequests(env).empty());
    EXPECT_TRUE(LampHidden(*form)) << LampOf(*form) << ": no verdict for a height that was never designed";

    // A send that fails leaves no verdict and no "RUN".
    form->LabeledEdit_Ib_up->SetText(Local("1.5"));
    env.Service().FailNextRequest(design_run_tests::ServerError());
    PressEnter(form->LabeledEdit_H_col, "4200");
    EXPECT_EQ(RunRequests(env).size(), 1u);
    EXPECT_EQ(env.Headless().TakeBoxes().size(), 1u) << "the connection message";
    EXPECT_TRUE(LampHidden(*form));
}

INSTANTIATE_TEST_SUITE_P(Locales, Regional,
                         ::testing::Values(LocaleCase{"C", '.'}, LocaleCase{"de_DE.UTF-8", ','}),
                         [](const ::testing::TestParamInfo<LocaleCase>& info) {
                             return info.param.separator == ',' ? std::string("DecimalComma")
                                                                : std::string("DecimalPoint");
                         });

}  // namespace
