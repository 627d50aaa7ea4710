#include "Instruction.h"

const char *const OpcodeNames[OpcodeCount] = {
#define ULVAN_NAME(e, name, kind) name,
    ULVAN_OPCODES(ULVAN_NAME)
#undef ULVAN_NAME
};

const TOperandKind OpcodeOperands[OpcodeCount] = {
#define ULVAN_KIND(e, name, kind) kind,
    ULVAN_OPCODES(ULVAN_KIND)
#undef ULVAN_KIND
};

#define ULVAN_COUNT(e, name, kind) +1
static_assert(0 ULVAN_OPCODES(ULVAN_COUNT) == OpcodeCount, "the opcode table has 78 entries");
#undef ULVAN_COUNT
static_assert(ocOdd == 77 && ocEQ == 41 && ocModInt == 53 && ocPushStr == 20);
