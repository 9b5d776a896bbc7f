#include "managed/art/Art.h"

#include "managed/art/ArtLayout.h"

#include <QtCore/QHash>

// The resources live in a static library: registering them by name makes sure the linker keeps
// them in whatever program or library uses the pictures.
static void RegisterArt() {
    Q_INIT_RESOURCE(halvora_art);
}

namespace Halvora {

QImage ArtImage(const QString& name) {
    static const bool registered = (RegisterArt(), true);
    (void)registered;
    static QHash<QString, QImage> cache;
    auto it = cache.constFind(name);
    if (it != cache.constEnd()) return *it;
    QImage image(ArtLayout::kResourcePrefix + name);
    if (!image.isNull()) cache.insert(name, image);
    return image;
}

} // namespace Halvora
