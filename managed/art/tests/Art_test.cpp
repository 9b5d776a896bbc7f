// The embedded pictures: every name the controls use is there at its layout size, the pictures
// compose (overlays on the body's panel colour), and the generator's output is reproducible.

#include "managed/art/Art.h"
#include "managed/art/ArtLayout.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QProcess>
#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

using namespace Halvora::ArtLayout;

struct Expected {
    const char* name;
    QSize size;
};

// The names the controls ask for, written out here rather than taken from the generator, so that
// a picture missing from its catalogue is caught.
const Expected kPictures[] = {
    {"Pump.bmp", kPumpSize},
    {"PumpOffline.bmp", kPumpSize},
    {"Stack0.bmp", kStackSize},
    {"Stack1.bmp", kStackSize},
    {"Stack2.bmp", kStackSize},
    {"Stack3.bmp", kStackSize},
    {"Stack4.bmp", kStackSize},
    {"Stack5.bmp", kStackSize},
    {"Locked.bmp", kStateSize},
    {"Calling.bmp", kStateSize},
    {"Stopped.bmp", kStateSize},
    {"error1.bmp", kStateSize},
    {"error2.bmp", kStateSize},
    {"error3.bmp", kStateSize},
    {"error4.bmp", kStateSize},
    {"Prepay.bmp", kStateSize},
    {"PrepayLocked.bmp", kStateSize},
    {"PrepayTimeout.bmp", kStateSize},
    {"Preauth.bmp", kStateSize},
    {"PreauthLocked.bmp", kStateSize},
    {"NozzleIn.bmp", kNozzleSize},
    {"NozzleOut.bmp", kNozzleSize},
    {"NozzleLeftOut.bmp", kNozzleSize},
    {"NoNozzle.bmp", kNozzleSize},
    {"Tank.bmp", kTankSize},
    {"Falling.bmp", kStateSize},
    {"Rising.bmp", kStateSize},
    {"DelWarning.bmp", kDelIconSize},
    {"DelCurrent.bmp", kDelIconSize},
    {"DelLocked.bmp", kDelIconSize},
    {"DelRefund.bmp", kDelIconSize},
    {"Popup.bmp", kPopupSize},
    {"CancelEnabled.bmp", kDialogButtonSize},
    {"CancelPressed.bmp", kDialogButtonSize},
    {"AuthEnabled.bmp", kDialogButtonSize},
    {"AuthPressed.bmp", kDialogButtonSize},
    {"AuthDisabled.bmp", kDialogButtonSize},
    {"StackEnabled.bmp", kDialogButtonSize},
    {"StackPressed.bmp", kDialogButtonSize},
    {"StackDisabled.bmp", kDialogButtonSize},
    {"StopEnabled.bmp", kDialogButtonSize},
    {"StopPressed.bmp", kDialogButtonSize},
    {"StopDisabled.bmp", kDialogButtonSize},
    {"PresetPopup.bmp", kPresetPopupSize},
    {"PresetEnabled.bmp", kDialogButtonSize},
    {"PresetPressed.bmp", kDialogButtonSize},
    {"PresetDisabled.bmp", kDialogButtonSize},
    {"Button.bmp", kKeySize},
    {"ButtonPressed.bmp", kKeySize},
    {"ButtonType.bmp", kTypeButtonSize},
    {"ButtonTypePressed.bmp", kTypeButtonSize},
    {"ButtonHose.bmp", kHoseButtonSize},
    {"ButtonHosePressed.bmp", kHoseButtonSize},
};

QImage Load(const char* name) {
    return Halvora::ArtImage(QString::fromLatin1(name));
}

TEST(ArtTest, EveryNameLoadsAtItsLayoutSize) {
    for (const Expected& e : kPictures) {
        const QImage image = Load(e.name);
        ASSERT_FALSE(image.isNull()) << e.name;
        EXPECT_EQ(image.size(), e.size) << e.name;
        EXPECT_TRUE(QFile::exists(kResourcePrefix + QString::fromLatin1(e.name))) << e.name;
    }
    EXPECT_TRUE(Load("pump.bmp").isNull()) << "names are exact, case included";
    EXPECT_TRUE(Load("Nothing.bmp").isNull());
    EXPECT_TRUE(Load("").isNull());
}

// A picture drawn with the wrong painter, or two names sharing one, shows as two equal images.
TEST(ArtTest, NoTwoPicturesAreAlike) {
    for (size_t i = 0; i < std::size(kPictures); ++i)
        for (size_t j = i + 1; j < std::size(kPictures); ++j) {
            if (kPictures[i].size != kPictures[j].size) continue;
            EXPECT_NE(Load(kPictures[i].name), Load(kPictures[j].name))
                << kPictures[i].name << " and " << kPictures[j].name;
        }
}

