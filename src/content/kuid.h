// Asset identifiers: user id, content id and version, with their limits, the null KUID,
// the text forms, the one parser for all of them, and the packed binary forms.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace QETLib {

struct KUID {
  int32_t user = -1;
  int32_t content = -1;
  int32_t version = 127;

  static KUID Null() { return KUID{}; }
  bool IsNull() const { return user == -1 && content == -1 && version == 127; }
  // Version 0 with a non-negative user, or version 127 with a negative user.
  bool IsVersionless() const { return user >= 0 ? version == 0 : version == 127; }
  bool operator==(const KUID& o) const { return user == o.user && content == o.content && version == o.version; }
  bool operator!=(const KUID& o) const { return !(*this == o); }

  // Index order: user, then content, then version, each a signed compare.
  bool operator<(const KUID& o) const {
    if (user != o.user) return user < o.user;
    if (content != o.content) return content < o.content;
    return version < o.version;
  }

  // (content << 5) ^ version ^ user as an unsigned number.
  uint32_t Hash() const {
    return (static_cast<uint32_t>(content) << 5) ^ static_cast<uint32_t>(version) ^ static_cast<uint32_t>(user);
  }

  // Version in the top 7 bits, the user id's low 25 bits below it.
  uint32_t PackedWord() const;
  static void UnpackWord(uint32_t word, int32_t& user, int32_t& version);

  // Chump tag value: packed word, then content id (little-endian).
  void ToChumpBytes(uint8_t out[8]) const;
  static KUID FromChumpBytes(const uint8_t in[8]);
  // Stream form of the program's own records: content id, then packed word.
  void ToStreamBytes(uint8_t out[8]) const;
  static KUID FromStreamBytes(const uint8_t in[8]);

  // True when user and version lie within the limits.
  static bool WithinLimits(int32_t user, int32_t version);
};

struct KUIDHash {
  size_t operator()(const KUID& k) const { return k.Hash(); }
};

KUID Parse(std::string_view text, bool strict);
std::string ToBracketString(const KUID& kuid);  // "<kuid:1:2>", "<kuid2:1:2:3>", "<NULL>"
std::string ToShortString(const KUID& kuid);    // "1:2", "1:2:3", "NULLKUID"
std::string ToWordString(const KUID& kuid);     // "kuid 1 2", "kuid2 1 2 3", "NULLKUID"
// The form generatekuid prints: "<KUID2:" user ":" content ":" version ">" (the last two unsigned).
std::string ToGenerateString(const KUID& kuid);
// Appends the bracketed form to `out` without allocating a temporary.
void AppendBracketString(const KUID& kuid, std::string& out);

}  // namespace QETLib
