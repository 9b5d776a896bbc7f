#pragma once
// The package's string table: the caption words of the display controls in English, Spanish and
// Brazilian Portuguese, chosen by the user-interface language.

#include <QtCore/QLocale>
#include <QtCore/QString>

namespace Halvora {

// The text of string `id` (3 to 13) in the language of `locale`'s first user-interface language:
// Spanish for any "es", Portuguese for any "pt", English for every other language. An empty
// string for an id the table does not hold.
QString LoadString(int id, const QLocale& locale = QLocale());

} // namespace Halvora
