// Build-time generator of the superinstructions: reads their declarations
// (Superinstructions.def) and the instruction semantics (Semantics.inc) and writes
//   FusedKinds.inc     X(kind, length, "declaration") for each kind, in declaration order
//   FusedPatterns.inc  the matcher's table: opcodes and fixed operands of each kind
//   FusedBodies.inc    each kind's body: the bodies of its instructions one after the other
//
//   GenerateFused DEF SEMANTICS OUTDIR
//
// A composed body is its instructions' own code with three things bound per instruction: OPND
// (its slot, or a constant where the declaration fixes the operand), VM_CURPC (its index) and
// VM_NEXT (the next instruction's code; after the last one, the slot after the sequence).
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Opcodes.h"
#include "RegisterForm.h"

namespace {

struct TStep {
  std::string Op;  // opcode name without "oc"
  bool Fixed = false;
  long Value = 0;
};

struct TKind {
  std::string Name;
  std::vector<TStep> Steps;
  std::string Text;
  std::size_t Split = 0;  // with "->": the steps before it; the rest are at the jump's target
};

[[noreturn]] void Fail(const std::string &what) {
  std::cerr << "GenerateFused: " << what << "\n";
  std::exit(1);
}

std::map<std::string, int> OpcodeIndex() {
  std::map<std::string, int> index;
  int i = 0;
#define ULVAN_NAME(e, name, kind) index[std::string(#e).substr(2)] = i++;
  ULVAN_OPCODES(ULVAN_NAME)
#undef ULVAN_NAME
  return index;
}

std::vector<std::string> Words(const std::string &line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// Declarations: "class NAME = OP OP ...", "shape NAME = STEP STEP ..." or "NAME STEP STEP ...",
// where a step is OP, OP=VALUE, {CLASS} or <SHAPE> (the shape's steps); a kind with a class
// expands into one kind per member, named NAME_MEMBER (OP=VALUE: NAME_OPVALUE). A member may be
// several steps joined by ':' (OP=VALUE:OP=VALUE), named by all of them.
std::vector<TKind> ReadDeclarations(const std::string &path, const std::map<std::string, int> &opcodes) {
  std::ifstream in(path);
  if (!in) Fail("cannot read " + path);
  std::map<std::string, std::vector<std::string>> classes, shapes;
  std::vector<TKind> kinds;
  std::map<std::string, bool> seen;
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> w;
    for (const std::string &word : Words(line.substr(0, line.find('#')))) {
      if (word.front() != '<') {
        w.push_back(word);
        continue;
      }
      const auto shape = shapes.find(word.substr(1, word.size() - 2));
      if (shape == shapes.end()) Fail("unknown shape " + word);
      w.insert(w.end(), shape->second.begin(), shape->second.end());
    }
    if (w.empty()) continue;
    if (w[0] == "class" || w[0] == "shape") {
      if (w.size() < 4 || w[2] != "=") Fail("bad " + w[0] + ": " + line);
      (w[0] == "class" ? classes : shapes)[w[1]].assign(w.begin() + 3, w.end());
      continue;
    }
    std::vector<TKind> expanded{TKind{w[0], {}, {}}};
    for (std::size_t i = 1; i < w.size(); ++i) {
      if (w[i] == "->") {
        for (TKind &k : expanded) {
          if (k.Steps.empty() || (k.Steps.back().Op != "Jump" && k.Steps.back().Op != "JifF"))
            Fail("\"->\" must follow a Jump or JifF: " + line);
          k.Split = k.Steps.size();
          k.Text += " ->";
        }
        continue;
      }
      std::vector<std::string> choices{w[i]};
      std::string suffix;
      if (w[i].front() == '{') {
        const std::string cls = w[i].substr(1, w[i].size() - 2);
        if (!classes.count(cls)) Fail("unknown class " + cls);
        choices = classes[cls];
      }
      std::vector<TKind> next;
      for (const TKind &k : expanded)
        for (const std::string &c : choices) {
          TKind e = k;
          if (choices.size() > 1) e.Name += "_";
          // A member may be several steps joined by ':'.
          for (std::size_t from = 0; from <= c.size();) {
            const std::size_t to = std::min(c.find(':', from), c.size());
            const std::string part = c.substr(from, to - from);
            from = to + 1;
            TStep s;
            const std::size_t eq = part.find('=');
            s.Op = part.substr(0, eq);
            if (eq != std::string::npos) {
              s.Fixed = true;
              s.Value = std::stol(part.substr(eq + 1));
            }
            if (!opcodes.count(s.Op)) Fail("unknown opcode " + s.Op + " in: " + line);
            if (choices.size() > 1) e.Name += s.Op + (s.Fixed ? std::to_string(s.Value) : "");
            e.Text += (e.Text.empty() ? "" : " ") + part;
            e.Steps.push_back(s);
          }
          next.push_back(e);
        }
      expanded = std::move(next);
    }
    for (const TKind &k : expanded) {
      if (k.Steps.size() < 2) Fail("a superinstruction needs two instructions: " + line);
      // A second declaration of a sequence would never be chosen.
      if (seen[k.Name] || seen[" " + k.Text]) Fail("declared twice: " + k.Name + " (" + k.Text + ")");
      seen[k.Name] = seen[" " + k.Text] = true;
      kinds.push_back(k);
    }
  }
  return kinds;
}

// The code of each opcode in Semantics.inc: the text from "VM_OP(ocX)" to the next one.
std::map<std::string, std::string> ReadBodies(const std::string &path) {
  std::ifstream in(path);
  if (!in) Fail("cannot read " + path);
  std::map<std::string, std::string> bodies;
  std::string current;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("VM_OP(oc", 0) == 0) {
      const std::size_t close = line.find(')');
      current = line.substr(8, close - 8);
      bodies[current] = line.substr(close + 1) + "\n";
    } else if (!current.empty() && line.rfind("//", 0) != 0) {
      bodies[current] += line + "\n";
    }
  }
  return bodies;
}

