#include "platform/Resources.h"

#include <gtest/gtest.h>
#include <string>

using namespace platform;

TEST(Resources, LoadsRegisteredStrings) {
    char16_t buf[8] = {u'x'};
    EXPECT_EQ(LoadString(1, buf, 8), 0); // nothing registered yet
    static const StringResource table[] = {{1, u"Export"}, {7, u"A longer text"}, {9, u""}};
    RegisterStringTable(table, 3);
    EXPECT_EQ(LoadString(1, buf, 8), 6);
    EXPECT_EQ(std::u16string(buf), u"Export");
    EXPECT_EQ(LoadString(7, buf, 8), 7); // cut to cap - 1 and terminated
    EXPECT_EQ(std::u16string(buf), u"A longe");
    EXPECT_EQ(LoadString(9, buf, 8), 0);
    EXPECT_EQ(LoadString(2, buf, 8), 0);
    EXPECT_EQ(LoadString(1, buf, 0), 0);
    EXPECT_EQ(LoadString(1, nullptr, 8), 0);
}
