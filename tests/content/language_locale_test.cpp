// Language codes to locale identifiers, and the code read back from the settings file.
#include <gtest/gtest.h>
#include <unistd.h>

#include "content/language_locale.h"
#include "content/settings.h"
#include "engine/file.h"

using namespace QETLib;

TEST(LanguageLocale, TableAnyCaseAndDefaults) {
  struct {
    const char* code;
    int id;
  } cases[] = {{"", 3081},   {"EN", 3081}, {"au", 3081}, {"Us", 3081}, {"uk", 2057}, {"DE", 1031},
               {"fr", 1036}, {"it", 1040}, {"ru", 1049}, {"cz", 1029}, {"pl", 1045}, {"es", 3082},
               {"ch", 4108}, {"se", 1053}, {"cn", 1028}, {"nl", 1043}, {"kr", 1042}, {"hu", 1038},
               {"xx", 3081}, {"english", 3081}};
  for (const auto& c : cases) EXPECT_EQ(LocaleIdForLanguage(c.code), c.id) << c.code;
}

TEST(LanguageLocale, StoredCodeIsAppliedAndNumbersKeepTheirForm) {
  std::string root = ::testing::TempDir() + "/locale_root." + std::to_string(getpid());
  Orb::File::Prune(root);
  EXPECT_EQ(ApplyLanguageLocale(root), 3081);  // no settings: nothing read
  EXPECT_EQ(CurrentLanguageCode(), "");
  bool changed = false;
  ASSERT_TRUE(StoreLanguageCode(root, "de", &changed));
  EXPECT_TRUE(changed);
  ASSERT_TRUE(StoreLanguageCode(root, "de", &changed));
  EXPECT_FALSE(changed);
  EXPECT_EQ(ApplyLanguageLocale(root), 1031);
  EXPECT_EQ(CurrentLocaleId(), 1031);
  EXPECT_EQ(CurrentLanguageCode(), "de");
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", 1.5);
  EXPECT_STREQ(buf, "1.5");
  ApplyLanguageLocale("");
}
