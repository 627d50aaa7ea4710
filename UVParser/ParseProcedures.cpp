// Procedure and function declarations (headings, parameters, FORWARD, bodies) and the call
// sequence of declared routines:
//   [IncSP result] PushMP {Deref 4} PushMP PushPC d <arguments> SetMP (params + 11) Jump entry
// The frame: static link at 0, dynamic link at 4, return index at 8, parameters from 12, a
// function result just below the frame.
#include <algorithm>
#include <cstdint>
#include <set>

#include "UVParser.h"

namespace {

// Appends a parameter chain to the end of another.
void AppendParameters(TParmDescriptor *&list, TParmDescriptor *more) {
  TParmDescriptor **tail = &list;
  while (*tail) tail = &(*tail)->Next;
  *tail = more;
}

}  // namespace

// declaration -> (PROCEDURE | FUNCTION) heading [: type] ; (FORWARD | block)
void TUVParser::ParseProcedureDeclaration(TTokenSet set) {
  TNestingGuard guard(*this);  // nested declarations recurse through ParseBlock
  bool isFunction = false;
  if (Kind() == tkFUNCTION) {
    isFunction = true;
  } else if (Kind() != tkPROCEDURE) {
    Report(svError, ekSyntaxError, "PROCEDURE or FUNCTION expected");
    return;
  }
  Advance();

  TProcedureDescriptor *proc = ParseProcedureHeading(set);
  SkipTo(set + TTokenSet{tkSemicolon, tkColon, tkLABEL, tkCONST, tkTYPE, tkVAR, tkBEGIN,
                         tkPROCEDURE, tkFUNCTION, tkFORWARD});
  if (!proc) {
    Report(svError, ekSyntaxError, "Syntax error in function declaration");
    return;
  }
  if (isFunction) {
    Expect(tkColon);
    TTypeDescriptor *resultType = ParseTypeIdentifier(set);
    if (!resultType) {
      Report(svError, ekSyntaxError, "Incorrect type declaration");
      SymbolTable->FreeProcedure(proc);
      return;
    }
    proc->ReturnType = resultType;
  }
  Expect(tkSemicolon);

  TProcedureDescriptor *earlier = nullptr;
  if (SymbolTable->FindProcedure(proc->Name, earlier) &&
      earlier->Level == SymbolTable->GetScopeDepth()) {
    if (SymbolTable->GetLabelAddress(earlier->EntryLabel) != -1) {
      Report(svError, ekIdentifierRedeclared, "Identifier redeclared: '" + proc->Name + "'");
      SymbolTable->FreeProcedure(proc);
      return;
    }
    // The body of a routine declared FORWARD: calls already jump to its entry label.
    const bool same = TUSymbolTable::SameHeading(earlier, proc);
    SymbolTable->FreeProcedure(proc);
    if (!same) {
      Report(svError, ekTokenSkipped, "Previous declaration differs from the new one");
      return;
    }
    proc = earlier;
  } else {
    if (!SymbolTable->DeclareProcedure(proc))
      Report(svError, ekIdentifierRedeclared, "Identifier redeclared: '" + proc->Name + "'");
    proc->EntryLabel = SymbolTable->NewLabel();
  }

  if (CheckParameterNames(proc->Parameters, isFunction))
    Report(svError, ekSyntaxError, "Invalid procedure declaration");

  if (Kind() == tkFORWARD) {
    Advance();
    return;
  }
  const std::int32_t entry = Here();
  SymbolTable->SetLabelAddress(proc->EntryLabel, entry);
  SymbolTable->OpenProcedureScope(proc);
  ParseBlock(set);
  SymbolTable->CloseScope();
  EmitOp(ocRet);
  Program->Statements().AddRoutine(proc->Name, entry, Here());
  NoteDebugRoutine(proc->Name, proc->Level + 1, entry, Here());
}

