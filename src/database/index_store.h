// The asset index on disk: loading with its fall-backs (root file, the interrupted write's
// temporary file, the backup, a rebuild by folder scan), the first-change step that moves
// the root file to the backup, and the write-back. Plugs into the database lock's seam.
#pragma once
#include <atomic>
#include <string>

#include "database/asset_index.h"
#include "database/index_hooks.h"

namespace QETLib {

class IndexStore final : public IndexHooks {
 public:
  // Works below `root`, or below the started database's root when it is empty.
  explicit IndexStore(AssetIndex& index, std::string root = {}) : index_(index), root_(std::move(root)) {}

  // Installs this store: the index's first-change handler and the database lock's hooks.
  void Install();
  void Uninstall();

  // IndexHooks.
  void Reload() override { Load(); }
  uint32_t CollectChangeFlags() override { return index_.TakeChangeFlags(); }
  void WriteBackIfDirty() override;
  void Empty() override;

  // Empties the index and loads it (see the file's comment for the order of fall-backs).
  void Load();
  // Moves a root assets.tdx to cache/assets.bku (run when the index first becomes dirty).
  void FirstChangeStep();
  // Writes the index to cache/assets.tdx and renames it to the root; true on success.
  bool WriteDatabaseLocal();

  // Paths below the database root.
  std::string RootIndexPath() const;
  std::string TempIndexPath() const;
  std::string BackupIndexPath() const;

 private:
  std::string Root() const;

  AssetIndex& index_;
  std::string root_;
  bool root_file_unreadable_ = false;  // the root file failed to load and must not become the backup
  std::atomic<bool> write_in_progress_{false};
};

// The process's store over TheAssetIndex().
IndexStore& TheIndexStore();

}  // namespace QETLib
