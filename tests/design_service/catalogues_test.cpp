#include "design_service/catalogues.h"

#include <gtest/gtest.h>

namespace {

using namespace zorv_service;

TEST(CoreArea, CruciformCountsTheCrossingOnce) {
    EXPECT_DOUBLE_EQ(CoreArea(CoreShape::kCruciform, 20, 90), 2 * 20 * 90 - 20 * 20);
    EXPECT_DOUBLE_EQ(CoreArea(CoreShape::kFlat, 20, 155), 20 * 155);
}

TEST(FindCoreSteel, EmptyCodeIsTheDefaultGradeAndCodesAreExact) {
    struct Case {
        std::string code;
        const char* grade;  // nullptr: no such grade
        double fy;
    };
    const Case cases[] = {
        {"", "SN490B", 0.033},       {"SN400B", "SN400B", 0.024}, {"SN490B", "SN490B", 0.033},
        {"SM570", "SM570", 0.0428},  {"A36", "A36", 0.025},       {"A572Gr50", "A572Gr50", 0.035},
        {"sn490b", nullptr, 0},      {"SN490", nullptr, 0},       {"SN490B ", nullptr, 0},
    };
    for (const Case& c : cases) {
        const CoreSteel* steel = FindCoreSteel(c.code);
        if (!c.grade) {
            EXPECT_EQ(steel, nullptr) << c.code;
            continue;
        }
        ASSERT_NE(steel, nullptr) << c.code;
        EXPECT_EQ(steel->code, c.grade);
        EXPECT_DOUBLE_EQ(steel->fy, c.fy);
    }
}

}  // namespace
