#pragma once
// Universal beam and column sections offered to the client: rolled sections
// of the British series used in New Zealand practice, dimensions in mm.
#include <string>
#include <vector>

namespace zorv_service {

struct UniversalSection {
    const char* name;  // designation, serial size x mass per metre
    const char* d;     // depth
    const char* w;     // flange width
    const char* tw;    // web thickness
    const char* tf;    // flange thickness
};

const std::vector<UniversalSection>& UniversalBeams();
const std::vector<UniversalSection>& UniversalColumns();

// The section catalogue object: {"1":{"SEC":...,"D":...,"W":...,"tw":...,"tf":...},...}.
std::string SectionCatalogueJson(const std::vector<UniversalSection>& sections);

}  // namespace zorv_service
