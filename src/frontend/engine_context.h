// What the front end starts before a command and stops after it: the engine objects and
// the folders the run works in.
#pragma once
#include <memory>
#include <string>

#include "engine/os.h"

namespace QETLib {

struct EngineContext {
  std::unique_ptr<Orb::ResourceSystem> resource_system;
  std::unique_ptr<Orb::RenderKernel> render_kernel;
  std::unique_ptr<Orb::OS> os;
  std::string program_folder;  // with a trailing "/"
  std::string user_folder;     // the working folder when the program started
  std::string data_folder;     // program folder + "QETData/"
  std::string root;            // installation root, no trailing "/"
};

// Program path helpers shared by start-up and the commands.
std::string ProgramPath();                // the running executable
std::string InstallationRoot();           // the folder above the program's folder, no trailing "/"
std::string IndexPathFor(const std::string& program_path);  // ROOT/assets.tdx

// Start-up steps 1-11 after the ownership controller: 0, or 255 after a message on stderr.
int Initialise(EngineContext& context, int argc, char** argv);
void Shutdown(EngineContext& context);

}  // namespace QETLib
