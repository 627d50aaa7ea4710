// The program store: the instructions of one compiled program, its two names, its statement
// table and its debug information.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "DebugInfo.h"
#include "Instruction.h"
#include "StatementTable.h"

class IProgram {
 public:
  virtual ~IProgram() = default;
  virtual std::int32_t GetCount() const = 0;
  // Out of range: only Opcode and Line of `out` are set (to 0); its operand is left alone.
  virtual void GetInstruction(std::int32_t index, TInstruction &out) const = 0;
  virtual void SetInstruction(std::int32_t index, const TInstruction &instr) = 0;
  virtual void Clear() = 0;
  virtual void AddInstruction(const TInstruction &instr) = 0;
  virtual void SetCount(std::int32_t n) = 0;
  virtual void SetProgramName(const std::string &name) = 0;
  virtual std::string GetProgramName() const = 0;
  virtual void SetSourceFileName(const std::string &name) = 0;
  virtual std::string GetSourceFileName() const = 0;
  // Writes the listing file; throws EInOutError on the first failure.
  virtual void WriteListing(const std::string &fileName) const = 0;
  // Statement lines and routine ranges; follows SetCount and Clear.
  virtual TStatementTable &Statements() = 0;
  virtual const TStatementTable &Statements() const = 0;
  // Routines, frames, globals and types for debuggers; follows SetCount and Clear.
  virtual TDebugInfo &DebugInfo() = 0;
  virtual const TDebugInfo &DebugInfo() const = 0;
};

using IProgramRef = std::shared_ptr<IProgram>;

class TUVCProgram final : public IProgram {
 public:
  static constexpr std::int32_t InitialCapacity = 1000;
  static constexpr std::int32_t GrowthStep = 500;

  TUVCProgram();

  std::int32_t GetCount() const override { return Count; }
  void GetInstruction(std::int32_t index, TInstruction &out) const override;
  void SetInstruction(std::int32_t index, const TInstruction &instr) override;
  void Clear() override;
  void AddInstruction(const TInstruction &instr) override;
  void SetCount(std::int32_t n) override;
  void SetProgramName(const std::string &name) override { ProgramName = name; }
  std::string GetProgramName() const override { return ProgramName; }
  void SetSourceFileName(const std::string &name) override { SourceFileName = name; }
  std::string GetSourceFileName() const override { return SourceFileName; }
  void WriteListing(const std::string &fileName) const override;
  TStatementTable &Statements() override { return StatementTableValue; }
  const TStatementTable &Statements() const override { return StatementTableValue; }
  TDebugInfo &DebugInfo() override { return DebugInfoValue; }
  const TDebugInfo &DebugInfo() const override { return DebugInfoValue; }

  // Number of entries the store accounts for (1000, 1500, 2000 ...).
  std::int32_t GetCapacity() const { return Capacity; }
  // Direct read access for the interpreter's decoder: Count valid entries.
  const TInstruction *Data() const { return Items.data(); }

 private:
  std::string SourceFileName;
  std::string ProgramName;
  std::int32_t Count = 0;
  // The capacity in steps of 500; the memory behind it grows geometrically, so appending stays
  // linear in the program's size.
  std::int32_t Capacity = 0;
  std::vector<TInstruction> Items;
  TStatementTable StatementTableValue;
  TDebugInfo DebugInfoValue;
};

// One instruction as the listing writes it after its index: "PushInt\t5", "Ret".
std::string ListingText(const TInstruction &ins);

inline IProgramRef NewProgram() { return std::make_shared<TUVCProgram>(); }
