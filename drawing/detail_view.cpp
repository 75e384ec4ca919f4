// The detail view's drawers: until their drawing comes, they draw nothing.
#include "app/DOVEREFORM.h"

void DOVEREForm::DrawDiagonalDetails() {}
void DOVEREForm::DrawChevronDetails() {}
void DOVEREForm::DrawGussetDetails() {}
void DOVEREForm::DrawDetailBucklingLines() {}
void DOVEREForm::DrawSideEnds() {}
void DOVEREForm::DrawSideLxSegments() {}
void DOVEREForm::DrawSideLnSegments() {}
void DOVEREForm::DrawSideJoint() {}
void DOVEREForm::DrawSideTransitions() {}
void DOVEREForm::DrawSideCore() {}
void DOVEREForm::DrawPlanEnds() {}
void DOVEREForm::DrawPlanLxSegments() {}
void DOVEREForm::DrawPlanLnSegments() {}
void DOVEREForm::DrawPlanJoint() {}
void DOVEREForm::DrawPlanTransitions() {}
void DOVEREForm::DrawPlanCore() {}
void DOVEREForm::DrawCoreCrossSection() {}
void DOVEREForm::DrawLxCrossSection() {}
void DOVEREForm::DrawJointCrossSection() {}
