// Fuzz target of compiler and machine together: the input chooses a valid program
// (ProgramGenerator), which must compile without an Error, compile to the same code a second
// time, be listed, and run for a bounded time ending normally or with a known run-time error.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "IParser.h"
#include "ProgramGenerator.h"
#include "Random.h"

namespace {

std::string Listing(const IProgram &program) {
  std::string text;
  TInstruction instr;
  for (std::int32_t k = 0; k < program.GetCount(); ++k) {
    program.GetInstruction(k, instr);
    text += std::to_string(instr.Opcode) + ":" + std::to_string(instr.IntValue) + ";";
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static fuzz::TScratchFile source(".pas");
  static fuzz::TScratchFile listing(".uvc");
  const std::string text = fuzz::GenerateProgram(data, size);
  fuzz::WriteFileOrDie(source.Path, reinterpret_cast<const std::uint8_t *>(text.data()), text.size());

  IParserRef parser = NewParser();
  if (!parser->Compile(source.Path)) {
    std::string diagnostics;
    for (const std::string &d : parser->GetErrors()) diagnostics += d + "\n";
    fuzz::Fail("a generated program did not compile:\n" + text + "\n" + diagnostics);
  }
  IProgramRef program = parser->GetProgram();
  IParserRef again = NewParser();
  if (!again->Compile(source.Path) || Listing(*again->GetProgram()) != Listing(*program))
    fuzz::Fail("two compiles of the same source differ");
  program->WriteListing(listing.Path);

  fuzz::RunBothWays(program, "12\n-7\nabc\n2.5\nxyz\n", false, 20000, 1);
  return 0;
}
