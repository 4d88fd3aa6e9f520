#include "frontend/engine_context.h"

#include <unistd.h>

#include <climits>
#include <cstdio>

#include "content/data_manager.h"
#include "content/error_handler.h"
#include "database/database.h"
#include "database/index_store.h"
#include "database/layout.h"
#include "database/kuid_generator.h"
#include "content/language_locale.h"
#include "engine/file.h"
#include "engine/path.h"
#include "engine/process.h"
#include "engine/text.h"
#include "engine/time.h"
#include "frontend/interface_text.h"

namespace QETLib {

std::string ProgramPath() {
  char buf[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return std::string();
  return std::string(buf, static_cast<size_t>(n));
}

std::string IndexPathFor(const std::string& program_path) {
  return Orb::Path::PrevDir(Orb::Path::DelName(program_path)) + "assets.tdx";
}

std::string InstallationRoot() { return Orb::Path::DelSlash(Orb::Path::PrevDir(Orb::Path::DelName(ProgramPath()))); }

static bool WantsNullRender(int argc, char** argv) {
  for (int i = 0; i < argc; ++i)
    if (Orb::ToLower(argv[i]) == "norender") return true;
  return false;
}

int Initialise(EngineContext& context, int argc, char** argv) {
  ErrorHandler::Create();
  context.program_folder = Orb::Path::DelName(Orb::Path::Normalize(ProgramPath()));
  context.user_folder = Orb::CurrentFolder();
  Orb::SetCurrentFolder(context.program_folder);
  context.data_folder = context.program_folder + "QETData/";
  if (!DataManager::Create(context.data_folder)) {
    std::fprintf(stderr, "- QETLib initialisation failed.\n");
    return 255;
  }

  std::string options = WantsNullRender(argc, argv) ? "-NullRender -LogFile=/dev/null"
                                                     : "-render=OpenGL -hidewindow -LogFile=/dev/null";
  context.os = std::make_unique<Orb::OS>("Quorix Util", options);
  context.resource_system = std::make_unique<Orb::ResourceSystem>();
  context.render_kernel = std::make_unique<Orb::RenderKernel>(8);
  if (!context.os->Init()) {
    std::fprintf(stderr, "- Orb OS initialisation failed.\n");
    return 255;
  }
  Orb::Options& engine_options = context.os->GetOptions();
  engine_options.Init("QuorixUtil", "");
  context.resource_system->Init(engine_options);
  Orb::Random::Randomise();
  if (!context.render_kernel->Init(*context.os)) {
    std::fprintf(stderr, "- Unable to initialize render system\n\n");
    return 255;
  }
  DataManager::Instance().SetEngineContext(&context);
  context.root = Orb::Path::DelSlash(Orb::Path::PrevDir(Orb::Path::PrevDir(context.data_folder)));
  // The interface text lives in the installation's "data" container; the stored language
  // picks the thread's locale.
  InterfaceTextDB::Instance().SetRoot(context.root);
  ApplyLanguageLocale(context.root);
  DatabaseSettings settings;
  settings.root = context.root;
  TheIndexStore().Install();  // before the database thread's first lock loads the index
  if (!SetUpInstallationFolders(context.root) || !StartDatabase(settings)) {
    std::fprintf(stderr, "- Unable to start the asset database.\n");
    return 255;
  }
  LoadKUIDState(context.root);
  Orb::Process::RecordMainThread();
  return 0;
}

void Shutdown(EngineContext& context) {
  StopDatabase();
  DataManager::Destroy();
  TearDownInstallationFolders();
  context.render_kernel.reset();
  context.resource_system.reset();
  context.os.reset();
  ErrorHandler::Destroy();
}

}  // namespace QETLib