// heading -> ident [( parameters )]
TProcedureDescriptor *TUVParser::ParseProcedureHeading(TTokenSet set) {
  SkipTo(set + tkIdentifier);
  if (Kind() != tkIdentifier) {
    Report(svError, ekSyntaxError, "Identifier expected");
    return nullptr;
  }
  TProcedureDescriptor *proc = SymbolTable->NewProcedure(Token().Text);
  proc->EntryLabel = -1;
  proc->IsBuiltIn = false;
  proc->ReturnType = nullptr;
  proc->Parameters = nullptr;
  proc->ParamSize = 0;
  proc->Level = SymbolTable->GetScopeDepth();
  Advance();
  if (Kind() == tkLParen) ParseFormalParameters(set, proc);
  return proc;
}

// parameters -> ( [group {; group}] )
void TUVParser::ParseFormalParameters(TTokenSet set, TProcedureDescriptor *proc) {
  Expect(tkLParen);
  if (Kind() != tkRParen) {
    AppendParameters(proc->Parameters, ParseParameterGroup(set));
    while (Kind() == tkSemicolon) {
      Expect(tkSemicolon);
      AppendParameters(proc->Parameters, ParseParameterGroup(set));
    }
  }
  SkipTo(set + tkRParen);
  Expect(tkRParen);

  // Summed in 64 bits and held at the largest Integer, like every size of the symbol table:
  // parameters of huge types must not overflow (such a call ends in "Store overflow").
  std::int64_t size = 0;
  for (const TParmDescriptor *p = proc->Parameters; p; p = p->Next)
    if (p->ParmType) size += p->ByValue ? p->ParmType->Size : 4;
  proc->ParamSize = static_cast<std::int32_t>(std::min<std::int64_t>(size, INT32_MAX));
}

// group -> [VAR] names : type
TParmDescriptor *TUVParser::ParseParameterGroup(TTokenSet set) {
  bool byValue = true;
  if (Kind() == tkVAR) {
    Advance();
    byValue = false;
  }
  TParmDescriptor *group = ParseParameterNames(set);
  for (TParmDescriptor *p = group; p; p = p->Next) p->ByValue = byValue;
  return group;
}

// names -> ident {, ident} : type-identifier
TParmDescriptor *TUVParser::ParseParameterNames(TTokenSet set) {
  SkipTo(set + tkIdentifier);
  if (Kind() != tkIdentifier) {
    Report(svError, ekSyntaxError, "Syntax error in parameter declaration");
    return nullptr;
  }
  std::vector<std::string> names{Spelled(Token().Text)};
  Advance();
  while (Kind() == tkComma) {
    Expect(tkComma);
    SkipTo(set + TTokenSet{tkColon, tkIdentifier});
    if (Kind() != tkIdentifier) {
      Report(svError, ekSyntaxError, "Syntax error in parameter declaration");
      break;
    }
    names.push_back(Spelled(Token().Text));
    Advance();
  }
  SkipTo(set + TTokenSet{tkColon, tkIdentifier});
  Expect(tkColon);
  TTypeDescriptor *type = ParseTypeIdentifier(set);
  if (!type) {
    Report(svError, ekSyntaxError, "Type identifier expected");
    return nullptr;
  }
  TParmDescriptor *first = nullptr;
  TParmDescriptor **tail = &first;
  for (const std::string &name : names) {
    *tail = SymbolTable->NewParameter(TUSymbolTable::UpperCase(name), type, true);
    tail = &(*tail)->Next;
  }
  return first;
}

// True when two parameters share a name, or a function has a parameter called RESULT.
bool TUVParser::CheckParameterNames(const TParmDescriptor *parms, bool isFunction) {
  std::set<std::string> seen;
  for (const TParmDescriptor *p = parms; p; p = p->Next) {
    if (isFunction && p->Name == "RESULT") return true;
    if (!seen.insert(p->Name).second) return true;
  }
  return false;
}

