// The locale chosen by the stored language code: the numeric locale identifier the rest of
// the system reads, and the matching system locale for the calling thread where available.
#pragma once
#include <string>
#include <string_view>

namespace QETLib {

// Locale identifier for a language code (any case); 3081 for none or an unknown code.
int LocaleIdForLanguage(std::string_view code);
// The system locale name tried for an identifier ("de_DE.UTF-8", ...).
const char* LocaleNameForId(int id);

// Reads the stored code from the installation at `root`, selects the locale for the
// calling thread (numbers keep the "C" form, so files read and write the same everywhere),
// and remembers the identifier. Returns it.
int ApplyLanguageLocale(const std::string& root);
int CurrentLocaleId();
std::string CurrentLanguageCode();  // as stored, "" when none

}  // namespace QETLib
