// qax-host: loads the QAXOntologyItem channel module the way a host engine
// does and shows what it contributes.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "host/sdk/HighPoly.h"
#include "host/sdk/ModuleLoader.h"

namespace {

// The folder of this program, where the build puts the module beside it.
std::string ProgramFolder(const char* argv0) {
  std::string path = argv0 != nullptr ? argv0 : "";
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

void PrintUsage(std::FILE* out) {
  std::fputs(
      "usage: qax-host [--module PATH] type\n"
      "\n"
      "Loads the QAXOntologyItem channel module by path, as a host engine does.\n"
      "\n"
      "commands:\n"
      "  type     print the channel type descriptor that the module's GetType gives\n"
      "\n"
      "options:\n"
      "  --module PATH   the channel module to load (default: QAXOntologyItem.so\n"
      "                  beside this program)\n",
      out);
}

int PrintType(const ChannelModule& module) {
  const ChannelType* type = module.GetType();
  if (type == nullptr) {
    std::fprintf(stderr, "qax-host: %s: GetType gave no descriptor\n", module.Path().c_str());
    return 1;
  }
  std::printf("module     %s\n", module.Path().c_str());
  std::printf("name       %.*s\n", static_cast<int>(strnlen(type->Name, sizeof(type->Name))),
              type->Name);
  std::printf("type guid  %s\n", GuidToString(type->TypeGuid).c_str());
  std::printf("base guid  %s\n", GuidToString(type->BaseGuid).c_str());
  std::printf("flags      %d\n", type->TypeFlags);
  std::printf("extra      %d\n", type->TypeExtra);
  std::unique_ptr<A3d_Channel> channel = module.NewChannel();
  if (!channel) {
    std::fprintf(stderr, "qax-host: %s: InitDLL gave no channel\n", module.Path().c_str());
    return 1;
  }
  const char* name = channel->GetChannelName();
  std::printf("new channel named \"%s\"\n", name != nullptr ? name : "");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string modulePath = ProgramFolder(argc > 0 ? argv[0] : nullptr) + "/QAXOntologyItem.so";
  std::string command;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      PrintUsage(stdout);
      return 0;
    }
    if (arg == "--module") {
      if (i + 1 >= argc) {
        std::fputs("qax-host: --module needs a path\n", stderr);
        return 2;
      }
      modulePath = argv[++i];
    } else if (command.empty()) {
      command = arg;
    } else {
      std::fprintf(stderr, "qax-host: unexpected argument '%s'\n", arg.c_str());
      return 2;
    }
  }
  if (command.empty()) command = "type";
  if (command != "type") {
    std::fprintf(stderr, "qax-host: unknown command '%s'\n", command.c_str());
    PrintUsage(stderr);
    return 2;
  }
  std::string error;
  std::unique_ptr<ChannelModule> module = ChannelModule::Open(modulePath, &error);
  if (!module) {
    std::fprintf(stderr, "qax-host: %s\n", error.c_str());
    return 1;
  }
  return PrintType(*module);
}
