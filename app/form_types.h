#pragma once
// Small value types of the main window's state that several subsystems share.
#include <cstdint>
#include <string>

// Layout constants of the tab rows, the gauge row and the detail drawing, in pixels.
struct TViewLayout {
    std::int32_t GaugeRowTop = 0;
    std::int32_t GaugeGap = 0;
    std::int32_t GaugeFocusSize = 0;
    std::int32_t DetailOffset = 0;
    std::int32_t ControlTabTop = 0;
    std::int32_t ControlTabGap = 0;
    std::int32_t ControlTabSize = 0;
    std::int32_t SideBarTabTop = 0;
    std::int32_t SideBarTabGap = 0;
    std::int32_t SideBarTabSize = 0;
};

// Service-side paths of the last result's report files.
struct TReportPaths {
    std::string TextReport;   // "SAVE_ZORV_FILE_PATH"
    std::string Spreadsheet;  // "SAVE_ZORV_XLS_PATH"
    std::string Drawing;      // "SAVE_ZORV_DXF_PATH"
};

// Catalogue section names chosen for the frame members; empty when the member was typed.
struct TSectionNames {
    std::string UpperBeam;
    std::string LowerBeam;
    std::string LeftColumn;
    std::string RightColumn;
};

// Axial load ratios of the beams in the last result.
struct TBeamRatios {
    float Upper = 0.0f;  // "U_Beam_Ratio"
    float Lower = 0.0f;  // "L_Beam_Ratio"
};
