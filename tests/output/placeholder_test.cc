// Stand-in until the tests of this subsystem land.
#include <gtest/gtest.h>
