// The register form of a superinstruction. The generator runs the sequence on a symbolic stack:
// a value pushed inside the body is a local; a value that was on the stack before the body is
// loaded from the store where it is popped. Reads of the store (Deref) must lie wholly below the
// lowest stack byte the body touches, and a Sto's target too, so no read can see a write of the
// body; the body's stack writes (every byte each push or in-place update leaves, in order) then
// follow at the end, where they leave the store exactly as the instructions one by one do.
// Whatever the fast path cannot prove (room on the stack, an address outside those bounds, a
// Deref of another size) runs the first instruction on its own, with its exact checks and
// messages, and the rest from their own slots; nothing has changed by then. A sequence that goes
// on after a Sto or a JifF is a chain of such forms, each run when the one before falls through
// and falling back to its own first slot. With a target (the instructions at a final jump's
// target), the target's forms follow the jump in the same block, and fall back to dispatching the
// target's own slot.
#include "RegisterForm.h"

#include <set>
#include <string>

namespace gen {
namespace {

struct TValue {
  std::string Expr;  // a local's name, or empty: bytes an IncSP left as they were
  int Size = 4;      // 1 (a byte: Boolean), 4 (integer, address) or 8 (real)
};

struct TWrite {
  long Offset;  // first byte, relative to SP at the start
  int Size;
  std::string Expr;
};

const std::set<std::string> IntBinary = {"AddInt", "SubInt", "MulInt", "AndInt", "OrInt", "XorInt", "ShlInt", "ShrInt"};
const std::set<std::string> Compare = {"LTInt", "LEInt", "GTInt", "GEInt", "EQInt", "NEInt",
                                       "LTReal", "LEReal", "GTReal", "GEReal", "EQReal", "NEReal"};
const std::set<std::string> RealBinary = {"AddReal", "SubReal", "MulReal", "DivReal"};
const std::set<std::string> BoolBinary = {"AndBool", "OrBool", "XorBool", "EQBool", "NEBool"};

std::string U32(const std::string &e) { return "static_cast<std::uint32_t>(" + e + ")"; }

std::string IntBinaryExpr(const std::string &op, const std::string &a, const std::string &b) {
  const std::string ua = U32(a), ub = U32(b);
  if (op == "ShlInt") return "static_cast<std::int32_t>(" + ua + " << (" + ub + " & 31u))";
  if (op == "ShrInt") return "static_cast<std::int32_t>(" + ua + " >> (" + ub + " & 31u))";
  const char *sym = op == "AddInt" ? "+" : op == "SubInt" ? "-" : op == "MulInt" ? "*"
                  : op == "AndInt" ? "&" : op == "OrInt" ? "|" : "^";
  return "static_cast<std::int32_t>(" + ua + " " + sym + " " + ub + ")";
}

std::string Symbol(const std::string &op) {
  const std::string k = op.substr(0, 2);
  return k == "LT" ? "<" : k == "LE" ? "<=" : k == "GT" ? ">" : k == "GE" ? ">=" : k == "EQ" ? "==" : k == "NE" ? "!="
       : op == "AddReal" ? "+" : op == "SubReal" ? "-" : op == "MulReal" ? "*" : "/";
}

const char *TypeOf(int size) { return size == 1 ? "std::uint8_t" : size == 4 ? "std::int32_t" : "double"; }
std::string Byte(const std::string &cond) { return "static_cast<std::uint8_t>((" + cond + ") ? 0xFF : 0x00)"; }

std::string LoadOf(int size, const std::string &at) {
  return size == 1 ? "*(" + at + ")" : size == 4 ? "uvm::LoadInt(" + at + ")" : "uvm::LoadReal(" + at + ")";
}
std::string StoreOf(int size, const std::string &at, const std::string &v) {
  return size == 1 ? "*(" + at + ") = " + v + ";" : size == 4 ? "uvm::StoreInt(" + at + ", " + v + ");"
                                                              : "uvm::StoreReal(" + at + ", " + v + ");";
}

class TForm {
 public:
  // `first`: the index of the first step in the slot's sequence. `then`: the code that runs the
  // jump's target, after a last Jump or a taken last JifF has moved `ins` there (empty: the
  // target's slot is dispatched). `next`: the code that runs the steps after these when the
  // last one falls through (empty: the slot after them is dispatched).
  TForm(const std::vector<TFormStep> &steps, std::size_t first, std::string then, std::string next)
      : Steps(steps), First(first), Then(std::move(then)), Next(std::move(next)) {}

