// The stack machine's instruction set: one table from which the opcode enumeration, the
// mnemonics, the operand kinds and the interpreter's dispatch table are all generated.
#pragma once

// X(enumerator, mnemonic, operand kind)
#define ULVAN_OPCODES(X)                   \
  X(ocIllegal, "???", okNone)              \
  X(ocInit, "Init", okNone)                \
  X(ocRet, "Ret", okNone)                  \
  X(ocIncSP, "IncSP", okInt)               \
  X(ocHalt, "Halt", okNone)                \
  X(ocSto, "Sto", okInt)                   \
  X(ocIntToReal, "IntToReal", okNone)      \
  X(ocSwapIntReal, "SwapIntReal", okNone)  \
  X(ocJump, "Jump", okInt)                 \
  X(ocJifF, "JifF", okInt)                 \
  X(ocSetMP, "SetMP", okInt)               \
  X(ocSwap, "Swap", okInt)                 \
  X(ocDup, "Dup", okInt)                   \
  X(ocDeref, "Deref", okInt)               \
  X(ocIncInt, "IncInt", okInt)             \
  X(ocPushMP, "PushMP", okNone)            \
  X(ocPushPC, "PushPC", okInt)             \
  X(ocPushInt, "PushInt", okInt)           \
  X(ocPushReal, "PushReal", okReal)        \
  X(ocPushBool, "PushBool", okBool)        \
  X(ocPushStr, "PushStr", okStr)           \
  X(ocLTInt, "LT Int", okNone)             \
  X(ocLEInt, "LE Int", okNone)             \
  X(ocGTInt, "GT Int", okNone)             \
  X(ocGEInt, "GE Int", okNone)             \
  X(ocEQInt, "EQ Int", okNone)             \
  X(ocNEInt, "NE Int", okNone)             \
  X(ocLTReal, "LT Real", okNone)           \
  X(ocLEReal, "LE Real", okNone)           \
  X(ocGTReal, "GT Real", okNone)           \
  X(ocGEReal, "GE Real", okNone)           \
  X(ocEQReal, "EQ Real", okNone)           \
  X(ocNEReal, "NE Real", okNone)           \
  X(ocLTStr, "LT Str", okNone)             \
  X(ocLEStr, "LE Str", okNone)             \
  X(ocGTStr, "GT Str", okNone)             \
  X(ocGEStr, "GE Str", okNone)             \
  X(ocEQStr, "EQ Str", okNone)             \
  X(ocNEStr, "NE Str", okNone)             \
  X(ocEQBool, "EQ Bool", okNone)           \
  X(ocNEBool, "NE Bool", okNone)           \
  X(ocEQ, "EQ", okInt)                     \
  X(ocNE, "NE", okInt)                     \
  X(ocNegInt, "Neg Int", okNone)           \
  X(ocAddInt, "Add Int", okNone)           \
  X(ocSubInt, "Sub Int", okNone)           \
  X(ocMulInt, "Mul Int", okNone)           \
  X(ocDivInt, "Div Int", okNone)           \
  X(ocAndInt, "And Int", okNone)           \
  X(ocOrInt, "Or Int", okNone)             \
  X(ocXorInt, "Xor Int", okNone)           \
  X(ocShlInt, "Shl Int", okNone)           \
  X(ocShrInt, "Shr Int", okNone)           \
  X(ocModInt, "Mod Int", okNone)           \
  X(ocNotInt, "Not Int", okNone)           \
  X(ocNegReal, "Neg Real", okNone)         \
  X(ocAddReal, "Add Real", okNone)         \
  X(ocSubReal, "Sub Real", okNone)         \
  X(ocMulReal, "Mul Real", okNone)         \
  X(ocDivReal, "Div Real", okNone)         \
  X(ocAddStr, "Add Str", okNone)           \
  X(ocAndBool, "And Bool", okNone)         \
  X(ocOrBool, "Or Bool", okNone)           \
  X(ocXorBool, "Xor Bool", okNone)         \
  X(ocNotBool, "Not Bool", okNone)         \
  X(ocSin, "Sin", okNone)                  \
  X(ocCos, "Cos", okNone)                  \
  X(ocArcTan, "ArcTan", okNone)            \
  X(ocIntToStr, "IntToStr", okNone)        \
  X(ocFloatToStr, "FloatToStr", okNone)    \
  X(ocRound, "Round", okNone)              \
  X(ocWrite, "Write", okNone)              \
  X(ocWriteLn, "WriteLn", okNone)          \
  X(ocReadLnInt, "ReadLn Int", okNone)     \
  X(ocReadLnReal, "ReadLn Real", okNone)   \
  X(ocReadLn, "ReadLn", okNone)            \
  X(ocRandom, "Random", okInt)             \
  X(ocOdd, "Odd", okInt)
