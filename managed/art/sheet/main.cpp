// halvora-artsheet OUT.png [SCALE [NAME...]]: a contact sheet of the embedded pictures, each at its
// size with its name below it, and a row of pump and tank controls composed from their parts the
// way the painting code places them, so a person can judge the pictures together. Runs on the
// offscreen platform unless QT_QPA_PLATFORM says otherwise. SCALE enlarges every picture (for a
// close look); NAMEs keep only those pictures and leave the composed controls out. Exit status 0 on
// success, 1 on failure.

#include "managed/art/Art.h"
#include "managed/art/ArtLayout.h"
#include "managed/art/generator/Pictures.h"

#include <QtGui/QFont>
#include <QtGui/QFontMetrics>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QPainter>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace Halvora::ArtLayout;

constexpr int kMargin = 16;
constexpr int kWidth = 900;
constexpr int kLabelHeight = 16;
constexpr int kGap = 14;

QFont CaptionFont(int pixels, bool bold = false) {
    QFont font(QString::fromLatin1(kFontFamily));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

struct Sample {
    const char* title;
    bool online;
    const char* nozzle;
    const char* stack;
    const char* state; // nullptr for none
    bool reservation;  // drawn kReservationDrop lower
    const char* lines[3];
};

// One pump control, composed in the painting code's order with sample texts.
QImage ComposePump(const Sample& s, int number) {
    QImage pump = Halvora::ArtImage(QString::fromLatin1(s.online ? "Pump.bmp" : "PumpOffline.bmp"));
    QPainter p(&pump);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(CaptionFont(13, true));
    p.setPen(QColor::fromRgb(kCaptionColor));
    p.drawText(kPumpNumberRect, Qt::AlignCenter, QString::number(number));
    p.setFont(CaptionFont(13, true));
    p.setPen(QColor::fromRgb(kDisplayTextColor));
    for (int i = 0; i < 3; ++i)
        p.drawText(QRect(kPumpSaleRect.left() + 4, kPumpSaleRect.top() + i * kPumpSaleLineHeight,
                         kPumpSaleRect.width() - 8, kPumpSaleLineHeight),
                   Qt::AlignRight | Qt::AlignVCenter, QString::fromUtf8(s.lines[i]));
    p.drawImage(kPumpNozzleRect.topLeft(), Halvora::ArtImage(QString::fromLatin1(s.nozzle)));
    p.drawImage(kPumpStackRect.topLeft(), Halvora::ArtImage(QString::fromLatin1(s.stack)));
    if (s.state)
        p.drawImage((s.reservation ? kPumpReserveRect : kPumpStateRect).topLeft(),
                    Halvora::ArtImage(QString::fromLatin1(s.state)));
    return pump;
}

QImage ComposeTank(double fill, const char* state) {
    QImage tank = Halvora::ArtImage(QStringLiteral("Tank.bmp"));
    QPainter p(&tank);
    p.setFont(CaptionFont(13, true));
    p.setPen(QColor::fromRgb(kCaptionColor));
    p.drawText(kTankNumberRect, Qt::AlignCenter, QStringLiteral("1"));
    p.setPen(QColor::fromRgb(kHeaderTextColor));
    p.setFont(CaptionFont(11, true));
    p.drawText(kTankNameRect, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Diesel"));
    const int product = static_cast<int>(kTankLevelRect.height() * fill);
    const int water = 5;
    p.fillRect(QRect(kTankLevelRect.left(), kTankLevelRect.bottom() + 1 - product,
                     kTankLevelRect.width(), product),
               QColor(0xE8, 0xB8, 0x3A));
    p.fillRect(QRect(kTankLevelRect.left(), kTankLevelRect.bottom() + 1 - water,
                     kTankLevelRect.width(), water),
               QColor(0x3A, 0x8E, 0xD8));
    if (state) p.drawImage(kTankStateRect.topLeft(), Halvora::ArtImage(QString::fromLatin1(state)));
    p.setFont(CaptionFont(11));
    p.setPen(QColor::fromRgb(kCaptionColor));
    const char* readings[3] = {"Level 1234.5", "Water 12.0", "Ullage 8765.5"};
    for (int i = 0; i < 3; ++i)
        p.drawText(QRect(kTankReadingsRect.left() + 4,
                         kTankReadingsRect.top() + 1 + i * kTankReadingLineHeight,
                         kTankReadingsRect.width() - 8, kTankReadingLineHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(readings[i]));
    return tank;
}

// Lays images out in rows, each with its name below; returns the y below the last row.
int LayOut(QPainter* p, const std::vector<std::pair<QString, QImage>>& items, int y, int scale) {
    int x = kMargin;
    int rowHeight = 0;
    for (const auto& [name, image] : items) {
        const QSize size = image.size() * scale;
        const int label = QFontMetrics(CaptionFont(11)).horizontalAdvance(name) + 8;
        const int cell = std::max(size.width(), label);
        if (x + cell > kWidth - kMargin) {
            x = kMargin;
            y += rowHeight + kLabelHeight + kGap;
            rowHeight = 0;
        }
        if (p) {
            p->drawImage(QRect(QPoint(x + (cell - size.width()) / 2, y), size), image);
            p->drawText(QRect(x - 4, y + size.height() + 2, cell + 8, kLabelHeight),
                        Qt::AlignHCenter | Qt::AlignTop, name);
        }
        x += cell + kGap;
        rowHeight = std::max(rowHeight, size.height());
    }
    return y + rowHeight + kLabelHeight + kGap;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: halvora-artsheet OUT.png [SCALE [NAME...]]\n");
        return 1;
    }
    const int scale = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
    QStringList only;
    for (int i = 3; i < argc; ++i)
        only << QString::fromLocal8Bit(argv[i]);

    std::vector<std::pair<QString, QImage>> pictures;
    for (const Halvora::Art::Picture& picture : Halvora::Art::AllPictures()) {
        const QString name = QString::fromLatin1(picture.name);
        if (!only.isEmpty() && !only.contains(name)) continue;
        const QImage image = Halvora::ArtImage(name);
        if (image.isNull()) {
            std::fprintf(stderr, "halvora-artsheet: %s is not embedded\n", picture.name);
            return 1;
        }
        pictures.emplace_back(name, image);
    }
    const Sample samples[] = {
        {"idle", true, "NozzleIn.bmp", "Stack0.bmp", nullptr, false, {"0.000", "0.00", "1.459"}},
        {"calling",
         true,
         "NozzleOut.bmp",
         "Stack1.bmp",
         "Calling.bmp",
         false,
         {"0.000", "0.00", "1.459"}},
        {"delivering",
         true,
         "NozzleOut.bmp",
         "Stack2.bmp",
         nullptr,
         false,
         {"23.415", "34.16", "1.459"}},
        {"prepay",
         true,
         "NozzleIn.bmp",
         "Stack3.bmp",
         "PrepayLocked.bmp",
         true,
         {"0.000", "20.00", "1.459"}},
        {"stopped",
         true,
         "NozzleLeftOut.bmp",
         "Stack5.bmp",
         "Stopped.bmp",
         false,
         {"11.020", "16.08", "1.459"}},
        {"off line", false, "NozzleIn.bmp", "Stack0.bmp", nullptr, false, {"", "", ""}},
    };
    std::vector<std::pair<QString, QImage>> controls;
    if (only.isEmpty()) {
        int number = 1;
        for (const Sample& s : samples)
            controls.emplace_back(QString::fromLatin1(s.title), ComposePump(s, number++));
        controls.emplace_back(QStringLiteral("tank falling"), ComposeTank(0.62, "Falling.bmp"));
        controls.emplace_back(QStringLiteral("tank error"), ComposeTank(0.2, "error1.bmp"));
    }

    const int top = kMargin + 24;
    int height = LayOut(nullptr, pictures, top, scale);
    height = LayOut(nullptr, controls, height + 24, scale) + kMargin;
    QImage sheet(kWidth, height, QImage::Format_RGB32);
    sheet.fill(QColor(0xF0, 0xF2, 0xF5));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QColor(0x1A, 0x1A, 0x1A));
    p.setFont(CaptionFont(16, true));
    p.drawText(QPoint(kMargin, kMargin + 12), QStringLiteral("Display control pictures"));
    p.setFont(CaptionFont(11));
    int y = LayOut(&p, pictures, top, scale);
    p.setFont(CaptionFont(16, true));
    p.drawText(QPoint(kMargin, y + 12), QStringLiteral("Composed controls"));
    p.setFont(CaptionFont(11));
    LayOut(&p, controls, y + 24, scale);
    p.end();
    if (!sheet.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "halvora-artsheet: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
