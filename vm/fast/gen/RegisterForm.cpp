// The register form of a superinstruction. The generator runs the sequence on a symbolic stack:
// a value pushed inside the body is a local; a value that was on the stack before the body is
// loaded from the store where it is popped. Reads of the store (Deref) must lie wholly below the
// lowest stack byte the body touches, and a Sto's target too, so no read can see a write of the
// body; the body's stack writes (every byte each push or in-place update leaves, in order) then
// follow at the end, where they leave the store exactly as the instructions one by one do.
// Whatever the fast path cannot prove (room on the stack, an address outside those bounds, a
// Deref of another size) sends the slot to the composed body, which follows at NAME_slow and
// runs the instructions' own code with their exact checks and messages; nothing has changed by
// then.
#include "RegisterForm.h"

#include <set>

namespace gen {
namespace {

struct TValue {
  std::string Expr;  // a local's name or a load of the store
  int Size = 4;      // 4 (integer) or 1 (Boolean)
};

struct TWrite {
  long Offset;  // first byte, relative to SP at the start
  int Size;
  std::string Expr;
};

const std::set<std::string> IntBinary = {"AddInt", "SubInt", "MulInt", "AndInt", "OrInt", "XorInt"};
const std::set<std::string> IntCompare = {"LTInt", "LEInt", "GTInt", "GEInt", "EQInt", "NEInt"};

std::string BinaryExpr(const std::string &op, const std::string &a, const std::string &b) {
  const std::string ua = "static_cast<std::uint32_t>(" + a + ")", ub = "static_cast<std::uint32_t>(" + b + ")";
  const char *sym = op == "AddInt" ? "+" : op == "SubInt" ? "-" : op == "MulInt" ? "*"
                  : op == "AndInt" ? "&" : op == "OrInt" ? "|" : "^";
  return "static_cast<std::int32_t>(" + ua + " " + sym + " " + ub + ")";
}

std::string CompareSym(const std::string &op) {
  return op == "LTInt" ? "<" : op == "LEInt" ? "<=" : op == "GTInt" ? ">" : op == "GEInt" ? ">=" : op == "EQInt" ? "==" : "!=";
}

class TForm {
 public:
  explicit TForm(const std::vector<TFormStep> &steps) : Steps(steps) {}

  std::optional<std::string> Body(const std::string &name) {
    for (std::size_t k = 0; k < Steps.size(); ++k)
      if (!Run(k)) return std::nullopt;
    const std::string slow = "goto " + name + "_slow";
    std::string out = "VM_FUSED(" + name + ") {\n  const std::int64_t sp0 = sp;\n";
    out += "  if (sp0 < " + std::to_string(Need - 1) + " || sp0 > TUVCInterpreter::StoreLimit - " +
           std::to_string(Grow) + ") " + slow + ";\n";
    out += "  [[maybe_unused]] const std::uint64_t low = static_cast<std::uint64_t>(sp0 + " +
           std::to_string(1 - Need) + ");\n";
    for (const std::string &line : Code) {
      std::string l = line;
      for (std::size_t at; (at = l.find("@FALLBACK")) != std::string::npos;)
        l.replace(at, 9, slow);
      out += "  " + l + "\n";
    }
    for (std::size_t i = 0; i < Writes.size(); ++i) {
      const TWrite &w = Writes[i];
      bool covered = false;  // by a later write: this one's bytes end as that one leaves them
      for (std::size_t j = i + 1; j < Writes.size(); ++j)
        covered = covered || (Writes[j].Offset <= w.Offset && Writes[j].Offset + Writes[j].Size >= w.Offset + w.Size);
      if (covered) continue;
      const std::string at = "S + sp0 + " + std::to_string(w.Offset);
      out += w.Size == 4 ? "  uvm::StoreInt(" + at + ", " + w.Expr + ");\n"
                         : "  *(" + at + ") = " + w.Expr + " ? 0xFF : 0x00;\n";
    }
    out += Tail;
    if (!Ended) out += "  sp = sp0 + " + std::to_string(Depth) + ";\n  VM_SKIP(" + std::to_string(Steps.size()) + ");\n";
    return out + "}\n" + name + "_slow: {\n";
  }

 private:
  const std::vector<TFormStep> &Steps;
  std::vector<TValue> Stack;
  std::vector<std::string> Code;
  std::vector<TWrite> Writes;
  std::string Tail;
  long Depth = 0, Need = 0, Grow = 0;
  int Locals = 0;
  std::string StoTarget, StoValue;  // the Sto's address and value
  bool Ended = false, Stored = false;

