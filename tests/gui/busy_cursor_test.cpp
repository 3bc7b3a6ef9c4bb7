#include "gui/windows/busy_cursor.h"

#include <QCursor>
#include <QGuiApplication>
#include <gtest/gtest.h>
#include <stdexcept>

namespace tellavin {
namespace {

// The pointer the program shows: the top override pointer, or none.
int PointerShown() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor == nullptr ? -1 : cursor->shape();
}

TEST(BusyCursor, HourglassLastsAsLongAsTheGuard) {
    {
        cMouse mouse;
        EXPECT_EQ(PointerShown(), -1) << "nothing changes before SetPointer";
        mouse.SetPointer(Qt::WaitCursor);
        EXPECT_EQ(PointerShown(), Qt::WaitCursor);
    }
    EXPECT_EQ(PointerShown(), -1);
}

TEST(BusyCursor, FailingProcedureStillRestoresThePointer) {
    QGuiApplication::setOverrideCursor(Qt::PointingHandCursor);
    const auto work = [] {
        cMouse mouse;
        mouse.SetPointer(Qt::WaitCursor);
        throw std::runtime_error("reading failed");
    };
    EXPECT_THROW(work(), std::runtime_error);
    EXPECT_EQ(PointerShown(), Qt::PointingHandCursor);
    QGuiApplication::restoreOverrideCursor();
    EXPECT_EQ(PointerShown(), -1);
}

TEST(BusyCursor, SecondSetPointerChangesTheShapeAndOneRestoreUndoesBoth) {
    {
        cMouse mouse;
        mouse.SetPointer(Qt::WaitCursor);
        mouse.SetPointer(Qt::BusyCursor);
        EXPECT_EQ(PointerShown(), Qt::BusyCursor);
    }
    EXPECT_EQ(PointerShown(), -1);
}

} // namespace
} // namespace tellavin
