// The debugger's values: variables of a frame and the globals by name, their one-line texts,
// children on demand, and designators evaluated in a frame's scope.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>

#include "Debugger.h"
#include "DebuggerImpl.h"
#include "FloatToStr.h"
#include "StoreAccess.h"

namespace {

constexpr std::int32_t ElementsShown = 100;
constexpr std::size_t TextBudget = 2000;  // a value's text stops growing after about this much

bool InStore(std::int64_t address, std::int64_t size) {
  return address >= 0 && size >= 0 && address + size <= TUVCInterpreter::StoreSize;
}

std::string Upper(std::string s) {
  for (char &c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool SameName(const std::string &a, const std::string &b) { return Upper(a) == Upper(b); }

// Where a value lies: its address and type.
struct TPlace {
  std::int32_t Address = -1;
  std::int32_t Type = -1;
  bool VarParameter = false;
};

class TValueText {
 public:
  TValueText(const TDebugInfo &info, const std::uint8_t *store) : Info(info), S(store) {}

  std::string Of(std::int32_t address, std::int32_t type) {
    std::string out;
    Append(out, address, type);
    return out;
  }

 private:
  void Append(std::string &out, std::int32_t a, std::int32_t type) {
    const TDebugType *t = Info.Type(type);
    if (!t || !InStore(a, t->Size)) {
      out += '?';
      return;
    }
    switch (t->Kind) {
      case TDebugTypeKind::Integer: out += IntToStr(uvm::LoadInt(S + a)); return;
      case TDebugTypeKind::Real: out += FloatToStr(uvm::LoadReal(S + a)); return;
      case TDebugTypeKind::Boolean: out += S[a] != 0 ? "TRUE" : "FALSE"; return;
      case TDebugTypeKind::String: {
        out += '\'';
        for (std::int32_t k = 0; k < S[a]; ++k) {
          const char c = static_cast<char>(S[a + 1 + k]);
          out += c;
          if (c == '\'') out += '\'';
        }
        out += '\'';
        return;
      }
      case TDebugTypeKind::Pointer: {
        const std::int32_t v = uvm::LoadInt(S + a);
        out += v == 0 ? std::string("NIL") : "^" + IntToStr(v);
        return;
      }
      case TDebugTypeKind::Record: {
        out += '(';
        for (std::size_t k = 0; k < t->Fields.size(); ++k) {
          if (k > 0) out += "; ";
          if (out.size() > TextBudget) {
            out += "...";
            break;
          }
          out += t->Fields[k].Name + ": ";
          Append(out, a + t->Fields[k].Offset, t->Fields[k].Type);
        }
        out += ')';
        return;
      }
      case TDebugTypeKind::Array: {
        const TDebugType *e = Info.Type(t->Element);
        const std::int64_t n = static_cast<std::int64_t>(t->High) - t->Low + 1;
        out += '[';
        for (std::int64_t k = 0; k < n && e; ++k) {
          if (k > 0) out += ", ";
          if (k == ElementsShown || out.size() > TextBudget) {
            out += "..., " + std::to_string(n - k) + " more";
            break;
          }
          Append(out, static_cast<std::int32_t>(a + k * e->Size), t->Element);
        }
        out += ']';
        return;
      }
      case TDebugTypeKind::Unknown: break;
    }
    out += '?';
  }

  const TDebugInfo &Info;
  const std::uint8_t *S;
};

// A designator's tokens: names, integers, and the characters [ ] , . ^
struct TToken {
  enum { Name, Number, Symbol, End, Bad } Kind = End;
  std::string Text;
};

class TDesignatorLexer {
 public:
  explicit TDesignatorLexer(const std::string &text) : Text(text) { Next(); }
  const TToken &Current() const { return Cur; }
  void Next() {
    while (Pos < Text.size() && std::isspace(static_cast<unsigned char>(Text[Pos]))) ++Pos;
    Cur = TToken{};
    if (Pos >= Text.size()) return;
    const char c = Text[Pos];
    const std::size_t start = Pos;
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      while (Pos < Text.size() && (std::isalnum(static_cast<unsigned char>(Text[Pos])) || Text[Pos] == '_')) ++Pos;
      Cur = {TToken::Name, Text.substr(start, Pos - start)};
    } else if (std::isdigit(static_cast<unsigned char>(c)) || (c == '-' && Pos + 1 < Text.size() &&
                                                                std::isdigit(static_cast<unsigned char>(Text[Pos + 1])))) {
      ++Pos;
      while (Pos < Text.size() && std::isdigit(static_cast<unsigned char>(Text[Pos]))) ++Pos;
      Cur = {TToken::Number, Text.substr(start, Pos - start)};
    } else if (std::strchr("[],.^", c) != nullptr) {
      ++Pos;
      Cur = {TToken::Symbol, std::string(1, c)};
    } else {
      ++Pos;
      Cur = {TToken::Bad, std::string(1, c)};
    }
  }

 private:
  const std::string &Text;
  std::size_t Pos = 0;
  TToken Cur;
};

}  // namespace

// Evaluation of designators in the scope of one frame.
class TDesignatorEvaluator {
 public:
  TDesignatorEvaluator(const TDebugInfo &info, const std::uint8_t *store, std::int32_t routine, std::int32_t mp)
      : Info(info), S(store), Routine(routine), MP(mp) {}

