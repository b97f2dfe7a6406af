#include "app/start_program.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/window_toolkit.h"
#include "runtime/fatal.h"

namespace tw {
namespace {

// The start page of the HTML view lies beside the program file and is found
// relative to the working directory.
void EnterProgramFolder() {
  std::error_code error;
  std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return;
  std::filesystem::current_path(program.parent_path(), error);
}

// The program's own start-up hooks. They have nothing to do yet; they mark
// where start-up and shutdown work of the program itself belongs.
void InitializeProgram() {}
void EndProgram() {}
void (*g_endRoutine)() = nullptr;
void RegisterEndRoutine(void (*routine)()) { g_endRoutine = routine; }
int StartUp() { return 0; }

}  // namespace

int StartProgram(int argc, char** argv) {
  EnterProgramFolder();
  InstallOutOfMemoryHandler();
  // The web layer binds its system functions at their first call; there is
  // no table to prepare ahead.
  if (!OpenWindowToolkit(argc, argv)) return kStartUpFailed;

  InitializeProgram();
  RegisterEndRoutine(&EndProgram);
  StartUp();  // its result, always 0, decides nothing

  if (!OpenMainWindow()) {
    std::fprintf(stderr, "tarnwick: the main window cannot be created\n");
    return kStartUpFailed;
  }
  RunMessageLoop();

  if (g_endRoutine != nullptr) g_endRoutine();
  CloseWindowToolkit();
  return 0;
}

}  // namespace tw
