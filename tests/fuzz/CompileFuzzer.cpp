// Fuzz target of the compiler: any bytes as a source file. Compile must return with well-formed
// diagnostics, a bounded number per source line, and no exception; a program that compiled is
// listed and run for a bounded time.
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "IParser.h"

namespace {

// "[Severity] name(line): message" -> line, or -1 when the line is not in this form.
std::int64_t DiagnosticLine(const std::string &d, const std::string &name, bool &isError) {
  static const char *const Heads[] = {"[Hint] ", "[Warning] ", "[Error] "};
  for (int k = 0; k < 3; ++k) {
    const std::string head = std::string(Heads[k]) + name + "(";
    if (d.compare(0, head.size(), head) != 0) continue;
    std::size_t i = head.size();
    std::int64_t line = 0;
    const std::size_t digits = i;
    while (i < d.size() && d[i] >= '0' && d[i] <= '9' && line < (1LL << 40)) line = line * 10 + (d[i++] - '0');
    if (i == digits || d.compare(i, 3, "): ") != 0 || d.size() == i + 3) return -1;
    isError = k == 2;
    return line;
  }
  return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static fuzz::TScratchFile source(".pas");
  fuzz::WriteFileOrDie(source.Path, data, size);

  IParserRef parser = NewParser();
  bool compiled = false;
  try {
    compiled = parser->Compile(source.Path);
  } catch (const std::exception &e) {
    fuzz::Fail(std::string("exception out of Compile: ") + e.what());
  }

  // Lines of the source: CR, LF and CR LF each end one.
  std::map<std::int64_t, std::size_t> lineBytes;
  std::int64_t line = 1;
  for (std::size_t i = 0; i < size; ++i) {
    ++lineBytes[line];
    if (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n') continue;
    if (data[i] == '\r' || data[i] == '\n') ++line;
  }
  const std::string name = source.Path.substr(source.Path.rfind('/') + 1);
  std::map<std::int64_t, std::size_t> perLine;
  bool anyError = false;
  for (const std::string &d : parser->GetErrors()) {
    bool isError = false;
    const std::int64_t at = DiagnosticLine(d, name, isError);
    if (at < 1 || at > line) fuzz::Fail("malformed diagnostic or line out of range: " + d);
    anyError = anyError || isError;
    // Every diagnostic needs at least one character of its line (or the line end) to stand on.
    if (++perLine[at] > lineBytes[at] + 2) fuzz::Fail("too many diagnostics on one line: " + d);
  }
  if (compiled == anyError) fuzz::Fail("Compile's answer does not match the diagnostics");

  IProgramRef program = parser->GetProgram();
  if (!program) fuzz::Fail("no program after Compile");
  try {
    program->WriteListing("/dev/null");
  } catch (const std::exception &e) {
    fuzz::Fail(std::string("listing: ") + e.what());
  }
  if (!compiled) return 0;

  fuzz::RunBothWays(program, "12\n-7\nabc\n2.5\n", false, 5000, 1);
  return 0;
}