  // The place of a whole designator, or an error message.
  std::optional<TPlace> Evaluate(const std::string &text, std::string &error) {
    TDesignatorLexer lex(text);
    std::optional<TPlace> place = Designator(lex, error);
    if (place && lex.Current().Kind != TToken::End) {
      error = "Unexpected " + lex.Current().Text + " in " + text;
      return std::nullopt;
    }
    return place;
  }

  // A variable by name, searched from the frame's routine outwards along the static links.
  std::optional<TPlace> Variable(const std::string &name) const {
    std::int32_t r = Routine, mp = MP;
    while (r >= 0 && r < static_cast<std::int32_t>(Info.Routines.size())) {
      const TDebugRoutine &routine = Info.Routines[static_cast<std::size_t>(r)];
      for (const TDebugVariable &v : routine.Variables)
        if (SameName(v.Name, name) || (v.Name == "Result" && SameName(routine.Name, name)))
          return PlaceOf(v, mp);
      if (routine.Parent < 0 || !InStore(mp, 4)) break;
      mp = uvm::LoadInt(S + mp);  // the static link
      r = routine.Parent;
    }
    return std::nullopt;
  }

  TPlace PlaceOf(const TDebugVariable &v, std::int32_t mp) const {
    TPlace p;
    p.Type = v.Type;
    p.Address = mp + v.Offset;
    if (!v.ByValue) {
      p.VarParameter = true;
      p.Address = InStore(p.Address, 4) ? uvm::LoadInt(S + p.Address) : -1;
    }
    return p;
  }

 private:
  std::optional<TPlace> Designator(TDesignatorLexer &lex, std::string &error) {
    if (lex.Current().Kind != TToken::Name) {
      error = lex.Current().Kind == TToken::End ? "Name expected" : "Name expected at " + lex.Current().Text;
      return std::nullopt;
    }
    std::string shown = lex.Current().Text;
    std::optional<TPlace> place = Variable(shown);
    if (!place) {
      error = "Unknown variable: " + shown;
      return std::nullopt;
    }
    lex.Next();
    for (;;) {
      const TToken &t = lex.Current();
      if (t.Kind != TToken::Symbol || t.Text == "]" || t.Text == ",") return place;
      const TDebugType *type = Info.Type(place->Type);
      if (!type) {
        error = "Unknown type of " + shown;
        return std::nullopt;
      }
      if (t.Text == "^") {
        if (type->Kind != TDebugTypeKind::Pointer) return Fail(error, shown + " is not a pointer");
        if (!InStore(place->Address, 4)) return Fail(error, shown + " lies outside the store");
        const std::int32_t target = uvm::LoadInt(S + place->Address);
        if (target == 0) return Fail(error, shown + " is NIL");
        if (type->Target < 0) return Fail(error, shown + " is an untyped pointer");
        *place = TPlace{target, type->Target, false};
        shown += "^";
        lex.Next();
      } else if (t.Text == ".") {
        if (type->Kind != TDebugTypeKind::Record) return Fail(error, shown + " is not a record");
        lex.Next();
        if (lex.Current().Kind != TToken::Name) return Fail(error, "Field name expected after " + shown + ".");
        const std::string field = lex.Current().Text;
        const auto it = std::find_if(type->Fields.begin(), type->Fields.end(),
                                     [&](const TDebugField &f) { return SameName(f.Name, field); });
        if (it == type->Fields.end()) return Fail(error, "No field " + field + " in " + shown);
        *place = TPlace{place->Address + it->Offset, it->Type, false};
        shown += "." + field;
        lex.Next();
      } else {  // "[" index {, index} "]"
        lex.Next();
        for (;;) {
          const TDebugType *arr = Info.Type(place->Type);
          if (!arr || arr->Kind != TDebugTypeKind::Array) return Fail(error, shown + " is not an array");
          std::int64_t index = 0;
          if (!Index(lex, index, error)) return std::nullopt;
          if (index < arr->Low || index > arr->High)
            return Fail(error, "Index " + std::to_string(index) + " out of " + std::to_string(arr->Low) + ".." +
                                   std::to_string(arr->High));
          const TDebugType *element = Info.Type(arr->Element);
          const std::int32_t size = element ? element->Size : 0;
          *place = TPlace{static_cast<std::int32_t>(place->Address + (index - arr->Low) * size), arr->Element, false};
          shown += "[" + std::to_string(index) + "]";
          if (lex.Current().Kind == TToken::Symbol && lex.Current().Text == ",") {
            lex.Next();
            continue;
          }
          if (lex.Current().Kind == TToken::Symbol && lex.Current().Text == "]") {
            lex.Next();
            break;
          }
          return Fail(error, "] expected after the index of " + shown);
        }
      }
    }
  }

