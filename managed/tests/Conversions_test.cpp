// Texts and dates at the library boundary: null, empty, non-Latin and embedded-zero texts, and
// automation dates at the ends of the range, around the origin and before it.
#include "managed/Conversions.h"

#include <gtest/gtest.h>

#include "platform/OleAuto.h"

using namespace Halvora;

namespace {

TEST(Texts, NullEmptyAndNonLatinTextsKeepWhatTheyAre) {
    EXPECT_EQ(ToBstr(QString()), nullptr);

    BSTR empty = ToBstr(QString(QLatin1String("")));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(platform::SysStringLen(empty), 0u);
    EXPECT_FALSE(FromBstr(empty).isNull());
    platform::SysFreeString(empty);

    const QString text = QString::fromUtf8("Gasóleo 軽油 \xF0\x9F\x9A\x97") + QChar(0) + "x";
    BSTR b = ToBstr(text);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(platform::SysStringLen(b), static_cast<uint32_t>(text.size()));
    EXPECT_EQ(FromBstr(b), text);
    platform::SysFreeString(b);

    const QString none = FromBstr(nullptr);
    EXPECT_FALSE(none.isNull());
    EXPECT_TRUE(none.isEmpty());
}

TEST(Dates, TheEndsOfTheRangeAndDatesWithoutAnAutomationValueAreMinusOne) {
    EXPECT_EQ(ToOADate(MinDateTime()), -1.0);
    EXPECT_EQ(ToOADate(MinDateTime().addYears(-5)), -1.0);
    EXPECT_EQ(ToOADate(MaxDateTime()), -1.0);
    EXPECT_EQ(ToOADate(MaxDateTime().addDays(3)), -1.0);
    EXPECT_EQ(ToOADate(QDateTime()), -1.0);
    EXPECT_EQ(ToOADate(QDateTime(QDate(99, 12, 31), QTime(12, 0))), -1.0);
    // Just inside both ends.
    EXPECT_DOUBLE_EQ(ToOADate(QDateTime(QDate(100, 1, 1), QTime(0, 0))), -657434.0);
    const double last = ToOADate(MaxDateTime().addMSecs(-1));
    EXPECT_GT(last, 2958465.999);
    EXPECT_LT(last, 2958466.0);
}

TEST(Dates, AroundAndBeforeTheOriginTheFractionCountsForward) {
    EXPECT_EQ(ToOADate(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_DOUBLE_EQ(ToOADate(QDateTime(QDate(1899, 12, 31), QTime(6, 0))), 1.25);
    EXPECT_DOUBLE_EQ(ToOADate(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_DOUBLE_EQ(ToOADate(QDateTime(QDate(1899, 12, 29), QTime(0, 0))), -1.0);
    EXPECT_EQ(FromOADate(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_EQ(FromOADate(-0.5), QDateTime(QDate(1899, 12, 30), QTime(12, 0)));
    EXPECT_EQ(FromOADate(0.0), QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
}

TEST(Dates, AgreeWithThePlatformsConversionBothWays) {
    const QDateTime samples[] = {QDateTime(QDate(2025, 1, 7), QTime(13, 52, 41)),
                                 QDateTime(QDate(1900, 3, 1), QTime(23, 59, 59, 500)),
                                 QDateTime(QDate(1850, 6, 15), QTime(18, 30)),
                                 QDateTime(QDate(9999, 12, 31), QTime(12, 0))};
    for (const QDateTime& t : samples) {
        platform::SystemTime st{};
        st.year = static_cast<uint16_t>(t.date().year());
        st.month = static_cast<uint16_t>(t.date().month());
        st.day = static_cast<uint16_t>(t.date().day());
        st.hour = static_cast<uint16_t>(t.time().hour());
        st.minute = static_cast<uint16_t>(t.time().minute());
        st.second = static_cast<uint16_t>(t.time().second());
        st.milliseconds = static_cast<uint16_t>(t.time().msec());
        double expected = 0;
        ASSERT_TRUE(platform::SystemTimeToVariantTime(st, expected));
        EXPECT_NEAR(ToOADate(t), expected, 1e-8) << t.toString(Qt::ISODateWithMs).toStdString();
        EXPECT_EQ(FromOADate(ToOADate(t)), t) << t.toString(Qt::ISODateWithMs).toStdString();
    }
}

TEST(Dates, ValuesOutsideTheAutomationRangeComeBackInvalid) {
    EXPECT_FALSE(FromOADate(-657435.0).isValid());
    EXPECT_FALSE(FromOADate(2958466.0).isValid());
    EXPECT_FALSE(FromOADate(1e300).isValid());
    EXPECT_FALSE(FromOADate(std::numeric_limits<double>::quiet_NaN()).isValid());
    EXPECT_TRUE(FromOADate(-657434.5).isValid());
}

} // namespace
