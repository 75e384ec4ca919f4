// The program: the main window and the data module, then the message loop.
#include <exception>

#include "app/DOVEREFORM.h"
#include "platform/os/end_signals.h"
#include "platform/ui/fltk/backdrop.h"
#include "platform/ui/fltk/fltk_backend.h"
#include "service/client_module.h"

namespace {

// Without a display backend there is no window to keep open: the program stops once
// the window is built (start-up queries and first design done) and closes it as the
// user would, so that the service drops the client identifier.
bool HasDisplay() { return dynamic_cast<ui::HeadlessBackend*>(&Application->Backend()) == nullptr; }

}  // namespace

int main() {
    // From the start: a signal during the start-up queries closes the window once the
    // loop runs.
    os::CatchEndSignals();
    if (!ui::StartDesktop(*Application, "zorv")) return 1;
    try {
        Application->Initialize();
        Application->SetMainFormOnTaskBar(true);
        Application->CreateForm(RORERForm);
        RORERForm->Image1->SetPicture(
            ui::CalmBackdrop(RORERForm->Image1->Width(), RORERForm->Image1->Height(), RORERForm->Color()));
        ClientModule1 = new TClientModule1(Application);
        if (HasDisplay()) Application->Run();
        else RORERForm->Close();
    } catch (const std::exception& e) {
        Application->ShowException(e);
    } catch (...) {
        Application->ShowException(Exception(""));
    }
    // The window and its contexts go here, before any static teardown.
    Application->DestroyComponents();
    ui::StopDesktop();
    os::EndAsSignalled();
    return 0;
}
