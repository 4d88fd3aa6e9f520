// New KUIDs in the local user's range, and the KUID state kept in settings/kuid.txt
// (the last KUID handed out, tag "base-kuid").
#pragma once
#include <cstdint>
#include <string>

#include "content/kuid.h"

namespace QETLib {

// Reads settings/kuid.txt below `root`; a missing file starts from the null base.
void LoadKUIDState(const std::string& root);
// The next free KUID after the base (null on failure); the base moves on and is saved.
// Call with the index locked for reading.
KUID GenerateKUID();
// The local user's number for stamping new content: -1 when unknown or reserved (-9..0).
int32_t LocalUserNumber();

}  // namespace QETLib
