// Writes seed inputs for the fuzz targets (used by make-seeds):
//   fuzz_seeds machine OUTDIR FILE.pas...   each program compiled, in the machine fuzzer's format
//   fuzz_seeds roundtrip OUTDIR N           N choice sequences with the programs they generate
#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "IParser.h"
#include "MachineCode.h"
#include "ProgramGenerator.h"

namespace {

void WriteFile(const std::string &path, const std::string &bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string BaseName(const std::string &path) {
  std::string name = path.substr(path.find_last_of('/') + 1);
  return name.substr(0, name.rfind('.'));
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: fuzz_seeds machine OUTDIR FILE.pas... | roundtrip OUTDIR N\n");
    return 2;
  }
  const std::string mode = argv[1];
  const std::string dir = argv[2];
  if (mode == "machine") {
    for (int k = 3; k < argc; ++k) {
      IParserRef parser = NewParser();
      if (!parser->Compile(argv[k])) {
        std::fprintf(stderr, "skipped (does not compile): %s\n", argv[k]);
        continue;
      }
      WriteFile(dir + "/" + BaseName(argv[k]), fuzz::EncodeMachineCode(*parser->GetProgram(), 0));
    }
    return 0;
  }
  if (mode == "roundtrip") {
    std::mt19937 random(20261207);
    const int n = std::stoi(argv[3]);
    for (int k = 0; k < n; ++k) {
      std::string choices(static_cast<std::size_t>(64 + 64 * (k % 8)), '\0');
      for (char &c : choices) c = static_cast<char>(random() & 0xFF);
      WriteFile(dir + "/gen" + std::to_string(k), choices);
    }
    return 0;
  }
  std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
  return 2;
}
