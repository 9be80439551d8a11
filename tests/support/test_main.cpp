// Entry point of every Wine test executable.
#include <gtest/gtest.h>

#include "platform/handles.h"
#include "platform/window.h"

int main(int argc, char** argv) {
    platform::ComInit com;
    platform::InitCommonControlsOnce();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
