#pragma once
// Capacity classes of the core plates and the simplified mechanics behind
// them. A class is a nominal yield capacity with a plate thickness; its plate
// width is the smallest multiple of 5 mm whose core area reaches the capacity
// at the grade's yield stress.
#include <string>
#include <vector>

namespace zorv_service {

struct CoreSteel {
    std::string code;  // catalogue code as the client sends it
    double fy;         // yield stress, tonf/mm^2
};

// The grade of a catalogue code; the empty code is the default grade SN490B.
// Returns nullptr for a code that names no grade (codes are case-sensitive).
const CoreSteel* FindCoreSteel(const std::string& code);
const std::vector<CoreSteel>& CoreSteels();

enum class CoreShape { kCruciform, kFlat };

// Core area in mm^2: a cruciform core is two crossed plates tc x Bc, a flat core one.
double CoreArea(CoreShape shape, double tc, double bc);

struct CapacityClass {
    int capacity_tonf;  // nominal yield capacity P_y
    int tc;             // core plate thickness, mm
    int bc;             // core plate width, mm
};

// Ordered by capacity, then thickness.
std::vector<CapacityClass> CapacityClasses(CoreShape shape, double fy);

// The five-byte prefix that the client drops, then e.g. "100tonf(tc=20mm)".
std::string ClassName(CoreShape shape, const CapacityClass& entry);

// The class catalogue object: {"1":{"Class":...,"tc":...,"Bc":...},"2":...}.
std::string ClassCatalogueJson(CoreShape shape, const CoreSteel& steel);

}  // namespace zorv_service
