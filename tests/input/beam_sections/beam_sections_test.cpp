// Beam designations: number tokens, the check of each beam, the normalised text and
// numbers, and which beam keeps its last valid numbers when a text fails.
#include <gtest/gtest.h>

#include "input/beam_designation.h"
#include "platform/text/regional.h"
#include "support/form_environment.h"

namespace {

using testing_support::FormEnvironment;
using Strings = std::vector<std::string>;

TEST(NumberTokens, RunsOfDigitsAndPoints) {
    struct Case {
        const char* text;
        Strings tokens;
    };
    const Case cases[] = {
        {"H594 x 302 x 14 x 23", {"594", "302", "14", "23"}},
        {"H 594x302x14x23 mm", {"594", "302", "14", "23"}},
        {"594 302 14 23", {"594", "302", "14", "23"}},
        {"H400x200x8.5x13", {"400", "200", "8.5", "13"}},
        {"14.5.2", {"14.5.2"}},
        {"a . b", {"."}},
        {"-12,5", {"12", "5"}},
        {"", {}},
        {"db x wb x tw x tf", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(ExtractNumberTokens(c.text), c.tokens) << c.text;

    // Under a decimal comma the comma belongs to the number; a point still does.
    text::ScopedDecimalSeparator comma(',');
    const Case comma_cases[] = {
        {"H 600 x 200 x 11 x 17,5", {"600", "200", "11", "17,5"}},
        {"H400x200x8.5x13", {"400", "200", "8.5", "13"}},
        {"-12,5", {"12,5"}},
        {"1,2.3", {"1,2.3"}},
    };
    for (const Case& c : comma_cases) EXPECT_EQ(ExtractNumberTokens(c.text), c.tokens) << c.text;
}

TEST(BeamDesignation, FourNumbersOfAtLeastOneAndTheMessageThatNamesTheBeam) {
    struct Case {
        const char* text;
        TBeamOutcome outcome;
        std::string normalised;
        std::vector<float> numbers;
        std::string upper_message, lower_message;
    };
    const std::string kCount = "Invalid Section! Type four numbers: db x wb x tw x tf.";
    const Case cases[] = {
        {"H594 x 302 x 14 x 23", TBeamOutcome::Valid, "H594x302x14x23", {594, 302, 14, 23}, "", ""},
        {"H 594x302x14.5x23 mm", TBeamOutcome::Valid, "H594x302x14.5x23", {594, 302, 14.5f, 23}, "", ""},
        {"1 1 1 1", TBeamOutcome::Valid, "H1x1x1x1", {1, 1, 1, 1}, "", ""},
        {"H594 x 302 x 14", TBeamOutcome::WrongCount, "", {0, 0, 0, 0}, "Upper beam: " + kCount,
         "Lower beam: " + kCount},
        {"H700 x 300 x 13 x 24 x 1", TBeamOutcome::WrongCount, "", {0, 0, 0, 0}, "Upper beam: " + kCount,
         "Lower beam: " + kCount},
        {"db x wb x tw x tf", TBeamOutcome::WrongCount, "", {0, 0, 0, 0}, "Upper beam: " + kCount,
         "Lower beam: " + kCount},
        {"H594 x 302 x 0.5 x 23", TBeamOutcome::BelowOne, "", {594, 302, 0, 0},
         "Upper beam: Invalid Section! Each number must be at least 1, not 0.5.",
         "Lower beam: Invalid Section! Each number must be at least 1, not 0.5."},
        // Below 1 as typed, though single precision would round it to 1.
        {"H0.9999999999x2x2x2", TBeamOutcome::BelowOne, "", {0, 0, 0, 0},
         "Upper beam: Invalid Section! Each number must be at least 1, not 0.9999999999.",
         "Lower beam: Invalid Section! Each number must be at least 1, not 0.9999999999."},
        {"H1.0000000001x2x2x2", TBeamOutcome::Valid, "H1.0000000001x2x2x2", {1, 2, 2, 2}, "", ""},
        // A number beyond single precision is no beam dimension, never an infinity.
        {"H594 x 302 x 14 x 1000000000000000000000000000000000000000", TBeamOutcome::Unconvertible, "",
         {594, 302, 14, 0},
         "Upper beam: Invalid Section! '1000000000000000000000000000000000000000' is not a number.",
         "Lower beam: Error: '1000000000000000000000000000000000000000' is not a number."},
        // The first failing token decides: 0.5 comes before the unconvertible one.
        {"H594 x 0.5 x 14.5.2 x 23", TBeamOutcome::BelowOne, "", {594, 0, 0, 0},
         "Upper beam: Invalid Section! Each number must be at least 1, not 0.5.",
         "Lower beam: Invalid Section! Each number must be at least 1, not 0.5."},
        {"594 x 302 x 14.5.2 x 23", TBeamOutcome::Unconvertible, "", {594, 302, 0, 0},
         "Upper beam: Invalid Section! '14.5.2' is not a number.", "Lower beam: Error: '14.5.2' is not a number."},
        {"H700 x . x 13 x 24", TBeamOutcome::Unconvertible, "", {700, 0, 0, 0},
         "Upper beam: Invalid Section! '.' is not a number.", "Lower beam: Error: '.' is not a number."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TBeamDesignation beam = ReadBeamDesignation(c.text);
        EXPECT_EQ(beam.Outcome, c.outcome);
        EXPECT_EQ(beam.Normalised, c.normalised);
        EXPECT_EQ(std::vector<float>(beam.Numbers, beam.Numbers + 4), c.numbers);
        EXPECT_EQ(BeamDesignationFailure(TBeamSide::Upper, beam).value_or(""), c.upper_message);
        EXPECT_EQ(BeamDesignationFailure(TBeamSide::Lower, beam).value_or(""), c.lower_message);
    }
}

class BeamSections : public ::testing::Test {
protected:
    void SetUp() override {
        form = env.Create();
        ASSERT_NE(form, nullptr);
    }
    // Both beams parsed once from known texts, so every case starts the same.
    void Known() {
        form->LabeledEdit_Beam_down->SetText("H500 x 200 x 10 x 16");
        form->LabeledEdit_Beam_up->SetText("H600 x 300 x 12 x 20");
        form->ParseBeamSections();
        env.Headless().TakeBoxes();
    }
    std::vector<float> Lower() const {
        const TFrameValues& v = form->FrameValues;
        return {v.d_b_down, v.b_w_b_down, v.b_t_w_down, v.b_t_f_down};
    }
    std::vector<float> Upper() const {
        const TFrameValues& v = form->FrameValues;
        return {v.d_b_up, v.b_w_b_up, v.b_t_w_up, v.b_t_f_up};
    }

    FormEnvironment env;
    DOVEREForm* form = nullptr;
};

TEST_F(BeamSections, EachBeamIsNormalisedOnItsOwnAndABadOneKeepsItsTextAndNumbers) {
    const std::vector<float> kLower = {500, 200, 10, 16};
    const std::vector<float> kUpper = {600, 300, 12, 20};
    struct Case {
        const char* name;
        std::string lower, upper;
        std::string lower_after, upper_after;
        std::string type_down, type_up;
        std::vector<float> lower_numbers, upper_numbers;
    };
    const Case cases[] = {
        {"layout text", "H594 x 302 x 14 x 23", "H 594x302x14.5x23 mm", "H594x302x14x23", "H594x302x14.5x23",
         "H594x302x14x23", "H594x302x14.5x23", {594, 302, 14, 23}, {594, 302, 14.5f, 23}},
        {"a bad lower beam does not keep the upper from its numbers", "H594 x 302 x 14", "H700 x 300 x 13 x 24",
         "H594 x 302 x 14", "H700x300x13x24", "H500x200x10x16", "H700x300x13x24", kLower, {700, 300, 13, 24}},
        {"a bad upper beam", "H594 x 302 x 14 x 23", "H700 x . x 13 x 24", "H594x302x14x23", "H700 x . x 13 x 24",
         "H594x302x14x23", "H600x300x12x20", {594, 302, 14, 23}, kUpper},
        {"both bad", "H594 x 302 x 1.4.1 x 23", "700 x 300", "H594 x 302 x 1.4.1 x 23", "700 x 300",
         "H500x200x10x16", "H600x300x12x20", kLower, kUpper},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Known();
        form->LabeledEdit_Beam_down->SetText(c.lower);
        form->LabeledEdit_Beam_up->SetText(c.upper);
        form->ParseBeamSections();
        EXPECT_TRUE(env.Headless().Boxes().empty()) << "the run's check reports a bad designation";
        EXPECT_EQ(form->LabeledEdit_Beam_down->Text(), c.lower_after);
        EXPECT_EQ(form->LabeledEdit_Beam_up->Text(), c.upper_after);
        EXPECT_EQ(form->BeamTypeDown, c.type_down);
        EXPECT_EQ(form->BeamTypeUp, c.type_up);
        EXPECT_EQ(Lower(), c.lower_numbers);
        EXPECT_EQ(Upper(), c.upper_numbers);
    }
}

TEST_F(BeamSections, NormalisingKeepsTheCatalogueName) {
    // As after a catalogue choice: the edit holds the blank-separated numbers, pending.
    form->LabeledEdit_Beam_up->SetText("610 305 14.1 23.6");
    form->LabeledEdit_Beam_down->SetText("533 210 10.8 17.4");
    form->SectionNames.UpperBeam = "UB610x305x149";
    form->SectionNames.LowerBeam = "UB533x210x122";
    form->ParseBeamSections();
    EXPECT_EQ(form->LabeledEdit_Beam_up->Text(), "H610x305x14.1x23.6");
    EXPECT_EQ(form->LabeledEdit_Beam_down->Text(), "H533x210x10.8x17.4");
    EXPECT_EQ(form->SectionNames.UpperBeam, "UB610x305x149");
    EXPECT_EQ(form->SectionNames.LowerBeam, "UB533x210x122");
}

TEST_F(BeamSections, UnderADecimalCommaTheEditShowsACommaAndTheRequestAPoint) {
    text::ScopedDecimalSeparator comma(',');
    Known();
    form->LabeledEdit_Beam_down->SetText("H 600 x 200 x 11 x 17,5");
    form->LabeledEdit_Beam_up->SetText("H 594 x 302,5 x 14 x 23");
    form->ParseBeamSections();
    EXPECT_TRUE(env.Headless().Boxes().empty());
    EXPECT_EQ(form->LabeledEdit_Beam_down->Text(), "H600x200x11x17,5");
    EXPECT_EQ(form->LabeledEdit_Beam_up->Text(), "H594x302,5x14x23");
    EXPECT_EQ(form->BeamTypeDown, "H600x200x11x17.5");
    EXPECT_EQ(form->BeamTypeUp, "H594x302.5x14x23");
    EXPECT_EQ(Lower(), (std::vector<float>{600, 200, 11, 17.5f}));
    EXPECT_EQ(Upper(), (std::vector<float>{594, 302.5f, 14, 23}));

    // A point is refused as in every number the user types; the beam keeps its text
    // and its last numbers, and the run's check names it.
    form->LabeledEdit_Beam_up->SetText("H700 x 300 x 13 x 24.5");
    const TBeamDesignation refused = ReadBeamDesignation(form->LabeledEdit_Beam_up->Text());
    EXPECT_EQ(BeamDesignationFailure(TBeamSide::Upper, refused).value_or(""),
              "Upper beam: Invalid Section! '24.5' is not a number.");
    form->ParseBeamSections();
    EXPECT_EQ(form->LabeledEdit_Beam_up->Text(), "H700 x 300 x 13 x 24.5");
    EXPECT_EQ(Upper(), (std::vector<float>{594, 302.5f, 14, 23}));
}

}  // namespace
