// Compiles a source text from a temporary file and gives back the diagnostics and the code as
// short readable lines ("PushInt 5", "IncInt -1", "PushStr 'a'"), for listing comparisons.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Errors.h"
#include "Interpreter.h"
#include "MemoryConsole.h"
#include "UVParser.h"

struct TCompiled {
  bool Ok = false;
  std::vector<std::string> Errors;
  std::vector<std::string> Code;
  IProgramRef Program;
};

inline std::string InstructionText(const TInstruction &instr) {
  std::string text = OpcodeNames[instr.Opcode];
  switch (OpcodeOperands[instr.Opcode]) {
    case okInt:
      text += " " + std::to_string(instr.IntValue);
      break;
    case okReal: {
      char buf[64];
      std::snprintf(buf, sizeof buf, " %.17g", instr.RealValue);
      text += buf;
      break;
    }
    case okBool: text += instr.BoolValue ? " True" : " False"; break;
    case okStr: text += " '" + instr.StrValue.Str() + "'"; break;
    case okNone: break;
  }
  return text;
}

inline std::vector<std::string> CodeOf(const IProgram &program) {
  std::vector<std::string> code;
  TInstruction instr;
  for (std::int32_t i = 0; i < program.GetCount(); ++i) {
    program.GetInstruction(i, instr);
    code.push_back(InstructionText(instr));
  }
  return code;
}

// Writes `source` to a fresh file named `name` in the test's temporary folder.
inline std::string WriteSource(const std::string &source, const std::string &name = "t.pas") {
  static int counter = 0;
  const std::string dir = ::testing::TempDir() + "ulvan_" + std::to_string(::getpid()) + "_" +
                          std::to_string(++counter);
  std::filesystem::create_directories(dir);
  const std::string path = dir + "/" + name;
  std::ofstream(path, std::ios::binary) << source;
  return path;
}

inline TCompiled CompileSource(const std::string &source, const std::string &name = "t.pas") {
  TUVParser parser;
  TCompiled result;
  result.Ok = parser.Compile(WriteSource(source, name));
  result.Errors = parser.GetErrors();
  result.Program = parser.GetProgram();
  result.Code = CodeOf(*result.Program);
  return result;
}

// The code of a main program body: everything after Init and the IncSP of the globals,
// without the final Ret.
inline std::vector<std::string> BodyCode(const TCompiled &c) {
  std::vector<std::string> code = c.Code;
  if (!code.empty() && code.front() == "Init") code.erase(code.begin());
  if (!code.empty() && code.front().rfind("IncSP ", 0) == 0) code.erase(code.begin());
  if (!code.empty() && code.back() == "Ret") code.pop_back();
  return code;
}

// Output of a run (or the run-time error's message) of a program that must compile, with
// `input` as piped console input.
struct TRun {
  std::string Output;
  std::string Error;
};

inline TRun RunProgram(const std::string &source, const std::string &input = "") {
  const TCompiled compiled = CompileSource(source);
  EXPECT_TRUE(compiled.Ok) << ::testing::PrintToString(compiled.Errors);
  TMemoryConsole console(input, false);
  TUVCInterpreter machine(&console);
  machine.LoadProgram(compiled.Program);
  TRun run;
  try {
    machine.Run();
  } catch (const ERunError &e) {
    run.Error = e.what();
  }
  run.Output = console.Output;
  return run;
}
