#include "design_service/catalogues.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <nlohmann/json.hpp>

namespace zorv_service {
namespace {

// Nominal capacities offered, tonf.
constexpr int kCapacities[] = {50,  75,  100, 125, 150, 175, 200, 225, 250, 275, 300, 325, 350, 375,
                               400, 450, 500, 550, 600, 650, 700, 750, 800, 900, 1000, 1100, 1200};
// Plate thicknesses that mills roll, mm.
constexpr int kThicknesses[] = {12, 16, 20, 25, 28, 32, 36, 40, 45, 50, 55, 60};
// Per capacity at most this many thicknesses, those nearest a comfortable
// width-to-thickness ratio; ratios outside the band buckle locally in the
// casing (too wide) or waste steel in the ends (too stocky).
constexpr int kPerCapacity = 3;

struct RatioBand {
    double low, high, preferred;
};
RatioBand Band(CoreShape shape) {
    return shape == CoreShape::kCruciform ? RatioBand{4.0, 10.0, 7.0} : RatioBand{4.0, 16.0, 9.0};
}

}  // namespace

const std::vector<CoreSteel>& CoreSteels() {
    static const std::vector<CoreSteel> steels = {
        {"SN400B", 0.024}, {"SN490B", 0.033}, {"SM570", 0.0428}, {"A36", 0.025}, {"A572Gr50", 0.035},
    };
    return steels;
}

const CoreSteel* FindCoreSteel(const std::string& code) {
    const std::string wanted = code.empty() ? "SN490B" : code;
    for (const CoreSteel& steel : CoreSteels())
        if (steel.code == wanted) return &steel;
    return nullptr;
}

double CoreArea(CoreShape shape, double tc, double bc) {
    return shape == CoreShape::kCruciform ? 2.0 * tc * bc - tc * tc : tc * bc;
}

std::vector<CapacityClass> CapacityClasses(CoreShape shape, double fy) {
    const RatioBand band = Band(shape);
    std::vector<CapacityClass> out;
    for (int capacity : kCapacities) {
        const double area = capacity / fy;
        std::vector<CapacityClass> fits;
        for (int tc : kThicknesses) {
            double width = shape == CoreShape::kCruciform ? (area / tc + tc) / 2.0 : area / tc;
            int bc = static_cast<int>(std::ceil(width / 5.0 - 1e-9)) * 5;
            double ratio = static_cast<double>(bc) / tc;
            if (ratio >= band.low && ratio <= band.high) fits.push_back({capacity, tc, bc});
        }
        // Keep the ones nearest the preferred ratio, then list them by thickness.
        std::stable_sort(fits.begin(), fits.end(), [&](const CapacityClass& a, const CapacityClass& b) {
            return std::abs(double(a.bc) / a.tc - band.preferred) < std::abs(double(b.bc) / b.tc - band.preferred);
        });
        if (fits.size() > kPerCapacity) fits.resize(kPerCapacity);
        std::sort(fits.begin(), fits.end(), [](const CapacityClass& a, const CapacityClass& b) { return a.tc < b.tc; });
        out.insert(out.end(), fits.begin(), fits.end());
    }
    return out;
}

std::string ClassName(CoreShape shape, const CapacityClass& entry) {
    const char* prefix = shape == CoreShape::kCruciform ? "[CR] " : "[FL] ";
    return prefix + std::to_string(entry.capacity_tonf) + "tonf(tc=" + std::to_string(entry.tc) + "mm)";
}

std::string ClassCatalogueJson(CoreShape shape, const CoreSteel& steel) {
    nlohmann::ordered_json catalogue = nlohmann::ordered_json::object();
    int number = 0;
    for (const CapacityClass& entry : CapacityClasses(shape, steel.fy)) {
        catalogue[std::to_string(++number)] = {
            {"Class", ClassName(shape, entry)}, {"tc", entry.tc}, {"Bc", entry.bc}};
    }
    return catalogue.dump();
}

}  // namespace zorv_service