  // An index: an integer, or a designator of an Integer.
  bool Index(TDesignatorLexer &lex, std::int64_t &value, std::string &error) {
    if (lex.Current().Kind == TToken::Number) {
      value = std::strtoll(lex.Current().Text.c_str(), nullptr, 10);
      lex.Next();
      return true;
    }
    std::optional<TPlace> p = Designator(lex, error);
    if (!p) return false;
    const TDebugType *t = Info.Type(p->Type);
    if (!t || t->Kind != TDebugTypeKind::Integer) {
      error = "An index must be an Integer";
      return false;
    }
    if (!InStore(p->Address, 4)) {
      error = "An index lies outside the store";
      return false;
    }
    value = uvm::LoadInt(S + p->Address);
    return true;
  }

  static std::optional<TPlace> Fail(std::string &error, std::string message) {
    error = std::move(message);
    return std::nullopt;
  }

  const TDebugInfo &Info;
  const std::uint8_t *S;
  std::int32_t Routine;
  std::int32_t MP;
};

namespace {

// The node of a value at a place.
TValueNode MakeNode(const TDebugInfo &info, const std::uint8_t *store, const std::vector<std::uint8_t> *before,
                    std::string name, const TPlace &place) {
  TValueNode node;
  node.Name = std::move(name);
  node.TypeName = info.TypeName(place.Type);
  node.Address = place.Address;
  node.Type = place.Type;
  node.VarParameter = place.VarParameter;
  node.Value = TValueText(info, store).Of(place.Address, place.Type);
  const TDebugType *t = info.Type(place.Type);
  if (!t || !InStore(place.Address, t->Size)) return node;
  if (before && static_cast<std::size_t>(place.Address) + static_cast<std::size_t>(t->Size) <= before->size())
    node.Changed = std::memcmp(before->data() + place.Address, store + place.Address,
                               static_cast<std::size_t>(t->Size)) != 0;
  switch (t->Kind) {
    case TDebugTypeKind::Record: node.ChildCount = static_cast<std::int32_t>(t->Fields.size()); break;
    case TDebugTypeKind::Array: node.ChildCount = std::max(0, t->High - t->Low + 1); break;
    case TDebugTypeKind::Pointer:
      node.ChildCount = t->Target >= 0 && uvm::LoadInt(store + place.Address) != 0 ? 1 : 0;
      break;
    default: break;
  }
  node.HasChildren = node.ChildCount > 0;
  return node;
}

}  // namespace

std::vector<TValueNode> TUVDebugger::FrameVariables(std::int32_t frame, bool parameters) const {
  std::vector<TValueNode> nodes;
  const std::vector<TStackFrame> frames = CallStack();
  if (frame < 0 || frame >= static_cast<std::int32_t>(frames.size())) return nodes;
  const TStackFrame &f = frames[static_cast<std::size_t>(frame)];
  const TDebugInfo &info = Impl->Program->DebugInfo();
  if (f.RoutineIndex < 0 || f.RoutineIndex == info.MainRoutine()) return nodes;
  const TDesignatorEvaluator eval(info, Machine_.GetStore(), f.RoutineIndex, f.MP);
  for (const TDebugVariable &v : info.Routines[static_cast<std::size_t>(f.RoutineIndex)].Variables)
    if (v.Parameter == parameters)
      nodes.push_back(MakeNode(info, Machine_.GetStore(), Impl->Previous(Machine_), v.Name,
                               eval.PlaceOf(v, f.MP)));
  return nodes;
}

std::vector<TValueNode> TUVDebugger::Parameters(std::int32_t frame) const { return FrameVariables(frame, true); }
std::vector<TValueNode> TUVDebugger::Locals(std::int32_t frame) const { return FrameVariables(frame, false); }

std::vector<TValueNode> TUVDebugger::Globals() const {
  std::vector<TValueNode> nodes;
  if (!Impl->Program) return nodes;
  const TDebugInfo &info = Impl->Program->DebugInfo();
  const std::int32_t main = info.MainRoutine();
  if (main < 0) return nodes;
  const TDesignatorEvaluator eval(info, Machine_.GetStore(), main, 0);
  for (const TDebugVariable &v : info.Routines[static_cast<std::size_t>(main)].Variables)
    nodes.push_back(MakeNode(info, Machine_.GetStore(), Impl->Previous(Machine_), v.Name,
                             eval.PlaceOf(v, 0)));
  return nodes;
}

std::vector<TValueNode> TUVDebugger::Children(const TValueNode &node, std::int32_t first, std::int32_t count) const {
  std::vector<TValueNode> nodes;
  if (!Impl->Program) return nodes;
  const TDebugInfo &info = Impl->Program->DebugInfo();
  const TDebugType *t = info.Type(node.Type);
  const std::uint8_t *store = Machine_.GetStore();
  const std::vector<std::uint8_t> *before = Impl->Previous(Machine_);
  if (!t || !InStore(node.Address, t->Size)) return nodes;
  switch (t->Kind) {
    case TDebugTypeKind::Record:
      for (const TDebugField &f : t->Fields)
        nodes.push_back(MakeNode(info, store, before, node.Name + "." + f.Name,
                                 TPlace{node.Address + f.Offset, f.Type, false}));
      break;
    case TDebugTypeKind::Array: {
      const TDebugType *e = info.Type(t->Element);
      const std::int64_t n = static_cast<std::int64_t>(t->High) - t->Low + 1;
      const std::int64_t from = std::max<std::int64_t>(0, first);
      const std::int64_t to = count < 0 ? n : std::min<std::int64_t>(n, from + count);
      for (std::int64_t k = from; k < to && e; ++k)
        nodes.push_back(MakeNode(info, store, before, node.Name + "[" + std::to_string(t->Low + k) + "]",
                                 TPlace{static_cast<std::int32_t>(node.Address + k * e->Size), t->Element, false}));
      break;
    }
    case TDebugTypeKind::Pointer: {
      const std::int32_t target = uvm::LoadInt(store + node.Address);
      if (target != 0 && t->Target >= 0)
        nodes.push_back(MakeNode(info, store, before, node.Name + "^", TPlace{target, t->Target, false}));
      break;
    }
    default: break;
  }
  return nodes;
}

TEvaluation TUVDebugger::Evaluate(const std::string &designator, std::int32_t frame) const {
  TEvaluation result;
  std::vector<TStackFrame> frames = CallStack();
  if (frames.empty() && Impl->Program) {
    // After the end: the program's own variables stay readable.
    frames.push_back(TStackFrame{});
    frames.back().RoutineIndex = Impl->Program->DebugInfo().MainRoutine();
  }
  if (frame < 0 || frame >= static_cast<std::int32_t>(frames.size())) {
    result.Error = "No frame " + std::to_string(frame);
    return result;
  }
  const TStackFrame &f = frames[static_cast<std::size_t>(frame)];
  const TDebugInfo &info = Impl->Program->DebugInfo();
  TDesignatorEvaluator eval(info, Machine_.GetStore(), f.RoutineIndex, f.MP);
  const std::optional<TPlace> place = eval.Evaluate(designator, result.Error);
  if (!place) return result;
  std::string name = designator;
  name.erase(0, name.find_first_not_of(" \t"));
  name.erase(name.find_last_not_of(" \t") + 1);
  result.Node = MakeNode(info, Machine_.GetStore(), Impl->Previous(Machine_), name, *place);
  result.Ok = true;
  return result;
}
