// The Qt prompter's translation of the system's filter lists, and the
// default button of its questions.

#include "UiTestUtil.h"
#include "app/ui/QtPrompter.h"

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>

using namespace tsl;
using namespace tsl::test;

TEST(QtPrompter, TurnsFilterListsIntoQtNameFilters)
{
    const QStringList filters = QtPrompter::NameFilters(
        "All Map Files (*.tsl, *.lvl, *.flr, *.map)|*.tsl;*.lvl;*.flr;*.map|TSL Map Files (*.tsl)|*.tsl|"
        "All Files (*.*)|*.*");
    ASSERT_EQ(filters.size(), 3);
    EXPECT_EQ(S(filters[0]), "All Map Files (*.tsl *.lvl *.flr *.map)");
    EXPECT_EQ(S(filters[1]), "TSL Map Files (*.tsl)");
    EXPECT_EQ(S(filters[2]), "All Files (*.*)");
    // A description without patterns of its own gets them.
    EXPECT_EQ(S(QtPrompter::NameFilters("Bitmaps|*.bmp")[0]), "Bitmaps (*.bmp)");
}

TEST(QtPrompter, AQuestionOpensWithItsDefaultButton)
{
    QtPrompter prompter;
    WhenModal([](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
        box->defaultButton()->click();
    });
    EXPECT_EQ(prompter.Ask({"Delete map 1 \"A\"?\n\nThis cannot be undone.", "Delete map"}, Answer::No), Answer::No);
}
