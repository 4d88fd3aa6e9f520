#include "search/category_tables.h"

#include "engine/text.h"

namespace QETLib {

namespace {

constexpr CategoryClass kClasses[] = {
    {"PST", "Paintshed Template", 0}, {"IND;ACTV", "Industry", 0},   {"SWT;FIXD", "Fixed Track", 0},
    {"BD", "Building", 0},            {"HT", "HTML", 0},             {"PP", "People", 0},
    {"CMP;MESH", "Mesh", 0},          {"CY", "Commodity", 0},        {"RD", "Road", 0},
    {"RT", "Route", 0},               {"RU", "Rule", 0},             {"SC", "Scenario", 0},
    {"SQ", "Script", 0},              {"SS", "Session", 0},          {"TP", "Topology", 0},
    {"TX;ENV", "TextureEnv", 1},      {"TX", "TextureNonEnv", 0},    {"FA", "Fauna", 0},
    {"FL", "Flora", 0},               {"TK", "Track", 0},            {"TK;BRG", "Bridge", 1},
    {"TK;SPL", "Spline", 1},          {"TK;TUN", "Tunnel", 1},       {"TO", "Track Object", 0},
    {"VE", "Vehicle", 0},             {"SD", "Sound", 0},            {"DR", "Driver", 0},
    {"REGN", "Region", 0},            {"SPLN", "Spline", 0},         {"SY", "Scenery", 0},
    {"TR;CMP", "Train Component", 0}, {"TR;CMP;ESPC", "Train Engine", 0}, {"TR", "Train", 0},
    {"MS", "Miscellaneous", 0},       {"FIXD", "Fixed Track", 0},
};

struct KindRow {
  std::string_view kind;
  std::string_view type;
  std::string_view code;
};

// Rows with a type come before the row of the same kind without one.
constexpr KindRow kKindRows[] = {
    {"locomotive", "", "TR;TV;LOCO"},     {"tender", "", "TR;TV;TEND"},
    {"rollingstock", "", "TR;TV;ROLL"},   {"traincar", "", "TR;TV"},
    {"bogey", "", "TR;CMP;BOGY"},         {"engine", "", "TR;CMP;ESPC"},
    {"pantograph", "", "TR;CMP;PANT"},    {"interior", "", "TR;CMP;INT"},
    {"enginesound", "", "CMP;ESND;SD"},   {"hornsound", "", "CMP;HSND;SD"},
    {"tracksound", "", "CMP;TSND;SD"},    {"sound", "", "SD"},
    {"industry", "", "BD;IND;ACTV;FIXD"}, {"buildable", "", "BD"},
    {"scenery", "", "SY"},                {"scenery-trackside", "", "TO"},
    {"mesh", "", "CMP;MESH"},             {"texture", "", "CMP;TX"},
    {"environment", "", "TX;ENV"},        {"groundtexture", "", "TX"},
    {"water", "", "TX;WAT"},              {"region", "", "REGN"},
    {"track", "road;tunnels", "RD;TUN"},  {"track", "road", "RD"},
    {"track", "tunnels", "TK;TUN"},       {"track", "", "TK"},
    {"bridge", "road", "RD;BRG"},         {"bridge", "", "TK;BRG"},
    {"tunnel", "road", "RD;TUN"},         {"tunnel", "", "TK;TUN"},
    {"spline", "", "TK;SPL"},             {"fixedtrack", "", "SWT;FIXD"},
    {"turntable", "", "SWT;FIXD;TURN"},   {"trackside", "", "TO"},
    {"signal", "", "TO;SIG"},             {"trackmark", "", "TO;MARK"},
    {"trigger", "", "TO;TRIG"},           {"map", "", "RT"},
    {"profile", "", "SS"},                {"session", "", "SS"},
    {"activity", "", "SC"},               {"rule", "", "RU"},
    {"behavior", "", "SQ"},               {"library", "", "SQ;LIB"},
    {"driver-character", "", "DR"},       {"driver-command", "", "DR;CMD"},
    {"consist", "", "CN"},                {"product", "", "CY"},
    {"product-category", "", "CY;CAT"},   {"html-asset", "", "HT"},
    {"paintshed-template", "", "PST"},    {"paintshed-skin", "", "PST;SKIN"},
    {"speedtree", "", "FL"},              {"tree", "", "FL"},
    {"animal", "", "FA"},                 {"people", "", "PP"},
};

struct LegacyRow {
  std::string_view value;
  std::string_view kind;
  std::string_view code;
};

// Rows with a kind come before the row of the same value without one.
constexpr LegacyRow kLegacyRows[] = {
    // Locomotives by traction.
    {"AC", "traincar", "TR;TV;LOC;ELEC"}, {"DC", "traincar", "TR;TV;LOC;ELEC"},
    {"DS", "traincar", "TR;TV;LOC;DIES"}, {"ST", "traincar", "TR;TV;LOC;STM"},
    {"MU", "traincar", "TR;TV;LOC;MU"},   {"GT", "traincar", "TR;TV;LOC;TURB"},
    // Rolling stock.
    {"XB", "", "TR;TV;FRT;BOX"},  {"XF", "", "TR;TV;FRT;FLAT"}, {"XH", "", "TR;TV;FRT;HOPR"},
    {"XO", "", "TR;TV;FRT;OPEN"}, {"XR", "", "TR;TV;FRT;REEF"}, {"XT", "", "TR;TV;FRT;TANK"},
    {"XC", "", "TR;TV;CABS"},     {"XP", "", "TR;TV;PASS"},     {"XM", "", "TR;TV;MAINT"},
    // Buildings.
    {"BI", "industry", "BD;IND;NACT"}, {"BI", "", "BD;IND"},   {"BR", "", "BD;RES"},
    {"BC", "", "BD;COM"},              {"BS", "", "BD;STN"},   {"BF", "", "BD;FARM"},
    // Trackside.
    {"WA", "", "TO;SIG"}, {"WS", "", "TO;SIGN"}, {"WL", "", "TO;LXG"}, {"WC", "", "TO;CAT"},
    // Scenery.
    {"SV", "", "SY;VEG"}, {"SF", "", "SY;FNC"}, {"SR", "", "SY;RDV"}, {"SP", "", "PP"},
};

}  // namespace

std::span<const CategoryClass> CategoryClassTable() { return kClasses; }

std::string_view CategoryClassName(std::string_view code) {
  for (const CategoryClass& row : kClasses)
    if (row.code == code) return row.name;
  return {};
}

std::string_view ClassForKind(std::string_view kind, std::string_view type) {
  for (const KindRow& row : kKindRows) {
    if (!Orb::EqualsIgnoreCase(row.kind, kind)) continue;
    if (row.type.empty() || Orb::EqualsIgnoreCase(row.type, type)) return row.code;
  }
  return kFallbackCategoryClass;
}

std::string_view ClassForLegacyClass(std::string_view value, std::string_view kind) {
  for (const LegacyRow& row : kLegacyRows) {
    if (!Orb::EqualsIgnoreCase(row.value, value)) continue;
    if (row.kind.empty() || Orb::EqualsIgnoreCase(row.kind, kind)) return row.code;
  }
  return kFallbackCategoryClass;
}

}  // namespace QETLib
