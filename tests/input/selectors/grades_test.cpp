// The core grade change with its catalogue downloads, the gusset thickness lists, the
// unit system and the bolt grades.
#include "input/grades.h"
#include "platform/text/regional.h"
#include "selector_fixture.h"

namespace {

using selector_tests::SelectorTest;

using GradesTest = SelectorTest;

TEST_F(GradesTest, CoreGradeChangeDownloadsBothClassCataloguesOfItsCodeBeforeItsRun) {
    const std::vector<std::string> codes = {"SN400B", "SN490B", "SM570", "A36", "A572Gr50"};
    for (int item : {0, 2, 3, 4, 1}) {
        Forget();
        form->ComboBox_Mat->SetItemIndex(item);
        form->ComboBox_MatChange(form->ComboBox_Mat);
        const std::vector<std::string> methods = Methods();
        ASSERT_EQ(methods.size(), 3u) << "item " << item;
        EXPECT_EQ(methods[0], "Get_tcBc_Colls_for_Cross_Type/" + codes[item]);
        EXPECT_EQ(methods[1], "Get_tcBc_Colls_for_Single_Plate_Type/" + codes[item]);
        EXPECT_EQ(MethodNames()[2], selector_tests::kRunMethod);
        EXPECT_EQ(ErrorBoxes(), std::vector<ui::HeadlessBackend::Box>{});
        // Both lists are the new catalogues, each on its first class.
        for (auto [selector, table] : {std::pair{form->ComboBox_Py, &form->CrossTypeSectionTable},
                                       std::pair{form->ComboBox_SP_Py, &form->SinglePlateSectionTable}}) {
            EXPECT_EQ(selector->ItemIndex(), 0) << selector->Name();
            ASSERT_GT(selector->Items().Count(), 0) << selector->Name();
            EXPECT_EQ(static_cast<std::size_t>(selector->Items().Count()), table->size()) << selector->Name();
            for (int i = 0; i < selector->Items().Count(); ++i)
                EXPECT_EQ(table->count(selector->Items()[i]), 1u) << selector->Items()[i];
        }
        EXPECT_TRUE(form->ComboBox_Mat->Enabled());
    }
}

TEST_F(GradesTest, CoreGradeSelectorStaysDisabledWhileItsRunIsOnItsWay) {
    std::vector<bool> enabled_during_run;
    LookDuringRuns([&] { enabled_during_run.push_back(form->ComboBox_Mat->Enabled()); });
    form->ComboBox_Mat->SetItemIndex(3);
    form->ComboBox_MatChange(form->ComboBox_Mat);
    EXPECT_EQ(enabled_during_run, std::vector<bool>{false});
    EXPECT_TRUE(form->ComboBox_Mat->Enabled()) << "enabled again after a failed run too";
}

TEST_F(GradesTest, Sm570LocksTheCruciformCoreUntilAnotherGradeIsChosen) {
    form->ComboBox_BRB_Type->SetItemIndex(1);
    form->ComboBox_BRB_TypeChange(form->ComboBox_BRB_Type);
    ASSERT_TRUE(form->GroupBox_SP->Visible());
    ASSERT_FALSE(form->GroupBox4->Visible());

    form->ComboBox_Mat->SetItemIndex(2);
    form->ComboBox_MatChange(form->ComboBox_Mat);
    EXPECT_EQ(form->ComboBox_BRB_Type->Text(), "Cruciform");
    EXPECT_FALSE(form->ComboBox_BRB_Type->Enabled());
    EXPECT_TRUE(form->GroupBox4->Visible());
    EXPECT_FALSE(form->GroupBox_SP->Visible());

    // Choosing SM570 again keeps the lock.
    form->ComboBox_MatChange(form->ComboBox_Mat);
    EXPECT_FALSE(form->ComboBox_BRB_Type->Enabled());

    form->ComboBox_Mat->SetItemIndex(4);
    form->ComboBox_MatChange(form->ComboBox_Mat);
    EXPECT_TRUE(form->ComboBox_BRB_Type->Enabled());
    EXPECT_EQ(form->ComboBox_BRB_Type->Text(), "Cruciform") << "unlocking leaves the core type as it is";
    EXPECT_TRUE(form->GroupBox4->Visible());
}

TEST_F(GradesTest, GussetThicknessListFollowsTheGussetItemAndEndsOnAuto) {
    struct Case {
        int gusset_item;
        int count;
        const char* first;
    };
    for (const Case& c : {Case{1, 9, "50"}, {0, 21, "16"}, {2, 21, "16"}, {1, 9, "50"}}) {
        form->ComboBox_Mat_Gusset_Plate->SetItemIndex(c.gusset_item);
        form->FillGussetThicknessList();
        const TStrings& items = form->ComboBox_Gusset_Thickness->Items();
        ASSERT_EQ(items.Count(), c.count) << "gusset item " << c.gusset_item;
        EXPECT_EQ(items[0], c.first);
        EXPECT_EQ(items[c.count - 2], "tg = tc");
        EXPECT_EQ(items[c.count - 1], "Auto (tg >= tc)");
        EXPECT_EQ(form->ComboBox_Gusset_Thickness->ItemIndex(), c.count - 1);
    }
    EXPECT_EQ(GussetThicknessItems(0), GussetThicknessItems(2));
    EXPECT_EQ(RunCount(), 0) << "selecting the last thickness from code fires no change";
}

TEST_F(GradesTest, UnitSystemChangeRewritesLabelsBeamFyAndBoltStrengthsThenRunsOnce) {
    struct Case {
        int item;
        TUnitLabels labels;
        const char *fy_b, *fnt, *fnv;
    };
    for (const Case& c : {Case{1, {"kN", "mm", "kN/mm^2", "kN-mm", "kN/mm"}, "0.324", "0.6200", "0.4570"},
                          Case{0, {"tonf", "mm", "tonf/mm^2", "tonf-mm", "tonf/mm"}, "0.033", "0.0632", "0.0466"}}) {
        Forget();
        form->ComboBox_Units->SetItemIndex(c.item);
        form->ComboBox_UnitsChange(form->ComboBox_Units);
        EXPECT_EQ(form->UnitLabels, c.labels);
        EXPECT_EQ(form->LabeledEdit_F_y_b->Text(), c.fy_b);
        EXPECT_EQ(form->Bolted_BRB_Fnt->Text(), c.fnt);
        EXPECT_EQ(form->Bolted_BRB_Fnv->Text(), c.fnv);
        EXPECT_EQ(RunCount(), 1);
        const nlohmann::json request = LastRunRequest();
        EXPECT_EQ(request["General_Information"]["Units"], form->ComboBox_Units->Text());
        // The range rule of the beam Fy refuses 0.324 only on Enter; this run sends it.
        EXPECT_NEAR(request["FRAME"]["F_y_b"].get<double>(), std::stod(c.fy_b), 1e-6);
    }
}

TEST_F(GradesTest, BoltGradeChangeWritesItsStrengthsThenRunsOnce) {
    form->ComboBox_Bolt->SetItemIndex(1);
    form->ComboBox_BoltChange(form->ComboBox_Bolt);
    EXPECT_EQ(form->Bolted_BRB_Fnt->Text(), "0.0795");
    EXPECT_EQ(form->Bolted_BRB_Fnv->Text(), "0.0590");
    EXPECT_FLOAT_EQ(form->BoltStrengths.Fnt, 0.78f / 9.81f);
    EXPECT_EQ(RunCount(), 1);

    form->ComboBox_Bolt->SetItemIndex(0);
    form->ComboBox_BoltChange(form->ComboBox_Bolt);
    EXPECT_EQ(form->Bolted_BRB_Fnt->Text(), "0.0632");
    EXPECT_EQ(form->Bolted_BRB_Fnv->Text(), "0.0466");
    EXPECT_EQ(RunCount(), 2);
}

TEST(BoltStrengths, TonfValuesAreTheKilonewtonValuesOver9_81InSinglePrecision) {
    const auto a325 = BoltStrengthsFor("ASTM A325", "tonf-mm");
    ASSERT_TRUE(a325);
    // The values as single-precision numbers show them to seven digits.
    EXPECT_FLOAT_EQ(a325->Fnt, 0.06320082f);
    EXPECT_FLOAT_EQ(a325->Fnv, 0.04658512f);
    const auto a490_kn = BoltStrengthsFor("ASTM A490", "kN-mm");
    ASSERT_TRUE(a490_kn);
    EXPECT_EQ(a490_kn->Fnt, 0.78f);
    EXPECT_EQ(a490_kn->Fnv, 0.579f);
    // Any unit text but "kN-mm" is tonf-mm.
    EXPECT_EQ(BoltStrengthsFor("ASTM A325", "")->Fnt, a325->Fnt);
    EXPECT_FALSE(BoltStrengthsFor("ASTM A307", "tonf-mm"));
    {
        text::ScopedDecimalSeparator point('.');
        EXPECT_EQ(DefaultBeamFyText("kN-mm"), "0.324");
        EXPECT_EQ(DefaultBeamFyText("other"), "0.033");
    }
    text::ScopedDecimalSeparator comma(',');
    EXPECT_EQ(DefaultBeamFyText("kN-mm"), "0,324") << "the user reads it back";
    EXPECT_EQ(DefaultBeamFyText("other"), "0,033");
}

}  // namespace
