// The design run, the "Design" button, the lamp's blink and the "Clear" button.
#include <string>

#include "app/DOVEREFORM.h"
#include "platform/ui/scoped_disable.h"
#include "core/advisories.h"
#include "platform/os/clock.h"

namespace {

// The lamp before the first run: no verdict, nothing lit.
void HideLamp(TGroupBox& group, TPanel& lamp) {
    group.SetVisible(false);
    lamp.SetVisible(false);
    lamp.SetCaption("");
}

// A side's value without entering what is missing; a fresh Chevron result holds both.
float SideValue(const SideValueTable& values, const char* side, const char* key) {
    const float* v = FindSideEntry(values, side, key);
    return v ? *v : 0.0f;
}

}  // namespace

bool DOVEREForm::RunDesign() {
    SetCursor(crHourGlass);
    Timer_Run_ZORV->SetEnabled(false);
    // The arrow comes back however the run ends, an error included.
    struct Arrow {
        DOVEREForm& form;
        ~Arrow() { form.SetCursor(crArrow); }
    } arrow{*this};
    if (!FormReady) return false;
    // No verdict stands for these inputs until this run has read a result of its own:
    // whatever stops it (a rule, a beam text, a conversion error, a failed send, an
    // error in a later step) leaves none lit, and no advice follows. The grids and
    // drawings of the last result stay for their own bay.
    HideLamp(*GroupBoxRUN, *Panel_RUN);
    struct NoVerdict {
        DOVEREForm& form;
        bool armed = true;
        ~NoVerdict() {
            if (armed) HideLamp(*form.GroupBoxRUN, *form.Panel_RUN);  // never "RUN" after the run
        }
    } no_verdict{*this};
    ValidateInputs();
    if (!InputsValid) return false;

    const std::uint32_t start = os::ProcessClockMs();
    Panel_RUN->SetColor(clRed);
    Panel_RUN->SetParentBackground(false);
    Panel_RUN->Font().Size = 14;
    Panel_RUN->SetCaption("RUN");
    Panel_RUN->SetVisible(true);
    GroupBoxRUN->SetVisible(true);

    if (ProjectId.empty()) ProjectId = "my_zorv";
    BuildRunRequest();
    UrlTail = RequestText;
    bool fresh = false;
    if (SendRunRequest()) {
        fresh = ReadRunResult();
        if (fresh) RedrawViews();
    }

    const std::uint32_t end = os::ProcessClockMs();
    CommitPendingFrameEdits();
    CommitPendingAdjustEdits();
    RunTimeMs = static_cast<std::int32_t>(end - start);
    Label_ZORV_Time->SetCaption(std::to_string(RunTimeMs));
    if (QuickView && !PrintToXls) ShowResponseSignal(RunTimeMs);
    if (!fresh) return false;

    no_verdict.armed = false;
    Panel_RUN->SetParentBackground(true);
    if (FailedCheckCount != 0) {
        Panel_RUN->Font().Size = 14;
        Panel_RUN->SetCaption("NG");
        Timer_Run_ZORV->SetEnabled(true);
    } else {
        Panel_RUN->Font().Size = 12;
        Panel_RUN->SetCaption("DONE");
    }

    TAdvisoryInputs advice;
    advice.Cruciform = ComboBox_BRB_Type->Text() == "Cruciform";
    advice.Bc = BraceValues.B_c;
    advice.tc = BraceValues.t_c;
    advice.tg = BraceValues.t_g;
    advice.UpperBeamRatio = BeamRatios.Upper;
    advice.LowerBeamRatio = BeamRatios.Lower;
    advice.Bolted = CtypeText == "Bolted";
    advice.Chevron = CfgText == "Chevron";
    advice.QFactor = QFactor;
    advice.AlphaL = AlphaL;
    if (advice.Chevron && !advice.Bolted) {
        advice.QLeft = SideValue(SideValues, "LEFT", "Q_factor");
        advice.QRight = SideValue(SideValues, "RIGHT", "Q_factor");
        advice.AlphaLeft = SideValue(SideValues, "LEFT", "Alpha_L");
        advice.AlphaRight = SideValue(SideValues, "RIGHT", "Alpha_L");
    }
    for (const std::string& message : DesignAdvisories(advice)) ShowMessage(message);
    return true;
}

void DOVEREForm::Button_RefreshClick(TObject* Sender) {
    if (ui::DispatchDepth() == 0) {
        // Called outside any event (the constructor's first design): an error of the
        // run is shown in the error box like one of a click, and the caller goes on.
        ui::Dispatch([this, Sender] { Button_RefreshClick(Sender); });
        return;
    }
    ui::ScopedDisable busy(Button_Refresh);
    Panel_Timer_Small->SetColor(Panel_Run_Color->Color());
    Panel_Timer->SetColor(clRed);
    Panel_Timer->SetParentBackground(false);
    RunDesign();
}

void DOVEREForm::Timer_Run_ZORVTimer(TObject*) {
    // A large "NG" on red, then a normal one on the group's background.
    if (Panel_RUN->ParentBackground()) {
        Panel_RUN->Font().Size = 20;
        Panel_RUN->SetParentBackground(false);
    } else {
        Panel_RUN->Font().Size = 14;
        Panel_RUN->SetParentBackground(true);
    }
}

void DOVEREForm::Button14Click(TObject*) { RemoveClientFiles(); }
