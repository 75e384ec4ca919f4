// The program's end when a library calls exit() while the window is up (a lost X
// connection or a missing font ends it that way): static teardown must not take the
// window and its rendering contexts down after the libraries have shut down.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/form_environment.h"

namespace {

TEST(ProgramExit, AnExitFromALibraryWithTheWindowUpEndsWithoutACrash) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            zorv_service::DesignService service;
            service.Start();
            http::ScopedConnectTo route({testing_support::ServiceRoute(service.Port())});
            os::SetAdaptersForTest(testing_support::TestAdapters());
            // The program's own application object, as main uses it.
            Application->CreateForm(RORERForm);
            RORERForm->RedrawViews();
            std::exit(3);
        },
        ::testing::ExitedWithCode(3), "");
}

}  // namespace
