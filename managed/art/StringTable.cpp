#include "managed/art/StringTable.h"

#include <array>

namespace Halvora {

namespace {

struct Entry {
    int id;
    const char* english; // UTF-8, as are the others
    const char* spanish;
    const char* portuguese;
};

// Ids 5, 6 and 7 end in a blank: the controls write the reading straight after them.
constexpr std::array<Entry, 11> kTable{{
    {3, "Volume", "Volumen", "Volume"},
    {4, "Value", "Valor", "Valor"},
    {5, "Water ", "Agua ", "\xC3\x81gua "},
    {6, "Level ", "Nivel ", "N\xC3\xADvel "},
    {7, "Ullage ", "Merma ", "Ullage "},
    {8, "Grade", "Producto", "Comb."},
    {9, "Attendant", "Vendedor", "Frentista"},
    {10, "Client", "Cliente", "Cliente"},
    {11, "Hose", "Manguera", "Bico"},
    {12, "Tag", "Tag", "Tag"},
    {13, "Flow rate", "Fluxo L/m", "Fluxo L/m"},
}};

enum class Language { English, Spanish, Portuguese };

// The primary subtag of the first user-interface language ("pt" of "pt-BR").
Language LanguageOf(const QLocale& locale) {
    const QStringList languages = locale.uiLanguages();
    QString tag = languages.isEmpty() ? locale.name() : languages.first();
    tag = tag.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
    if (tag == QLatin1String("es")) return Language::Spanish;
    if (tag == QLatin1String("pt")) return Language::Portuguese;
    return Language::English;
}

} // namespace

QString LoadString(int id, const QLocale& locale) {
    for (const Entry& e : kTable) {
        if (e.id != id) continue;
        switch (LanguageOf(locale)) {
        case Language::Spanish:
            return QString::fromUtf8(e.spanish);
        case Language::Portuguese:
            return QString::fromUtf8(e.portuguese);
        case Language::English:
            break;
        }
        return QString::fromUtf8(e.english);
    }
    return QString();
}

} // namespace Halvora