  std::string Operand(std::size_t k) const {
    return Steps[k].Fixed ? std::to_string(Steps[k].Value) : "ins[" + std::to_string(k) + "].I";
  }
  std::string Local(const std::string &type, const std::string &expr) {
    const std::string v = "v" + std::to_string(Locals++);
    Code.push_back("const " + type + " " + v + " = " + expr + ";");
    return v;
  }
  void Push(const std::string &expr, int size) {
    Writes.push_back({Depth + 1, size, expr});
    Stack.push_back({expr, size});
    Depth += size;
    Reach(Depth);
  }
  // The stack must have room up to SP + d at the start.
  void Reach(long d) {
    if (d > Grow) Grow = d;
  }
  // The value on top, popped; one from before the body is loaded here.
  std::optional<std::string> Pop(int size) {
    Depth -= size;
    if (-Depth > Need) Need = -Depth;
    if (Stack.empty()) {
      const std::string at = "S + sp0 + " + std::to_string(Depth + 1);
      return Local(size == 4 ? "std::int32_t" : "bool", size == 4 ? "uvm::LoadInt(" + at + ")" : "*(" + at + ") != 0");
    }
    const TValue v = Stack.back();
    if (v.Size != size) return std::nullopt;
    Stack.pop_back();
    return v.Expr;
  }
  // Only a Jump may follow a Sto or end the body with a jump.
  bool Run(std::size_t k) {
    const TFormStep &s = Steps[k];
    if (Ended || (Stored && s.Op != "Jump")) return false;
    const std::string pc = "VM_CURPC_AT(" + std::to_string(k) + ")";
    if (s.Op == "PushMP") {
      Push(Local("std::int32_t", "mp"), 4);
    } else if (s.Op == "PushInt") {
      Push(Local("std::int32_t", Operand(k)), 4);
    } else if (s.Op == "IncInt") {
      const auto a = Pop(4);
      if (!a) return false;
      Push(Local("std::int32_t", BinaryExpr("AddInt", *a, Operand(k))), 4);
    } else if (s.Op == "Deref" && (!s.Fixed || s.Value == 4)) {
      const auto a = Pop(4);
      if (!a) return false;
      if (!s.Fixed) Code.push_back("if (" + Operand(k) + " != 4) @FALLBACK;");
      Code.push_back("if (static_cast<std::uint64_t>(static_cast<std::uint32_t>(" + *a + ")) + 4 > low) @FALLBACK;");
      Push(Local("std::int32_t", "uvm::LoadInt(S + static_cast<std::uint32_t>(" + *a + "))"), 4);
      Reach(Depth + 1);  // a block move never reaches the store's last address
    } else if (IntBinary.count(s.Op) || IntCompare.count(s.Op)) {
      const auto b = Pop(4);
      if (!b) return false;
      const auto a = Pop(4);
      if (!a) return false;
      if (IntBinary.count(s.Op))
        Push(Local("std::int32_t", BinaryExpr(s.Op, *a, *b)), 4);
      else
        Push(Local("bool", *a + " " + CompareSym(s.Op) + " " + *b), 1);
    } else if (s.Op == "Sto" && s.Fixed && s.Value == 4) {
      Reach(Depth + 1);
      const auto v = Pop(4);
      if (!v) return false;
      const auto a = Pop(4);
      if (!a) return false;
      Code.push_back("if (static_cast<std::uint64_t>(static_cast<std::uint32_t>(" + *a + ")) + 4 > low) @FALLBACK;");
      StoTarget = *a;
      StoValue = *v;
      Stored = true;
    } else if (s.Op == "JifF" || s.Op == "Jump") {
      std::string cond;
      if (s.Op == "JifF") {
        const auto b = Pop(1);
        if (!b) return false;
        cond = *b;
      }
      Ended = true;
      Tail = StoLine() + "  sp = sp0 + " + std::to_string(Depth) + ";\n#define VM_CURPC " + pc + "\n";
      Tail += s.Op == "Jump" ? "  VM_JUMP(" + Operand(k) + ");\n"
                             : "  if (!" + cond + ") VM_JUMP(" + Operand(k) + ");\n  VM_SKIP(" +
                                   std::to_string(Steps.size()) + ");\n";
      Tail += "#undef VM_CURPC\n";
    } else {
      return false;
    }
    if (k + 1 == Steps.size() && !Ended) Tail = StoLine();
    return true;
  }
  std::string StoLine() const {
    return Stored ? "  uvm::StoreInt(S + static_cast<std::uint32_t>(" + StoTarget + "), " + StoValue + ");\n" : "";
  }
};

}  // namespace

std::optional<std::string> RegisterBody(const std::string &name, const std::vector<TFormStep> &steps) {
  TForm form(steps);
  return form.Body(name);
}

}  // namespace gen
