// The compiler as the editor window and ulvan-run see it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Program.h"

class IParser {
 public:
  virtual ~IParser() = default;
  // Compiles the source file; true when no Error was reported.
  virtual bool Compile(const std::string &fileName) = 0;
  // The program of the last compile, also after a failed one.
  virtual IProgramRef GetProgram() = 0;
  // The diagnostic lines of the last compile, in the order reported.
  virtual const std::vector<std::string> &GetErrors() const = 0;
};

using IParserRef = std::shared_ptr<IParser>;

// A new compiler (a TUVParser).
IParserRef NewParser();
