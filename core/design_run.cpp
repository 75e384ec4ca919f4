// The design run, the "Design" button, the lamp's blink and the "Clear" button.
#include <string>

#include "app/DOVEREFORM.h"
#include "platform/ui/scoped_disable.h"
#include "core/advisories.h"
#include "platform/os/clock.h"

namespace {

// How the status lamp looks, so that a run that ends in an error can put it back.
struct LampLook {
    bool group_visible;
    bool visible;
    std::string caption;
    int font_size;
    TColor color;
    bool parent_background;
};

LampLook LookOf(const TGroupBox& group, const TPanel& lamp) {
    return {group.Visible(), lamp.Visible(), lamp.Caption(), lamp.Font().Size, lamp.Color(), lamp.ParentBackground()};
}

void Restore(TGroupBox& group, TPanel& lamp, const LampLook& look) {
    group.SetVisible(look.group_visible);
    lamp.SetVisible(look.visible);
    lamp.SetCaption(look.caption);
    lamp.Font().Size = look.font_size;
    lamp.SetColor(look.color);
    lamp.SetParentBackground(look.parent_background);
}

// The lamp before the first run: no verdict, nothing lit.
void HideLamp(TGroupBox& group, TPanel& lamp) {
    group.SetVisible(false);
    lamp.SetVisible(false);
    lamp.SetCaption("");
}

// Puts the lamp back as it was before the run when a step of the run throws, so
// that "RUN" is never left lit after the run has ended.
// The verdict it had stays only while it still speaks for the held result.
class LampRestore {
public:
    explicit LampRestore(DOVEREForm& form) : form_(form), before_(LookOf(*form.GroupBoxRUN, *form.Panel_RUN)) {}
    ~LampRestore() {
        if (!armed_) return;
        Restore(*form_.GroupBoxRUN, *form_.Panel_RUN, before_);
        if (result_replaced_) HideLamp(*form_.GroupBoxRUN, *form_.Panel_RUN);
        form_.DropVerdictOfAnotherBay();
    }
    void ResultReplaced() { result_replaced_ = true; }
    void Disarm() { armed_ = false; }

private:
    DOVEREForm& form_;
    LampLook before_;
    bool armed_ = true;
    bool result_replaced_ = false;
};

// A side's value without entering what is missing; a fresh Chevron result holds both.
float SideValue(const SideValueTable& values, const char* side, const char* key) {
    const float* v = FindSideEntry(values, side, key);
    return v ? *v : 0.0f;
}

}  // namespace

void DOVEREForm::DropVerdictOfAnotherBay() {
    if (!ResultFitsBay()) HideLamp(*GroupBoxRUN, *Panel_RUN);
}

bool DOVEREForm::RunDesign() {
    SetCursor(crHourGlass);
    Timer_Run_ZORV->SetEnabled(false);
    // The arrow comes back however the run ends, an error included.
    struct Arrow {
        DOVEREForm& form;
        ~Arrow() { form.SetCursor(crArrow); }
    } arrow{*this};
    if (!FormReady) return false;
    ValidateInputs();
    if (!InputsValid) {
        // The lamp stays as it was, unless it speaks for a bay no longer chosen.
        DropVerdictOfAnotherBay();
        return false;
    }

    const std::uint32_t start = os::ProcessClockMs();
    LampRestore on_error(*this);
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
        if (fresh) {
            on_error.ResultReplaced();
            RedrawViews();
        }
    }

    const std::uint32_t end = os::ProcessClockMs();
    CommitPendingFrameEdits();
    CommitPendingAdjustEdits();
    RunTimeMs = static_cast<std::int32_t>(end - start);
    Label_ZORV_Time->SetCaption(std::to_string(RunTimeMs));
    if (QuickView && !PrintToXls) ShowResponseSignal(RunTimeMs);
    on_error.Disarm();

    if (!fresh) {
        // Nothing was designed for these inputs: no verdict and no advice. The grids
        // and drawings of the last result stay for its own bay.
        HideLamp(*GroupBoxRUN, *Panel_RUN);
        return false;
    }
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
