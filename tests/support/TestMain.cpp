// Shared entry point of every test binary: the thread that runs main() is the
// application's main thread, as on the device.
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