// call -> ident [( [actual {, actual}] )]
TValueDescriptor TUVParser::CallProcedure(TTokenSet, std::int32_t &resultSize) {
  resultSize = 0;
  TValueDescriptor result;
  if (Kind() != tkIdentifier) {
    Report(svError, ekSyntaxError, "Identifier expected");
    return result;
  }
  const std::string name = Token().Text;
  TProcedureDescriptor *proc = nullptr;
  if (!SymbolTable->FindProcedure(name, proc)) {
    if (!ParseTypeConversion(resultSize, result))
      Report(svError, ekUndeclaredIdentifier, "Undeclared identifier: '" + name + "'");
    return result;
  }
  if (proc->IsBuiltIn) return CallBuiltIn(proc, resultSize);
  Advance();

  if (proc->ReturnType) {
    resultSize = proc->ReturnType->Size;
    EmitInt(ocIncSP, resultSize);
    result.ValueType = proc->ReturnType;
  }
  // Static link: the frame of the scope that declares the routine, found along the links.
  const std::int32_t levels = SymbolTable->GetScopeDepth() - proc->Level;
  EmitOp(ocPushMP);
  for (std::int32_t i = 0; i < levels; ++i) EmitInt(ocDeref, 4);
  EmitOp(ocPushMP);  // dynamic link
  const std::int32_t returnAddress = Here();
  EmitInt(ocPushPC, 0);  // patched below

  const TParmDescriptor *formal = proc->Parameters;
  if (Kind() == tkLParen) {
    Expect(tkLParen);
    if (Kind() != tkRParen) {
      ParseActualParameter(formal);
      while (Kind() == tkComma) {
        Expect(tkComma);
        ParseActualParameter(formal);
      }
    }
    Expect(tkRParen);
  }
  if (formal)
    Report(svError, ekIncorrectType, "The numbers of actual and formal parameters differ");

  EmitInt(ocSetMP, Low32(std::int64_t{proc->ParamSize} + 11));
  EmitInt(ocJump, proc->EntryLabel);
  TInstruction pushPC;
  Program->GetInstruction(returnAddress, pushPC);
  pushPC.IntValue = Here() - returnAddress;
  Program->SetInstruction(returnAddress, pushPC);
  return result;
}

// One actual parameter against the formal under the cursor; moves the cursor on.
TValueDescriptor TUVParser::ParseActualParameter(const TParmDescriptor *&formal) {
  TValueDescriptor result;
  if (!formal) {
    Report(svError, ekIncorrectType, "The numbers of actual and formal parameters differ");
    // Skip the surplus arguments up to the parenthesis that closes the call.
    int depth = 0;
    while (Kind() != tkEOF && !(Kind() == tkRParen && depth == 0)) {
      if (Kind() == tkLParen) ++depth;
      if (Kind() == tkRParen) --depth;
      Advance();
    }
    return result;
  }

  if (!formal->ByValue) {
    TTypeDescriptor *type = ParseDesignator();
    if (!TUSymbolTable::SameType(type, formal->ParmType))
      Report(svError, ekIncorrectType, "Types of formal and actual var parameters must be equal");
    result.ValueType = type;
  } else {
    const std::int32_t mark = Here();
    result = ParseExpression();
    if (!TUSymbolTable::SameType(result.ValueType, formal->ParmType)) {
      TTypeDescriptor *actual = ResolveType(result.ValueType);
      TTypeDescriptor *wanted = ResolveType(formal->ParmType);
      if (IsKind(actual, tyInteger) && IsKind(wanted, tyReal)) {
        Report(svHint, ekAutomaticTypeConversion, "Converting Integer to Real");
        EmitOp(ocIntToReal);
        result.ValueType = formal->ParmType;
        if (result.IsConstant) {
          result.RealValue = static_cast<double>(result.IntValue);
          Truncate(mark);
          EmitReal(ocPushReal, result.RealValue);
        }
      } else if (actual && wanted && actual->Size == wanted->Size) {
        Report(svWarning, ekIncorrectType, "Types of formal and actual parameters differ");
      } else {
        Report(svError, ekIncorrectType, "Types of formal and actual parameters differ");
      }
    }
  }
  formal = formal->Next;
  return result;
}
