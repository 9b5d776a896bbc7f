// Reference pictures for the display controls. A control is rendered offscreen with the style,
// font and locale pinned by PinLook() and compared with managed/tests/golden/<name>.png: every
// channel within kChannelTolerance of the reference. A mismatch writes the picture it got as
// <name>.got.png beside the reference for a person to look at.
//
// To draw the references again (after a deliberate change to the pictures or the painting):
//   HALVORA_WRITE_GOLDEN=1 ctest --test-dir build -R managed_Display_test  (see README.md)
// then look at the changed PNGs before committing them.
#pragma once
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QLocale>
#include <QStyleFactory>
#include <QWidget>
#include <cstdlib>
#include <gtest/gtest.h>

namespace halvoratest {

// Antialiased text may differ by a step or two between runs of the rasteriser; nothing the
// controls draw differs by less than this.
constexpr int kChannelTolerance = 8;

// The look every reference picture was drawn with: Fusion style, "Arial" resolved to DejaVu Sans
// (the family installed with the test tools), US English numbers and currency.
inline void PinLook() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("DejaVu Sans"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

inline QString GoldenPath(const QString& name) {
    return QString::fromLocal8Bit(std::getenv("QV_SOURCE_DIR")) +
           QStringLiteral("/managed/tests/golden/") + name + QStringLiteral(".png");
}

// The widget as drawn, without the window system.
inline QImage Render(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    widget.render(&image);
    return image;
}

// Empty when `got` matches reference `name`, else what differs.
inline std::string CompareWithGolden(const QImage& got, const QString& name) {
    const QString path = GoldenPath(name);
    const QImage image = got.convertToFormat(QImage::Format_ARGB32);
    if (std::getenv("HALVORA_WRITE_GOLDEN")) {
        QDir().mkpath(QFileInfo(path).path());
        return image.save(path) ? std::string() : "cannot write " + path.toStdString();
    }
    const QImage want = QImage(path).convertToFormat(QImage::Format_ARGB32);
    std::string problem;
    if (want.isNull()) {
        problem = "no reference " + path.toStdString();
    } else if (want.size() != image.size()) {
        problem = "size differs from " + path.toStdString();
    } else {
        int worst = 0, count = 0;
        for (int y = 0; y < want.height(); ++y)
            for (int x = 0; x < want.width(); ++x) {
                const QRgb a = want.pixel(x, y), b = image.pixel(x, y);
                const int d =
                    std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
                if (d > kChannelTolerance) ++count;
                worst = std::max(worst, d);
            }
        if (count > 0)
            problem = std::to_string(count) + " pixels differ (worst by " + std::to_string(worst) +
                      ") from " + path.toStdString();
    }
    if (!problem.empty()) {
        QString gotPath = path;
        gotPath.replace(QStringLiteral(".png"), QStringLiteral(".got.png"));
        image.save(gotPath);
        problem += "; got " + gotPath.toStdString();
    }
    return problem;
}

} // namespace halvoratest