  // The body as a block that runs `slow` when the fast path cannot prove it may run.
  std::optional<std::string> Block(const std::string &slow) {
    // A first IncSP of any size moves where the body's stack starts; the room the body needs
    // there includes what the IncSP itself must find.
    const bool shift = Steps.front().Op == "IncSP" && !Steps.front().Fixed;
    for (std::size_t k = shift ? 1 : 0; k < Steps.size(); ++k)
      if (!Run(k)) return std::nullopt;
    std::string out = "{\n  const std::int64_t sp0 = sp" + (shift ? " + " + Operand(0) : std::string()) + ";\n";
    out += "  if (sp0 < " + std::to_string(Need - 1) + " || sp0 > TUVCInterpreter::StoreLimit - " +
           std::to_string(Grow) + ") " + slow + ";\n";
    out += "  [[maybe_unused]] const std::uint64_t low = static_cast<std::uint64_t>(sp0 + " +
           std::to_string(1 - Need) + ");\n";
    for (const std::string &line : Code) {
      std::string l = line;
      for (std::size_t at; (at = l.find("@FALLBACK")) != std::string::npos;) l.replace(at, 9, slow);
      out += "  " + l + "\n";
    }
    for (std::size_t i = 0; i < Writes.size(); ++i) {
      const TWrite &w = Writes[i];
      bool covered = false;  // by a later write: this one's bytes end as that one leaves them
      for (std::size_t j = i + 1; j < Writes.size(); ++j)
        covered = covered || (Writes[j].Offset <= w.Offset && Writes[j].Offset + Writes[j].Size >= w.Offset + w.Size);
      if (!covered) out += "  " + StoreOf(w.Size, "S + sp0 + " + std::to_string(w.Offset), w.Expr) + "\n";
    }
    if (!Stored.empty()) out += "  " + Stored + "\n";
    if (Mp != "mp") out += "  mp = " + Mp + ";\n";
    out += Tail.empty() ? "  sp = sp0 + " + std::to_string(Depth) + ";\n  " + FallThrough() : Tail;
    return out + "}\n";
  }

 private:
  const std::vector<TFormStep> &Steps;
  const std::size_t First;
  const std::string Then, Next;
  std::vector<TValue> Stack;
  std::vector<std::string> Code;
  std::vector<TWrite> Writes;
  std::string Tail;    // the end of a body that jumps
  std::string Stored;  // the store of a Sto, after the stack's writes
  std::string Mp = "mp";
  long Depth = 0, Need = 0, Grow = 0;
  int Locals = 0;

  std::string At(std::size_t k) const { return std::to_string(First + k); }
  std::string Operand(std::size_t k, const char *field = "I") const {
    return Steps[k].Fixed ? std::to_string(Steps[k].Value) : "ins[" + At(k) + "]." + field;
  }
  std::string FallThrough() const {
    return Next.empty() ? "VM_SKIP(" + At(Steps.size()) + ");\n" : Next;
  }
  std::string Local(int size, const std::string &expr) {
    std::string v = "v";
    v += std::to_string(Locals++);
    Code.push_back("[[maybe_unused]] const " + std::string(TypeOf(size)) + " " + v + " = " + expr + ";");
    return v;
  }
  void Fallback(const std::string &cond) { Code.push_back("if (" + cond + ") @FALLBACK;"); }
  // The stack must have room up to SP + d at the start.
  void Reach(long d) {
    if (d > Grow) Grow = d;
  }
  void Push(const std::string &expr, int size) {
    Writes.push_back({Depth + 1, size, expr});
    Stack.push_back({expr, size});
    Depth += size;
    Reach(Depth);
  }
  // The value on top, popped; one from before the body is loaded here.
  std::optional<std::string> Pop(int size) {
    Depth -= size;
    if (-Depth > Need) Need = -Depth;
    if (Stack.empty()) return Local(size, LoadOf(size, "S + sp0 + " + std::to_string(Depth + 1)));
    const TValue v = Stack.back();
    if (v.Size != size) return std::nullopt;
    Stack.pop_back();
    if (v.Expr.empty()) return Local(size, LoadOf(size, "S + sp0 + " + std::to_string(Depth + 1)));
    return v.Expr;
  }
  // The size of a Deref or Sto: fixed by the declaration, else 4 with other sizes left to the
  // instruction run on its own.
  int SizeOf(std::size_t k) {
    if (Steps[k].Fixed) return static_cast<int>(Steps[k].Value);
    Fallback(Operand(k) + " != 4");
    return 4;
  }
  // A block at address a of n bytes lies below everything the body writes on the stack.
  void Below(const std::string &a, int n) {
    Fallback("static_cast<std::uint64_t>(" + U32(a) + ") + " + std::to_string(n) + " > low");
  }
  void Jump(std::size_t k, const std::string &cond) {
    Tail = "  sp = sp0 + " + std::to_string(Depth) + ";\n#define VM_CURPC VM_CURPC_AT(" + At(k) + ")\n";
    const bool last = k + 1 == Steps.size();
    const std::string jump = last && !Then.empty() ? "{\n  VM_JUMP_TO(" + Operand(k) + ");\n#undef VM_CURPC\n" + Then + "}\n"
                                                   : "VM_JUMP(" + Operand(k) + ");\n";
    Tail += cond.empty() ? "  " + jump : "  if (" + cond + ") " + jump + "  " + FallThrough();
    Tail += "#undef VM_CURPC\n";
  }

