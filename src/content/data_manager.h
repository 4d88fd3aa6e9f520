// The content library's process-wide DataManager: knows the data folder (QETData) and the
// engine context, and exists from the library's start-up until its shut-down.
#pragma once
#include <memory>
#include <string>

namespace QETLib {

struct EngineContext;  // owned by the front end; the content library only keeps a pointer

class DataManager {
 public:
  // Creates the singleton for `data_folder` (kept with a trailing "/"). Fails, creating
  // nothing, when the folder does not exist. A second call replaces nothing and succeeds
  // only for the same folder.
  static bool Create(const std::string& data_folder);
  // Destroys the singleton; later Instance calls raise the fatal error again.
  static void Destroy();
  // The singleton; raises QuorixEx "DataManager::Instance> datamanger not initialised"
  // when none exists.
  static DataManager& Instance();
  static bool Exists();

  const std::string& DataFolder() const { return data_folder_; }
  // A file of the data folder: DataFolder() + name.
  std::string DataFile(const std::string& name) const { return data_folder_ + name; }

  void SetEngineContext(EngineContext* context) { engine_context_ = context; }
  EngineContext* GetEngineContext() const { return engine_context_; }

  explicit DataManager(std::string data_folder) : data_folder_(std::move(data_folder)) {}

 private:
  std::string data_folder_;
  EngineContext* engine_context_ = nullptr;
};

}  // namespace QETLib
