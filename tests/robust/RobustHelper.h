// Helpers of the robustness tests: a scratch folder per test, compiling a file with the
// compiler, running ulvan-run with redirected streams.
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "IParser.h"

namespace robust {

namespace fs = std::filesystem;

inline std::string ReadFile(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct TCompiled {
  bool Ok = false;
  std::vector<std::string> Diagnostics;
  IProgramRef Program;
};

inline TCompiled CompileFile(const fs::path &path) {
  IParserRef parser = NewParser();
  TCompiled result;
  result.Ok = parser->Compile(path.string());
  result.Diagnostics = parser->GetErrors();
  result.Program = parser->GetProgram();
  return result;
}

struct TRun {
  int Status = -1;  // exit status, or -1 when ended by a signal
  std::string Out;
  std::string Err;
};

inline std::string Quoted(const fs::path &path) { return "'" + path.string() + "'"; }

// A fresh folder for each test, removed afterwards.
class ScratchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::path(::testing::TempDir()) /
          ("ulvan_robust_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Dir);
    fs::create_directories(Dir);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(Dir, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(Dir, ec);
  }

  fs::path Write(const std::string &name, const std::string &text) {
    const fs::path path = Dir / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  TCompiled Compile(const std::string &name, const std::string &text) { return CompileFile(Write(name, text)); }

  // Runs ulvan-run with the arguments (already quoted for the shell), stdin from `input`, under
  // `timeout` so that a hang fails the test instead of blocking it.
  TRun Run(const std::string &args, const std::string &input = "") {
    const fs::path in = Dir / "stdin.txt";
    std::ofstream(in, std::ios::binary) << input;
    const fs::path out = Dir / "stdout.txt";
    const fs::path err = Dir / "stderr.txt";
    const std::string command = std::string("timeout -s KILL 20 '") + ULVAN_RUN + "' " + args + " <" +
                                Quoted(in) + " >" + Quoted(out) + " 2>" + Quoted(err);
    const int raw = std::system(command.c_str());
    TRun run;
    run.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.Out = ReadFile(out);
    run.Err = ReadFile(err);
    return run;
  }

  fs::path Dir;
};

}  // namespace robust
