// Debugging never changes what a program does: every conformance program run under the debugger
// three ways (continue, step after step, instruction after instruction) prints the same and
// leaves the same registers and store as a plain run.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "../parser/CompileHelper.h"
#include "../vm/VmTestUtil.h"
#include "CallTrace.h"
#include "Debugger.h"

namespace {

std::string ReadAll(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The program run to its end under the debugger by `command`, repeated while the session lasts.
vmtest::TOutcome Debugged(const IProgramRef &program, const std::string &input,
                          TStopInfo (TUVDebugger::*command)()) {
  TMemoryConsole console(input, false);
  TUVCInterpreter machine(&console);
  TUVDebugger debugger(machine);
  debugger.Load(program);
  TStopInfo stop = debugger.Start();
  for (long guard = 0; debugger.IsActive() && guard < 50000000; ++guard) stop = (debugger.*command)();
  EXPECT_FALSE(console.IsOpen);
  std::string error = stop.Reason == TStopReason::RunError ? stop.Message : std::string();
  return vmtest::Capture(machine, console, error);
}

TEST(DebuggerRuns, ConformanceProgramsEndAsWithoutTheDebugger) {
  const std::filesystem::path dir = std::filesystem::path(ULVAN_SOURCE_DIR) / "tests" / "conformance";
  std::vector<std::filesystem::path> sources;
  for (const auto &entry : std::filesystem::directory_iterator(dir))
    if (entry.path().extension() == ".pas") sources.push_back(entry.path());
  std::sort(sources.begin(), sources.end());
  const struct {
    const char *name;
    TStopInfo (TUVDebugger::*command)();
  } ways[] = {{"continue", &TUVDebugger::Continue},
              {"step", &TUVDebugger::StepInto},
              {"stepi", &TUVDebugger::StepInstruction}};
  int compared = 0;
  for (const auto &source : sources) {
    SCOPED_TRACE(source.filename().string());
    TUVParser parser;
    if (!parser.Compile(source.string())) continue;
    std::filesystem::path inPath = source;
    inPath.replace_extension(".in");
    const std::string input = std::filesystem::exists(inPath) ? ReadAll(inPath) : std::string();
    vmtest::TOutcome plain = vmtest::RunFast(parser.GetProgram(), input, false);
    if (!plain.Error.empty()) plain.Error = ErrorBoxText(plain.Error);
    for (const auto &way : ways) {
      SCOPED_TRACE(way.name);
      vmtest::ExpectSameEnd(Debugged(parser.GetProgram(), input, way.command), plain);
    }
    ++compared;
  }
  EXPECT_GT(compared, 50);
}

}  // namespace
