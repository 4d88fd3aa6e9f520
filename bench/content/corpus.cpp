// Corpus generator for the compression benchmarks. The data imitates what asset folders
// hold; every byte comes from a seeded generator, so runs and machines see the same corpus.
#include "corpus.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>

namespace bench_corpus {
namespace {

using Rng = std::mt19937;

template <size_t N>
const char* Pick(Rng& rng, const char* const (&pool)[N]) {
  return pool[rng() % N];
}

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

void Tag(std::string& out, int level, const std::string& name, const std::string& value) {
  std::string line(2 * level, ' ');
  line += name;
  line.append(std::max<int>(1, 40 - 2 * level - static_cast<int>(name.size())), ' ');
  out += line + value + "\r\n";
}

std::string Config(Rng& rng, int n) {
  static const char* const kKinds[] = {"traincar", "mesh", "scenery", "track", "texture", "bogey", "engine", "map"};
  static const char* const kWords[] = {"Class", "Goods", "Wagon", "Coach", "Diesel", "Steam", "Station", "Platform",
                                       "Brick", "Signal", "Box", "Tank", "Hopper", "Bridge", "Tunnel", "Crossing"};
  static const char* const kRegions[] = {"UK", "DE", "US", "FR", "AU", "NL"};
  std::string s = "\xEF\xBB\xBF\r\n";
  int user = 10000 + static_cast<int>(rng() % 400000);
  Tag(s, 0, "kuid", "<kuid2:" + std::to_string(user) + ":" + std::to_string(n) + ":" + std::to_string(rng() % 4) + ">");
  Tag(s, 0, "username", std::string("\"") + Pick(rng, kWords) + " " + Pick(rng, kWords) + " " +
                            std::to_string(rng() % 900 + 100) + "\"");
  Tag(s, 0, "kind", std::string("\"") + Pick(rng, kKinds) + "\"");
  Tag(s, 0, "quorix-build", "4.6");
  Tag(s, 0, "category-class", std::string("\"") + static_cast<char>('A' + rng() % 26) + static_cast<char>('A' + rng() % 26) + "\"");
  Tag(s, 0, "category-region", std::string("\"") + Pick(rng, kRegions) + "\"");
  Tag(s, 0, "category-era", "\"" + std::to_string(1900 + 10 * (rng() % 12)) + "s\"");
  Tag(s, 0, "description", std::string("\"A ") + Pick(rng, kWords) + " for the " + Pick(rng, kWords) +
                               " line, with LOD meshes and night textures.\"");
  s += "\r\nmesh-table\r\n{\r\n";
  int meshes = 1 + static_cast<int>(rng() % 4);
  for (int m = 0; m < meshes; ++m) {
    if (m) s += "  \r\n";
    s += "  " + std::string(m == 0 ? "default" : "lod" + std::to_string(m)) + "\r\n  {\r\n";
    Tag(s, 2, "mesh", "\"body/" + std::string(Pick(rng, kWords)) + std::to_string(m) + ".im\"");
    Tag(s, 2, "auto-create", "1");
    if (rng() % 2) Tag(s, 2, "lod-level", std::to_string(m));
    Tag(s, 2, "effects", "");
    s += "  }\r\n";
  }
  s += "}\r\n\r\nkuid-table\r\n{\r\n";
  int deps = static_cast<int>(rng() % 8);
  for (int d = 0; d < deps; ++d)
    Tag(s, 1, std::to_string(d), "<kuid:" + std::to_string(rng() % 500000) + ":" + std::to_string(rng() % 100000) + ">");
  s += "}\r\n\r\nthumbnails\r\n{\r\n  0\r\n  {\r\n";
  Tag(s, 2, "image", "\"thumbnail.jpg\"");
  Tag(s, 2, "width", "240");
  Tag(s, 2, "height", "180");
  s += "  }\r\n}\r\n";
  return s;
}

// A tessellated surface: position, normal, uv as floats, then 16-bit triangle indices.
std::vector<uint8_t> Mesh(Rng& rng, int grid) {
  static const char header[] = "PMESH\0\0\x01material/body.pm\0";
  std::vector<uint8_t> out(header, header + sizeof header);
  std::normal_distribution<float> noise(0.0f, 0.002f);
  for (int y = 0; y <= grid; ++y) {
    for (int x = 0; x <= grid; ++x) {
      float fx = x / static_cast<float>(grid);
      float fy = y / static_cast<float>(grid);
      float v[8] = {fx * 4.0f - 2.0f, std::sin(fx * 3.14159f) * 0.5f + noise(rng), fy * 12.0f, 0.0f,
                    1.0f,             0.0f,                                         fx,         fy};
      const uint8_t* p = reinterpret_cast<const uint8_t*>(v);
      out.insert(out.end(), p, p + sizeof v);
    }
  }
  for (int y = 0; y < grid; ++y) {
    for (int x = 0; x < grid; ++x) {
      uint16_t a = static_cast<uint16_t>(y * (grid + 1) + x);
      uint16_t tri[6] = {a, static_cast<uint16_t>(a + 1), static_cast<uint16_t>(a + grid + 1),
                         static_cast<uint16_t>(a + 1), static_cast<uint16_t>(a + grid + 2),
                         static_cast<uint16_t>(a + grid + 1)};
      const uint8_t* p = reinterpret_cast<const uint8_t*>(tri);
      out.insert(out.end(), p, p + sizeof tri);
    }
  }
  return out;
}

// 24-bit uncompressed TGA: a noisy texture (wood-like bands) or a flat-coloured icon.
std::vector<uint8_t> Image(Rng& rng, int w, int h, bool icon) {
  std::vector<uint8_t> out(18, 0);
  out[2] = 2;
  out[12] = static_cast<uint8_t>(w);
  out[13] = static_cast<uint8_t>(w >> 8);
  out[14] = static_cast<uint8_t>(h);
  out[15] = static_cast<uint8_t>(h >> 8);
  out[16] = 24;
  std::uniform_int_distribution<int> jitter(-3, 3);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      int r, g, b;
      if (icon) {
        bool inside = (x - w / 2) * (x - w / 2) + (y - h / 2) * (y - h / 2) < (w / 3) * (w / 3);
        bool stripe = (y / 8) % 2 == 0 && x > w / 8 && x < w * 7 / 8;
        r = inside ? 200 : (stripe ? 40 : 255);
        g = inside ? 30 : (stripe ? 40 : 255);
        b = inside ? 30 : (stripe ? 120 : 255);
      } else {
        double band = std::sin((x + 7 * std::sin(y * 0.05)) * 0.2) * 30;
        r = 140 + static_cast<int>(band) + jitter(rng);
        g = 90 + static_cast<int>(band * 0.7) + jitter(rng);
        b = 50 + static_cast<int>(band * 0.4) + jitter(rng);
      }
      out.push_back(static_cast<uint8_t>(b));
      out.push_back(static_cast<uint8_t>(g));
      out.push_back(static_cast<uint8_t>(r));
    }
  }
  return out;
}

