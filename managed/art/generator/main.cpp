// halvora-artgen OUTDIR: draws every picture of the display controls into OUTDIR as a BMP file
// under its resource name, and writes OUTDIR/halvora_art.qrc listing them under the package's
// resource prefix. Exit status 0 on success, 1 when a file cannot be written, 2 on bad usage.
// The output depends only on the code: two runs give identical bytes.

#include "managed/art/generator/Pictures.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QSaveFile>
#include <QtGui/QImage>

#include <cstdio>
#include <set>
#include <string>

namespace {

using Halvora::Art::Picture;

QImage Draw(const Picture& picture) {
    QImage image(picture.size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    picture.paint(p, picture.size);
    p.end();
    return image;
}

// Writes through a temporary file, so an interrupted build never leaves a half-written picture
// that a later build would take as up to date.
bool WriteImage(const QImage& image, const QString& path) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && image.save(&file, "BMP") && file.commit();
}

bool WriteQrc(const std::vector<Picture>& pictures, const QString& path) {
    QByteArray text = "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/Halvora\">\n";
    for (const Picture& picture : pictures)
        text += QByteArray("    <file>") + picture.name + "</file>\n";
    text += "  </qresource>\n</RCC>\n";
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: halvora-artgen OUTDIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "halvora-artgen: cannot create %s\n", argv[1]);
        return 1;
    }
    const std::vector<Picture> pictures = Halvora::Art::AllPictures();
    std::set<std::string> seen;
    for (const Picture& picture : pictures) {
        if (!seen.insert(picture.name).second) {
            std::fprintf(stderr, "halvora-artgen: %s is listed twice\n", picture.name);
            return 1;
        }
        if (!WriteImage(Draw(picture), dir + QLatin1Char('/') + QLatin1String(picture.name))) {
            std::fprintf(stderr, "halvora-artgen: cannot write %s\n", picture.name);
            return 1;
        }
    }
    if (!WriteQrc(pictures, dir + QStringLiteral("/halvora_art.qrc"))) {
        std::fprintf(stderr, "halvora-artgen: cannot write halvora_art.qrc\n");
        return 1;
    }
    return 0;
}
