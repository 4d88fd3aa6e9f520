// Changing assets through an editing copy: open for edit, commit, revert, delete, create,
// and the committed copy that validation and export read.
#pragma once
#include <string>

#include "content/kuid.h"
#include "frontend/results_log.h"

namespace QETLib {

// A reference to one asset and the folder the operation handed out (its editing copy, or
// its committed copy for GetCommittedCopy). Empty when the operation failed.
struct EditHandle {
  KUID kuid = KUID::Null();
  std::string folder;
  explicit operator bool() const { return !kuid.IsNull(); }
};

// Commit flags.
constexpr int kCommitKeepEditing = 1;    // the asset stays open for edit
constexpr int kCommitLocalDatabase = 2;  // record the asset in the "local" resource database form
constexpr int kCommitSkipFileCheck = 4;
constexpr int kCommitNoTextures = 8;     // publish without texture compression

EditHandle OpenForEdit(const KUID& kuid, ResultsLog* log);
EditHandle GetCommittedCopy(const KUID& kuid, ResultsLog* log);
// `editing_kept` is set when the editing copy could not be removed.
bool CommitAssetEdits(const EditHandle& handle, int flags, ResultsLog* log, bool* editing_kept = nullptr);
bool RevertAssetEdits(const KUID& kuid, ResultsLog* log);
bool DeleteAsset(const KUID& kuid, bool drop, ResultsLog* log);
EditHandle CreateAsset(const KUID& kuid, bool initial_config, const std::string& name);

// The folder inside ROOT/local that a new committed asset goes to: "hash-%02X" of a byte
// mixed from the user and content numbers.
std::string CommittedBucketName(const KUID& kuid);

}  // namespace QETLib
