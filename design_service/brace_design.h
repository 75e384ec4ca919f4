#pragma once
// The simplified brace design of the local service: from a run request to the
// numbers and texts of one bay, keyed by their result keys. Plain mechanics an
// engineer can follow (see README.md), not a design code.
#include <map>
#include <string>
#include <vector>

#include "design_service/design_request.h"

namespace zorv_service {

struct ResultValues {
    std::map<std::string, double> numbers;
    std::map<std::string, std::string> texts;
};

struct BayDesign {
    // Diagonal: everything in top. Chevron: the bay's shared and middle-gusset
    // values in top, each brace in left and right.
    ResultValues top, left, right;
    double worst_ratio = 0;           // the largest check ratio of the bay
    bool fits = true;                 // false when a brace's ends reach into the clear distances
    std::vector<std::string> notes;   // what was clamped or does not fit
};

BayDesign DesignBay(const DesignRequest& request);

// The square and circular casings the service chooses from, lightest first
// within each outer size.
struct CasingSection {
    std::string name;    // "SHS 300x300x9", "CHS 300x9"
    double d = 0, t = 0;  // outer size and wall thickness, mm
    double area = 0, inertia = 0, inner = 0;
};
const std::vector<CasingSection>& CasingSections(bool circular);

}  // namespace zorv_service