  // After a Sto only a Jump or Ret may follow; a jump ends the body.
  bool Run(std::size_t k) {
    const TFormStep &s = Steps[k];
    const std::string &op = s.Op;
    if (!Tail.empty() || (!Stored.empty() && op != "Jump" && op != "Ret")) return false;
    if (op == "PushMP") {
      Push(Local(4, Mp), 4);
    } else if (op == "PushInt") {
      Push(Local(4, Operand(k)), 4);
    } else if (op == "PushBool") {
      Push(Local(1, Byte(Operand(k, "B") + " != 0")), 1);
    } else if (op == "PushPC") {
      Push(Local(4, "static_cast<std::int32_t>(" + U32("VM_CURPC_AT(" + At(k) + ")") + " + " + U32(Operand(k)) + ")"), 4);
    } else if (op == "IncSP" && s.Fixed && s.Value > 0) {
      Stack.push_back({"", static_cast<int>(s.Value)});
      Depth += s.Value;
      Reach(Depth);
    } else if (op == "IncSP" && s.Fixed && s.Value < 0) {
      for (long left = -s.Value; left > 0;) {  // whole values only
        const int size = Stack.empty() ? (left >= 8 ? 8 : left >= 4 ? 4 : 1) : Stack.back().Size;
        if (size > left || !Pop(size)) return false;
        left -= size;
      }
    } else if (op == "IncInt") {
      const auto a = Pop(4);
      if (!a) return false;
      Push(Local(4, IntBinaryExpr("AddInt", *a, Operand(k))), 4);
    } else if (op == "Dup" && s.Fixed && (s.Value == 1 || s.Value == 4 || s.Value == 8)) {
      const int n = static_cast<int>(s.Value);
      const auto a = Pop(n);
      if (!a) return false;
      Push(*a, n);
      Push(*a, n);
      Reach(Depth + 1);
    } else if (op == "Deref") {
      const int n = SizeOf(k);
      if (n != 1 && n != 4 && n != 8) return false;
      const auto a = Pop(4);
      if (!a) return false;
      Below(*a, n);
      Push(Local(n, LoadOf(n, "S + " + U32(*a))), n);
      Reach(Depth + 1);  // a block move never reaches the store's last address
    } else if (op == "Sto") {
      const int n = SizeOf(k);
      if (n != 1 && n != 4 && n != 8) return false;
      Reach(Depth + 1);
      const auto v = Pop(n);
      if (!v) return false;
      const auto a = Pop(4);
      if (!a) return false;
      Below(*a, n);
      Stored = StoreOf(n, "S + " + U32(*a), *v);
    } else if (IntBinary.count(op) || op == "DivInt" || op == "ModInt") {
      const auto b = Pop(4);
      if (!b) return false;
      const auto a = Pop(4);
      if (!a) return false;
      if (op == "DivInt" || op == "ModInt") {
        Fallback(*b + " == 0");
        Push(Local(4, "uvm::" + op + "(" + *a + ", " + *b + ")"), 4);
      } else {
        Push(Local(4, IntBinaryExpr(op, *a, *b)), 4);
      }
    } else if (RealBinary.count(op)) {
      const auto b = Pop(8);
      if (!b) return false;
      const auto a = Pop(8);
      if (!a) return false;
      // A finite result of finite operands, and no division by zero, is never a fault.
      const std::string r = Local(8, *a + " " + Symbol(op) + " " + *b);
      Fallback("!std::isfinite(" + r + ")" + (op == "DivReal" ? " || " + *b + " == 0" : ""));
      Push(r, 8);
    } else if (op == "SwapIntReal") {
      const auto x = Pop(8);
      if (!x) return false;
      const auto i = Pop(4);
      if (!i) return false;
      Push(*x, 8);
      Push(*i, 4);
    } else if (op == "IntToReal") {
      const auto a = Pop(4);
      if (!a) return false;
      Push(Local(8, "static_cast<double>(" + *a + ")"), 8);
    } else if (Compare.count(op)) {
      const int n = op.find("Real") != std::string::npos ? 8 : 4;
      const auto b = Pop(n);
      if (!b) return false;
      const auto a = Pop(n);
      if (!a) return false;
      Push(Local(1, Byte(*a + " " + Symbol(op) + " " + *b)), 1);
    } else if ((op == "EQ" || op == "NE") && s.Fixed && s.Value == 4) {
      const auto b = Pop(4);
      if (!b) return false;
      const auto a = Pop(4);
      if (!a) return false;
      Push(Local(1, Byte(*a + " " + Symbol(op) + " " + *b)), 1);
    } else if (BoolBinary.count(op)) {
      const auto b = Pop(1);
      if (!b) return false;
      const auto a = Pop(1);
      if (!a) return false;
      const std::string x = "(" + *a + " != 0)", y = "(" + *b + " != 0)";
      const std::string e = op == "AndBool" ? x + " && " + y : op == "OrBool" ? x + " || " + y
                          : op == "EQBool" ? x + " == " + y : x + " != " + y;
      Push(Local(1, Byte(e)), 1);
    } else if (op == "NotBool") {
      const auto a = Pop(1);
      if (!a) return false;
      Push(Local(1, Byte(*a + " == 0")), 1);
    } else if (op == "SetMP") {
      Mp = Local(4, "static_cast<std::int32_t>(" + U32("sp0 + " + std::to_string(Depth)) + " - " + U32(Operand(k)) + ")");
    } else if (op == "JifF") {
      const auto b = Pop(1);
      if (!b) return false;
      Jump(k, *b + " == 0");
    } else if (op == "Jump") {
      Jump(k, "");
    } else if (op == "Ret") {
      // The frame lies below the stack's writes; a Sto before has been done by then.
      Fallback(U32(Mp) + " + 12ull > low");
      Tail = "  {\n    const std::int32_t frame = " + Mp + ";\n    const std::int32_t target = uvm::LoadInt(S + frame + 8);\n";
      Tail += "    mp = uvm::LoadInt(S + frame + 4);\n    sp = frame - 1;\n#define VM_CURPC VM_CURPC_AT(" + At(k) + ")\n";
      Tail += "    VM_JUMP(target);\n#undef VM_CURPC\n  }\n";
    } else {
      return false;
    }
    return true;
  }
};

// Steps as a chain of register forms: a new one after each Sto that more than a Jump or Ret
// follows and after each JifF that does not end them, run one after the other in the same block
// when each falls through. The first runs `slow` when its fast path cannot run; a later one
// dispatches its own first instruction's slot (what came before is done by then).
std::optional<std::string> Chain(const std::string &name, const std::vector<TFormStep> &steps,
                                 const std::string &then, const std::string &slow) {
  std::vector<std::size_t> starts{0};
  for (std::size_t k = 0; k + 1 < steps.size(); ++k)
    if ((steps[k].Op == "Sto" && steps[k + 1].Op != "Jump" && steps[k + 1].Op != "Ret") || steps[k].Op == "JifF")
      starts.push_back(k + 1);
  std::string next;
  for (std::size_t i = starts.size(); i-- > 0;) {
    const std::size_t begin = starts[i], end = i + 1 < starts.size() ? starts[i + 1] : steps.size();
    const std::vector<TFormStep> part(steps.begin() + static_cast<long>(begin), steps.begin() + static_cast<long>(end));
    const auto block = TForm(part, begin, i + 1 == starts.size() ? then : "", next)
                           .Block("VM_FALLBACK(" + name + ", " + (begin == 0 ? slow : "VM_SKIP(" + std::to_string(begin) + ")") + ")");
    if (!block) return std::nullopt;
    next = *block;
  }
  return next;
}

}  // namespace

std::optional<std::string> RegisterBody(const std::string &name, const std::vector<TFormStep> &steps,
                                        const std::vector<TFormStep> &target) {
  std::string then;
  if (!target.empty()) {
    // The target's own slot runs it when its fast path cannot: nothing of it has run by then.
    const auto block = Chain(name, target, "", "VM_DISPATCH()");
    if (!block) return std::nullopt;
    then = *block;
  }
  const auto block = Chain(name, steps, then, "VM_PLAIN(oc" + steps.front().Op + ")");
  if (!block) return std::nullopt;
  return "VM_FUSED(" + name + ") " + *block;
}

}  // namespace gen
