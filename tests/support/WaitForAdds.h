#pragma once

#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

#include "library/Library.h"

// Runs the event loop until no add of music runs or waits any more.
inline void WaitForAdds(Library& library)
{
    QElapsedTimer waited;
    waited.start();
    while (library.Adds().Busy() && waited.elapsed() < 30000)
        QTest::qWait(2);
    ASSERT_FALSE(library.Adds().Busy()) << "the add did not finish";
}
