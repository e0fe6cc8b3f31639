#include <gtest/gtest.h>
#include "core/FileRules.h"

TEST(FileRules, DownloadReadsWhatIsLeftAtMostABufferAndNothingOfAnUnknownLength)
{
    const long long lefts[] = {-1, -0x100000000LL, 0, 1, 65535, 65536, 65537, 0x1FFFFFFFFLL};
    const unsigned sizes[] = {0, 0, 0, 1, 65535, 65536, 65536, 65536};
    for (size_t i = 0; i < sizeof(lefts) / sizeof(lefts[0]); i++)
        EXPECT_EQ(sizes[i], DownloadReadSize(lefts[i], 65536)) << lefts[i];
}
