// Language code to locale identifier, and the thread locale selected from it.
#include "content/language_locale.h"

#include <clocale>
#include <locale.h>

#include <atomic>
#include <mutex>

#include "content/settings.h"
#include "engine/text.h"

namespace QETLib {

namespace {

struct LocaleEntry {
  const char* code;
  int id;
};
constexpr LocaleEntry kCodes[] = {
    {"en", 3081}, {"au", 3081}, {"us", 3081}, {"uk", 2057}, {"de", 1031}, {"fr", 1036},
    {"it", 1040}, {"ru", 1049}, {"cz", 1029}, {"pl", 1045}, {"es", 3082}, {"ch", 4108},
    {"se", 1053}, {"cn", 1028}, {"nl", 1043}, {"kr", 1042}, {"hu", 1038},
};

struct LocaleName {
  int id;
  const char* name;
};
constexpr LocaleName kNames[] = {
    {3081, "en_AU.UTF-8"}, {2057, "en_GB.UTF-8"}, {1031, "de_DE.UTF-8"}, {1036, "fr_FR.UTF-8"},
    {1040, "it_IT.UTF-8"}, {1049, "ru_RU.UTF-8"}, {1029, "cs_CZ.UTF-8"}, {1045, "pl_PL.UTF-8"},
    {3082, "es_ES.UTF-8"}, {4108, "fr_CH.UTF-8"}, {1053, "sv_SE.UTF-8"}, {1028, "zh_TW.UTF-8"},
    {1043, "nl_NL.UTF-8"}, {1042, "ko_KR.UTF-8"}, {1038, "hu_HU.UTF-8"},
};

std::atomic<int> g_locale_id{3081};
std::mutex g_code_lock;
std::string g_code;

}  // namespace

int LocaleIdForLanguage(std::string_view code) {
  for (const LocaleEntry& e : kCodes)
    if (Orb::EqualsIgnoreCase(code, e.code)) return e.id;
  return 3081;
}

const char* LocaleNameForId(int id) {
  for (const LocaleName& n : kNames)
    if (n.id == id) return n.name;
  return "en_AU.UTF-8";
}

int ApplyLanguageLocale(const std::string& root) {
  std::string code = root.empty() ? std::string() : ReadLanguageCode(root);
  int id = LocaleIdForLanguage(code);
  {
    std::lock_guard<std::mutex> hold(g_code_lock);
    g_code = code;
  }
  g_locale_id.store(id);
  // Text classes, collation, dates and messages follow the language; numbers do not.
  int mask = LC_CTYPE_MASK | LC_COLLATE_MASK | LC_TIME_MASK | LC_MESSAGES_MASK | LC_MONETARY_MASK;
  if (locale_t chosen = ::newlocale(mask, LocaleNameForId(id), static_cast<locale_t>(0))) {
    static std::mutex previous_lock;
    static locale_t previous = static_cast<locale_t>(0);
    std::lock_guard<std::mutex> hold(previous_lock);
    ::uselocale(chosen);
    if (previous) ::freelocale(previous);
    previous = chosen;
  }
  return id;
}

int CurrentLocaleId() { return g_locale_id.load(); }

std::string CurrentLanguageCode() {
  std::lock_guard<std::mutex> hold(g_code_lock);
  return g_code;
}

}  // namespace QETLib
