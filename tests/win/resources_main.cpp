// Test programs link with -municode, whose start-up code calls wmain; GoogleTest's own
// main is the narrow one, so this program brings its wide entry point.
#include <gtest/gtest.h>

int wmain(int argc, wchar_t** argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