void Write(const std::string &path, const std::string &text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out) Fail("cannot write " + path);
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 4) Fail("usage: GenerateFused DEF SEMANTICS OUTDIR");
  const auto opcodes = OpcodeIndex();
  const std::vector<TKind> kinds = ReadDeclarations(argv[1], opcodes);
  const auto bodies = ReadBodies(argv[2]);
  const std::string dir = argv[3];
  const std::string banner = "// Generated by GenerateFused from Superinstructions.def; do not edit.\n";

  std::string list = banner, table = banner, code = banner;
  for (const TKind &k : kinds) {
    const std::string e = "fx" + k.Name;
    const std::string n = std::to_string(k.Steps.size());
    list += "X(" + e + ", " + n + ", \"" + k.Text + "\")\n";
    std::string ops, fixed, values;
    for (const TStep &s : k.Steps) {
      ops += "oc" + s.Op + ", ";
      fixed += s.Fixed ? "1, " : "0, ";
      values += std::to_string(s.Value) + ", ";
    }
    table += "{" + e + ", " + n + ", " + std::to_string(k.Split) + ", {" + ops + "}, {" + fixed + "}, {" + values + "}},\n";

    std::vector<gen::TFormStep> form, target;
    for (std::size_t i = 0; i < k.Steps.size(); ++i)
      (k.Split && i >= k.Split ? target : form).push_back({k.Steps[i].Op, k.Steps[i].Fixed, k.Steps[i].Value});
    if (const auto fast = gen::RegisterBody(e, form, target)) {
      code += *fast;
      continue;
    }
    if (k.Split) Fail("a kind with \"->\" needs a register form: " + k.Text);
    code += "VM_FUSED(" + e + ") {\n";
    for (std::size_t i = 0; i < k.Steps.size(); ++i) {
      const TStep &s = k.Steps[i];
      const auto body = bodies.find(s.Op);
      if (body == bodies.end()) Fail("no code for opcode " + s.Op);
      const std::string at = std::to_string(i);
      if (i > 0) code += e + "_" + at + ":\n";
      code += s.Fixed ? "#define OPND (uvm::TFixedOperand<" + std::to_string(s.Value) + ">{})\n"
                      : "#define OPND ins[" + at + "]\n";
      code += "#define VM_CURPC VM_CURPC_AT(" + at + ")\n";
      code += i + 1 < k.Steps.size() ? "#define VM_NEXT goto " + e + "_" + std::to_string(i + 1) + "\n"
                                     : "#define VM_NEXT VM_SKIP(" + n + ")\n";
      code += "  {" + body->second + "  }\n#undef OPND\n#undef VM_CURPC\n#undef VM_NEXT\n";
    }
    code += "}\n";
  }
  Write(dir + "/FusedKinds.inc", list);
  Write(dir + "/FusedPatterns.inc", table);
  Write(dir + "/FusedBodies.inc", code);
  return 0;
}
