// The in-memory form of a GameScript source: plain text read from a .gs file, or the
// scrambled block of a .gse file, with the transforms between the two and the file I/O.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/pstring.h"

namespace GSCompiler {

class ScriptSourceFile {
 public:
  // Largest script text accepted, plain or unscrambled (64 MiB).
  static constexpr uint32_t kMaxTextSize = 0x4000000;
  // Size of the fixed .gse header: reserved, 0, block length, 0.
  static constexpr size_t kHeaderSize = 16;

  // Reads `path`: a .gs file as plain text, a .gse file as its scrambled block.
  // Any other extension, a missing file, an oversized text or a short .gse fails.
  bool Read(const Orb::PString& container, const std::string& path);
  // Takes the bytes of a .gse file (header and block; bytes after the block are ignored).
  bool LoadScrambled(std::string_view bytes);
  // Turns the scrambled block back into text. A no-op when the buffer holds text already.
  // Invalid data (too short, bad length field, wrong decompressed size) empties the buffer.
  bool Unscramble();
  // Turns the text into the scrambled block. A no-op when already scrambled.
  bool Scramble();
  // Writes `path`: a .gse file scrambled (an existing file is deleted first), a .gs file
  // as plain text. Any other extension fails.
  bool Write(const Orb::PString& container, const std::string& path);

  // Replaces the contents with plain text (as if read from a .gs file).
  void SetText(std::string text);

  bool IsScrambled() const { return scrambled_; }
  // The buffer: text when not scrambled, else the scrambled block.
  std::string_view Data() const { return buffer_; }
  // The script text, from its start offset; empty while scrambled.
  std::string_view Text() const;
  uint32_t Reserved() const { return reserved_; }
  uint32_t UnscrambledLength() const { return unscrambled_length_; }
  const std::string& Path() const { return path_; }

 private:
  bool ReadPlain(const std::string& path);
  bool ReadScrambled(const std::string& path);
  bool WriteScrambled(const std::string& path);
  bool WritePlain(const std::string& path);
  void Invalidate();

  std::string path_;
  Orb::PString container_;
  std::string buffer_;
  bool scrambled_ = false;
  uint32_t reserved_ = 0;
  uint32_t unscrambled_length_ = 0;
  size_t text_offset_ = 0;
};

// XORs `data` with the fixed 32-byte scrambling key, key byte i mod 32 for byte i.
void ApplyScriptKey(char* data, size_t size);

}  // namespace GSCompiler
