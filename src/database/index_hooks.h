// The seam through which the asset index plugs into the database layer: the database lock
// asks it to reload and to hand over change flags; shut-down asks it to save and empty.
#pragma once
#include <cstdint>

namespace QETLib {

class IndexHooks {
 public:
  virtual ~IndexHooks() = default;
  // Called under a write DatabaseLock while this process owns the database, when the index
  // was never loaded or another process has written it since: empty it, then load it.
  virtual void Reload() = 0;
  // Called on release of a write DatabaseLock, still under it: the change flags raised
  // since the last call, cleared. They reach the change callback once the lock is free.
  virtual uint32_t CollectChangeFlags() = 0;
  // Shut-down, while the database is still started: write the index back when it has
  // unsaved changes (taking its own DatabaseLock).
  virtual void WriteBackIfDirty() = 0;
  // Shut-down, after the database was stopped: drop every record.
  virtual void Empty() = 0;
};

// The index registers itself once (nullptr removes it); the object must outlive its
// registration. Without one, locks still work and reloads only note the counter.
void RegisterIndexHooks(IndexHooks* hooks);
IndexHooks* CurrentIndexHooks();

}  // namespace QETLib