// Overlays are opaque, so the body under them and their own corners must both be the panel
// colour, or the parts would show seams when the controls put them together.
TEST(ArtTest, OverlaysSitOnThePanelColour) {
    const auto corners = [](const QRect& r) {
        return std::vector<QPoint>{r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()};
    };
    for (const char* body : {"Pump.bmp", "PumpOffline.bmp"}) {
        const QImage image = Load(body);
        for (const QRect& r : {kPumpStateRect, kPumpReserveRect, kPumpStackRect, kPumpNozzleRect})
            for (const QPoint& c : corners(r))
                EXPECT_EQ(image.pixel(c), kPanelColor) << body << " at " << c.x() << "," << c.y();
    }
    const QImage tank = Load("Tank.bmp");
    for (const QPoint& c : corners(kTankStateRect))
        EXPECT_EQ(tank.pixel(c), kPanelColor) << "Tank.bmp at " << c.x() << "," << c.y();

    for (const char* overlay : {"Stack0.bmp", "Stack5.bmp", "Locked.bmp", "Calling.bmp",
                                "error1.bmp", "error4.bmp", "Prepay.bmp", "PreauthLocked.bmp",
                                "NozzleIn.bmp", "NozzleOut.bmp", "NoNozzle.bmp", "Rising.bmp"}) {
        const QImage image = Load(overlay);
        const QRect all(QPoint(0, 0), image.size());
        for (const QPoint& c : corners(all.adjusted(0, 0, 0, 0)))
            EXPECT_EQ(image.pixel(c), kPanelColor) << overlay << " at " << c.x() << "," << c.y();
    }
    for (const char* icon : {"DelWarning.bmp", "DelCurrent.bmp", "DelLocked.bmp", "DelRefund.bmp"})
        EXPECT_EQ(Load(icon).pixel(0, 0), kListColor) << icon;
}

// The layout's places fit inside their pictures and do not overlap where they must not.
TEST(ArtTest, LayoutPlacesFitTheirControls) {
    const QRect pump(QPoint(0, 0), kPumpSize);
    for (const QRect& r : {kPumpNumberRect, kPumpSaleRect, kPumpStateRect, kPumpReserveRect,
                           kPumpStackRect, kPumpNozzleRect})
        EXPECT_TRUE(pump.contains(r)) << r.x() << "," << r.y();
    EXPECT_EQ(kPumpSaleRect.height(), 3 * kPumpSaleLineHeight);
    EXPECT_FALSE(kPumpReserveRect.intersects(kPumpStackRect));
    EXPECT_FALSE(kPumpReserveRect.intersects(kPumpNozzleRect));
    EXPECT_FALSE(kPumpStackRect.intersects(kPumpNozzleRect));
    EXPECT_FALSE(kPumpSaleRect.intersects(kPumpStateRect));

    const QRect tank(QPoint(0, 0), kTankSize);
    for (const QRect& r :
         {kTankNumberRect, kTankNameRect, kTankLevelRect, kTankStateRect, kTankReadingsRect})
        EXPECT_TRUE(tank.contains(r)) << r.x() << "," << r.y();
    EXPECT_FALSE(kTankLevelRect.intersects(kTankStateRect));

    const QRect popup(QPoint(0, 0), kPopupSize);
    for (const QRect& r : {kPopupListRect, kPopupCaptionRect, kPopupCancelRect, kPopupAuthRect,
                           kPopupStackRect, kPopupStopRect})
        EXPECT_TRUE(popup.contains(r));
    const QRect preset(QPoint(0, 0), kPresetPopupSize);
    std::vector<QRect> parts{kPresetEntryRect,  kKeypadRect,       kPresetValueRect,
                             kPresetVolumeRect, kPresetPresetRect, kPresetAuthRect};
    for (const QRect& h : kPresetHoseRects)
        parts.push_back(h);
    for (size_t i = 0; i < parts.size(); ++i) {
        EXPECT_TRUE(preset.contains(parts[i])) << i;
        for (size_t j = i + 1; j < parts.size(); ++j)
            EXPECT_FALSE(parts[i].intersects(parts[j])) << i << " and " << j;
    }
    const QRect lastKey(KeyOrigin(2, 3), kKeySize);
    EXPECT_EQ(lastKey.bottomRight(), kKeypadRect.bottomRight());
}

std::map<QString, QByteArray> Generate(const QString& dir) {
    QProcess gen;
    gen.start(qEnvironmentVariable("HALVORA_ARTGEN"), {dir});
    EXPECT_TRUE(gen.waitForFinished(60000));
    EXPECT_EQ(gen.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(gen.exitCode(), 0) << gen.readAllStandardError().toStdString();
    std::map<QString, QByteArray> files;
    for (const QString& name : QDir(dir).entryList(QDir::Files)) {
        QFile f(dir + QLatin1Char('/') + name);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        files[name] = f.readAll();
    }
    return files;
}

TEST(ArtTest, GeneratorIsDeterministicAndMatchesTheEmbeddedPictures) {
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("HALVORA_ARTGEN"));
    QTemporaryDir a, b;
    ASSERT_TRUE(a.isValid() && b.isValid());
    const auto first = Generate(a.path());
    const auto second = Generate(b.path());
    ASSERT_EQ(first.size(), std::size(kPictures) + 1) << "every picture and the .qrc";
    EXPECT_TRUE(first == second) << "two runs differ";
    for (const Expected& e : kPictures) {
        QFile embedded(kResourcePrefix + QString::fromLatin1(e.name));
        ASSERT_TRUE(embedded.open(QIODevice::ReadOnly)) << e.name;
        const auto it = first.find(QString::fromLatin1(e.name));
        ASSERT_NE(it, first.end()) << e.name;
        EXPECT_EQ(embedded.readAll(), it->second) << e.name << " is not what the generator draws";
    }
}

TEST(ArtTest, GeneratorRefusesBadUsage) {
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("HALVORA_ARTGEN"));
    QProcess gen;
    gen.start(qEnvironmentVariable("HALVORA_ARTGEN"), {});
    ASSERT_TRUE(gen.waitForFinished(60000));
    EXPECT_EQ(gen.exitCode(), 2);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    gen.start(qEnvironmentVariable("HALVORA_ARTGEN"), {dir.filePath(QStringLiteral("file"))});
    ASSERT_TRUE(gen.waitForFinished(60000));
    EXPECT_EQ(gen.exitCode(), 1) << "an output folder that is a file";
}

} // namespace
