// Reading, writing, scrambling and unscrambling GameScript sources.
#include "gamescript/script_source_file.h"

#include <cstring>

#include "engine/compress.h"
#include "engine/file.h"
#include "engine/path.h"

namespace GSCompiler {

namespace {

constexpr int kCompressionLevel = 9;

// The scrambling key. Any change makes every existing .gse file unreadable.
constexpr unsigned char kScriptKey[32] = {
    0x5A, 0xC3, 0x17, 0x8E, 0x29, 0xF4, 0x61, 0xB0, 0x3D, 0x92, 0xE7, 0x4C, 0x08, 0xA5, 0x7B, 0xD6,
    0x33, 0x9F, 0x6E, 0x04, 0xC8, 0x51, 0xBA, 0x2F, 0xE1, 0x76, 0x1D, 0x88, 0x4A, 0xF9, 0x65, 0xAC,
};

uint32_t GetU32(const char* p) {
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 | static_cast<uint32_t>(b[2]) << 16 |
         static_cast<uint32_t>(b[3]) << 24;
}

void PutU32(char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

void ApplyScriptKey(char* data, size_t size) {
  for (size_t i = 0; i < size; ++i) data[i] = static_cast<char>(static_cast<unsigned char>(data[i]) ^ kScriptKey[i % 32]);
}

std::string_view ScriptSourceFile::Text() const {
  if (scrambled_ || text_offset_ > buffer_.size()) return {};
  return std::string_view(buffer_).substr(text_offset_);
}

void ScriptSourceFile::SetText(std::string text) {
  buffer_ = std::move(text);
  scrambled_ = false;
  unscrambled_length_ = static_cast<uint32_t>(buffer_.size());
  text_offset_ = 0;
}

void ScriptSourceFile::Invalidate() {
  buffer_.clear();
  unscrambled_length_ = 0;
}

bool ScriptSourceFile::Read(const Orb::PString& container, const std::string& path) {
  container_ = container;
  path_ = path;
  if (Orb::Path::IsExt(path, "gs")) return ReadPlain(path);
  if (Orb::Path::IsExt(path, "gse")) return ReadScrambled(path);
  return false;
}

bool ScriptSourceFile::ReadPlain(const std::string& path) {
  if (!Orb::File::IsRegularFile(path)) return false;
  std::string text;
  if (!Orb::ReadWholeFile(path, text, kMaxTextSize)) return false;
  SetText(std::move(text));
  return true;
}

bool ScriptSourceFile::ReadScrambled(const std::string& path) {
  Orb::File file;
  if (!file.Open(path, Orb::File::kRead)) return false;
  char header[kHeaderSize];
  if (file.Read(header, sizeof header) != static_cast<int64_t>(sizeof header)) return false;
  uint32_t length = GetU32(header + 8);
  // The length field is not trusted: the bytes must really be there before we make room.
  int64_t size = file.Size();
  if (size < 0 || static_cast<uint64_t>(size) - kHeaderSize < length) return false;
  std::string bytes(header, sizeof header);
  bytes.resize(kHeaderSize + length);
  if (file.Read(bytes.data() + kHeaderSize, length) != static_cast<int64_t>(length)) return false;
  return LoadScrambled(bytes);
}

bool ScriptSourceFile::LoadScrambled(std::string_view bytes) {
  if (bytes.size() < kHeaderSize) return false;
  uint32_t length = GetU32(bytes.data() + 8);
  if (bytes.size() - kHeaderSize < length) return false;
  reserved_ = GetU32(bytes.data());
  buffer_.assign(bytes.data() + kHeaderSize, length);
  scrambled_ = true;
  text_offset_ = 0;
  unscrambled_length_ = 0;
  return true;
}

bool ScriptSourceFile::Unscramble() {
  if (!scrambled_) return true;
  scrambled_ = false;
  if (buffer_.size() < 4) {
    Invalidate();
    return false;
  }
  ApplyScriptKey(buffer_.data(), buffer_.size());
  uint32_t length = GetU32(buffer_.data());
  if (length == 0 || length > kMaxTextSize) {
    Invalidate();
    return false;
  }
  std::string text(length, '\0');
  const auto* packed = reinterpret_cast<const uint8_t*>(buffer_.data()) + 4;
  if (!Orb::BlockCompressor().DecompressBlock({packed, buffer_.size() - 4},
                                              {reinterpret_cast<uint8_t*>(text.data()), text.size()})) {
    Invalidate();
    return false;
  }
  SetText(std::move(text));
  return true;
}

bool ScriptSourceFile::Scramble() {
  if (scrambled_) return true;
  std::string_view text = Text();
  if (text.size() > kMaxTextSize) return false;
  // Room for the compressor's worst case, so short or incompressible texts scramble too.
  const Orb::Compress& codec = Orb::BlockCompressor();
  size_t capacity = codec.MaxCompressedSize(text.size());
  std::string block(4 + capacity, '\0');
  size_t packed = codec.CompressBlock({reinterpret_cast<const uint8_t*>(text.data()), text.size()},
                                      {reinterpret_cast<uint8_t*>(block.data()) + 4, capacity}, kCompressionLevel);
  if (packed == 0) return false;
  block.resize(4 + packed);
  unscrambled_length_ = static_cast<uint32_t>(text.size());
  PutU32(block.data(), unscrambled_length_);
  ApplyScriptKey(block.data(), block.size());
  buffer_ = std::move(block);
  text_offset_ = 0;
  scrambled_ = true;
  return true;
}

bool ScriptSourceFile::Write(const Orb::PString& container, const std::string& path) {
  container_ = container;
  if (Orb::Path::IsExt(path, "gse")) return WriteScrambled(path);
  if (Orb::Path::IsExt(path, "gs")) return WritePlain(path);
  return false;
}

bool ScriptSourceFile::WriteScrambled(const std::string& path) {
  if (!Scramble()) return false;
  if (Orb::File::Exists(path) && !Orb::File::Unlink(path)) return false;
  char header[kHeaderSize];
  PutU32(header, reserved_);
  PutU32(header + 4, 0);
  PutU32(header + 8, static_cast<uint32_t>(buffer_.size()));
  PutU32(header + 12, 0);
  Orb::File file;
  if (!file.Open(path, Orb::File::kCreate)) return false;
  return file.Write(header, sizeof header) && file.Write(buffer_.data(), buffer_.size());
}

bool ScriptSourceFile::WritePlain(const std::string& path) {
  if (!Unscramble()) return false;
  std::string_view text = Text();
  return Orb::WriteWholeFile(path, text);
}

}  // namespace GSCompiler
