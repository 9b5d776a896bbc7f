// The string table: exact texts in each language (trailing blanks included), the choice of
// language by the user-interface language, and the empty result for unknown ids.

#include "managed/art/StringTable.h"

#include <gtest/gtest.h>

namespace {

using Halvora::LoadString;

struct Row {
    int id;
    const char* english;
    const char* spanish;
    const char* portuguese;
};

const Row kRows[] = {
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
};

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

TEST(StringTableTest, EachLanguageHasItsExactTexts) {
    const QLocale english(QStringLiteral("en_US"));
    const QLocale spanish(QStringLiteral("es_ES"));
    const QLocale portuguese(QStringLiteral("pt_BR"));
    for (const Row& r : kRows) {
        EXPECT_EQ(LoadString(r.id, english), U(r.english)) << r.id;
        EXPECT_EQ(LoadString(r.id, spanish), U(r.spanish)) << r.id;
        EXPECT_EQ(LoadString(r.id, portuguese), U(r.portuguese)) << r.id;
    }
    EXPECT_EQ(LoadString(5, portuguese).size(), 5) << "one accented letter and a blank";
    EXPECT_TRUE(LoadString(7, spanish).endsWith(QLatin1Char(' ')));
}

TEST(StringTableTest, LanguageIsChosenByItsPrimaryTag) {
    for (const char* name : {"es_MX", "es_AR", "es"})
        EXPECT_EQ(LoadString(8, QLocale(QString::fromLatin1(name))), U("Producto")) << name;
    for (const char* name : {"pt_PT", "pt"})
        EXPECT_EQ(LoadString(11, QLocale(QString::fromLatin1(name))), U("Bico")) << name;
    for (const char* name : {"en_GB", "de_DE", "fr_FR", "it_IT", "C"})
        EXPECT_EQ(LoadString(9, QLocale(QString::fromLatin1(name))), U("Attendant")) << name;
}

TEST(StringTableTest, DefaultLocaleIsUsedWhenNoneIsGiven) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QStringLiteral("es_CL")));
    EXPECT_EQ(LoadString(6), U("Nivel "));
    QLocale::setDefault(QLocale(QStringLiteral("pt_BR")));
    EXPECT_EQ(LoadString(6), U("N\xC3\xADvel "));
    QLocale::setDefault(QLocale(QStringLiteral("nl_NL")));
    EXPECT_EQ(LoadString(6), U("Level "));
    QLocale::setDefault(saved);
}

TEST(StringTableTest, UnknownIdsGiveAnEmptyString) {
    for (int id : {-1, 0, 1, 2, 14, 100})
        for (const char* name : {"en_US", "es_ES", "pt_BR"}) {
            const QString s = LoadString(id, QLocale(QString::fromLatin1(name)));
            EXPECT_TRUE(s.isEmpty()) << id << " " << name;
        }
}

} // namespace
