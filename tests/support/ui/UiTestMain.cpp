// The UI tests' main: one QApplication for the whole run, offscreen unless a
// platform was chosen.

#include "UiTestUtil.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

namespace {

// Ends every test's waits for dialogs while the test is still the running one
// (gtest calls this listener before the printer reports the result).
class PendingModals : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override { tsl::test::FailPendingModals(); }
};

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new PendingModals);
    return RUN_ALL_TESTS();
}