std::string Script(Rng& rng, int classes) {
  static const char* const kTypes[] = {"int", "float", "bool", "string", "Asset", "Train", "Vehicle", "Junction"};
  static const char* const kNames[] = {"speed", "target", "count", "state", "owner", "signal", "delay", "handler",
                                       "length", "station", "message", "timer", "driver", "load", "brake"};
  static const char* const kCalls[] = {"Sleep", "PostMessage", "GetName", "SetSpeed", "FindAsset", "Interface.Log",
                                       "Str.ToInt", "World.GetTimeElapsed", "Router.GetGameObject"};
  std::string s = "// Script library: vehicle and track helpers.\r\ninclude \"vehicle.gs\"\r\ninclude \"world.gs\"\r\n\r\n";
  for (int c = 0; c < classes; ++c) {
    std::string cls = std::string("Helper") + Pick(rng, kNames) + std::to_string(c);
    s += "class " + cls + " isclass GameObject\r\n{\r\n";
    int fields = 2 + static_cast<int>(rng() % 5);
    for (int f = 0; f < fields; ++f)
      s += std::string("  ") + Pick(rng, kTypes) + " m_" + Pick(rng, kNames) + std::to_string(f) + ";\r\n";
    int methods = 2 + static_cast<int>(rng() % 4);
    for (int m = 0; m < methods; ++m) {
      std::string name = Pick(rng, kNames);
      name[0] = static_cast<char>(name[0] - 32);
      s += std::string("\r\n  public ") + Pick(rng, kTypes) + " Update" + name + "(" + Pick(rng, kTypes) + " " +
           Pick(rng, kNames) + ")\r\n  {\r\n";
      int lines = 3 + static_cast<int>(rng() % 8);
      for (int l = 0; l < lines; ++l) {
        switch (rng() % 4) {
          case 0:
            s += std::string("    if (m_") + Pick(rng, kNames) + "0 > " + std::to_string(rng() % 100) + ")\r\n      " +
                 Pick(rng, kCalls) + "(me, \"" + Pick(rng, kNames) + "\");\r\n";
            break;
          case 1:
            s += std::string("    m_") + Pick(rng, kNames) + "1 = " + Pick(rng, kCalls) + "(" + Pick(rng, kNames) + ");\r\n";
            break;
          case 2:
            s += std::string("    int i;\r\n    for (i = 0; i < ") + std::to_string(rng() % 20) + "; i++)\r\n      " +
                 Pick(rng, kCalls) + "(i);\r\n";
            break;
          default:
            s += std::string("    // ") + Pick(rng, kNames) + " is checked before the " + Pick(rng, kNames) + "\r\n";
        }
      }
      s += "    return;\r\n  }\r\n";
    }
    s += "};\r\n\r\n";
  }
  return s;
}

}  // namespace

std::vector<File> MakeCorpus() {
  Rng rng(20261208);
  std::vector<File> files;
  std::string configs;
  for (int i = 0; i < 24; ++i) {
    std::string one;
    for (int k = 0; k < 8; ++k) one += Config(rng, i * 8 + k);
    files.push_back({"config" + std::to_string(i) + ".txt", Bytes(one)});
  }
  for (int i = 0; i < 6; ++i) files.push_back({"mesh" + std::to_string(i) + ".im", Mesh(rng, 40 + 30 * i)});
  files.push_back({"wood.tga", Image(rng, 256, 256, false)});
  files.push_back({"planks.tga", Image(rng, 512, 256, false)});
  files.push_back({"icon.tga", Image(rng, 64, 64, true)});
  files.push_back({"logo.tga", Image(rng, 256, 128, true)});
  for (int i = 0; i < 4; ++i) files.push_back({"library" + std::to_string(i) + ".gs", Bytes(Script(rng, 40 + 20 * i))});
  return files;
}

}  // namespace bench_corpus
