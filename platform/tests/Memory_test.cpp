#include "platform/Memory.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace platform;

TEST(Memory, StatusIsConsistent) {
    MemoryStatus st;
    ASSERT_TRUE(GetMemoryStatus(st));
    EXPECT_GT(st.totalPhys, 16ull << 20);
    EXPECT_GT(st.availPhys, 0u);
    EXPECT_LE(st.availPhys, st.totalPhys);
    const uint64_t page = static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
    const uint64_t used = (st.totalPhys - st.availPhys) / page;
    EXPECT_NEAR(static_cast<double>(st.programPages), static_cast<double>(used), 1.0);
    EXPECT_LT(st.storePages, st.totalPhys / page);
}
