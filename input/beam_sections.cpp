// Beam section designations: number tokens, the check and the normalised form.
#include "app/DOVEREFORM.h"

void DOVEREForm::ParseBeamSections() {}

std::vector<std::string> ExtractNumberTokens(const std::string&) { return {}; }
